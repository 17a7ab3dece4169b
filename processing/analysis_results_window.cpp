#include "processing/analysis_results_window.h"

#include "processing/analysis_texts.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TAnalysisResultsWindow::TAnalysisResultsWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TAnalysisResultsWindow"));
    Caption = new QLabel(this);
    Caption->setObjectName(QStringLiteral("ResultsCaption"));
    Caption->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Grid = new QTableWidget(0, 3, this);
    Grid->setObjectName(QStringLiteral("ResultsTable"));
    Grid->verticalHeader()->hide();
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Copy = new QPushButton(this);
    Copy->setObjectName(QStringLiteral("CopyBtn"));
    Close = new QPushButton(this);
    Close->setObjectName(QStringLiteral("CloseBtn"));
    connect(Copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(ClipboardText()); });
    connect(Close, &QPushButton::clicked, this, &QWidget::hide);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Copy);
    buttons->addWidget(Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Caption);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    Retranslate();
    resize(460, 360);
}

void TAnalysisResultsWindow::Retranslate() {
    setWindowTitle(AnalysisTexts::ResultsTitle());
    Grid->setHorizontalHeaderLabels({AnalysisTexts::ResultsName(), AnalysisTexts::ResultsValue(),
                                     AnalysisTexts::ResultsError()});
    Copy->setText(AnalysisTexts::ResultsCopy());
    Close->setText(AnalysisTexts::ResultsClose());
}

void TAnalysisResultsWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        Retranslate();
        emit LanguageChanged();
    }
}

void TAnalysisResultsWindow::ShowResults(const QStringList& header,
                                         const std::vector<TResultRow>& rows) {
    Header = header;
    Rows = rows;
    Caption->setText(header.join(u'\n'));
    Grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const TResultRow& row = rows[static_cast<std::size_t>(r)];
        const QString cells[] = {row.Name, row.Value, row.Error};
        for (int c = 0; c < 3; ++c)
            Grid->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (rows.empty())
        hide();
}

QString TAnalysisResultsWindow::ClipboardText() const {
    QString text;
    for (const QString& line : Header)
        text += line + u'\n';
    return text + ResultRowsAsTabText(Rows);
}
