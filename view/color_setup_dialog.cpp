#include "view/color_setup_dialog.h"

#include "config/dialog_buttons_widget.h"
#include "view/display_color_painter.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct TSheet {
    const char* Title;
    TColorSet TKavCfg::*Set;
    const char* PanelPrefix;
};

const TSheet SheetTable[TColorSetupForm::SheetCount] = {
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Монитор"), &TKavCfg::DisplayColors, ""},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Принтер"), &TKavCfg::PrinterColors, "P"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Файл BMP"), &TKavCfg::BMPColors, "B"},
};

struct TRow {
    const char* Label;
    TColorValue TColorSet::*Colour;
    const char* Panel;
};

// Every colour of a set but Grid.
const TRow Rows[TColorSetupForm::RowCount] = {
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Фон............................................."),
     &TColorSet::BackGround, "BackGround"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Окантовка.................................."),
     &TColorSet::Border, "Border"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Основной график......................"),
     &TColorSet::Graph, "Graph"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Дополнительный график........."), &TColorSet::AddGraph,
     "Graph2"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Текст.........................................."),
     &TColorSet::Text, "Text"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Второй канал АЦП...................."), &TColorSet::ADC2,
     "ADC2"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Визир1......................................."),
     &TColorSet::Visir1, "Visir1"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Визир2......................................."),
     &TColorSet::Visir2, "Visir2"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Аппроксимация..........................."),
     &TColorSet::FitGraph, "FitGraph"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Остаток аппроксимации............"),
     &TColorSet::FitResidual, "FitResidual"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Спектр сравнения....................."),
     &TColorSet::RefGraph, "RefGraph"},
    {QT_TRANSLATE_NOOP("TColorSetupForm", "Разность со спектром сравнения"), &TColorSet::DiffGraph,
     "DiffGraph"},
};

} // namespace

TColorSetupForm::TColorSetupForm(TKavCfg& cfg, TMessagePort& port, QWidget* parent)
    : QDialog(parent), Cfg(cfg), Port(port) {
    setObjectName(QStringLiteral("TColorSetupForm"));
    setWindowTitle(tr("Настройка цветов"));
    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("PageControl"));
    for (int sheet = 0; sheet < SheetCount; ++sheet)
        Tabs->addTab(BuildSheet(sheet), tr(SheetTable[sheet].Title));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabs);
    const TDialogButtons buttons = AddCancelOkRow(this, layout);
    Ok = buttons.Ok;
    Cancel = buttons.Cancel;
    connect(Ok, &QPushButton::clicked, this, &TColorSetupForm::OKBtnClick);
    FormShow();
    setFixedSize(sizeHint());
}

QWidget* TColorSetupForm::BuildSheet(int sheet) {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(6);
    const int side = fontMetrics().height() + 4;
    for (int row = 0; row < RowCount; ++row) {
        auto* label = new QLabel(tr(Rows[row].Label), page);
        auto* panel = new QFrame(page);
        panel->setObjectName(QString::fromLatin1(SheetTable[sheet].PanelPrefix) +
                             QString::fromLatin1(Rows[row].Panel));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedSize(3 * side, side);
        panel->setAutoFillBackground(true);
        panel->setCursor(Qt::PointingHandCursor);
        // Reached by Tab as well, and opened with Space or Enter.
        panel->setFocusPolicy(Qt::StrongFocus);
        panel->installEventFilter(this);
        label->setBuddy(panel);
        Panels[sheet][row] = panel;
        grid->addWidget(label, row, 0);
        grid->addWidget(panel, row, 1);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(RowCount, 1);
    return page;
}

void TColorSetupForm::FormShow() {
    for (int sheet = 0; sheet < SheetCount; ++sheet) {
        const TColorSet& set = Cfg.*SheetTable[sheet].Set;
        for (int row = 0; row < RowCount; ++row)
            SetPanelColor(sheet, row, set.*Rows[row].Colour);
    }
}

void TColorSetupForm::SetPanelColor(int sheet, int row, TColorValue colour) {
    Colors[sheet][row] = colour;
    QFrame* panel = Panels[sheet][row];
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    panel->setPalette(palette);
}

void TColorSetupForm::PanelClick(int sheet, int row) {
    if (const auto chosen = Port.ChooseColor(Colors[sheet][row]))
        SetPanelColor(sheet, row, *chosen);
}

bool TColorSetupForm::eventFilter(QObject* watched, QEvent* event) {
    // The panel that has the keyboard focus wears a plain thick frame.
    if (auto* panel = qobject_cast<QFrame*>(watched)) {
        if (event->type() == QEvent::FocusIn) {
            panel->setFrameStyle(QFrame::Box | QFrame::Plain);
            panel->setLineWidth(2);
        } else if (event->type() == QEvent::FocusOut) {
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            panel->setLineWidth(1);
        }
    }
    const bool click = event->type() == QEvent::MouseButtonRelease &&
                       static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    const bool key = event->type() == QEvent::KeyPress &&
                     (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space ||
                      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return);
    if (click || key) {
        for (int sheet = 0; sheet < SheetCount; ++sheet) {
            for (int row = 0; row < RowCount; ++row) {
                if (watched == Panels[sheet][row]) {
                    PanelClick(sheet, row);
                    return true;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TColorSetupForm::OKBtnClick() {
    for (int sheet = 0; sheet < SheetCount; ++sheet) {
        TColorSet& set = Cfg.*SheetTable[sheet].Set;
        for (int row = 0; row < RowCount; ++row)
            set.*Rows[row].Colour = Colors[sheet][row];
    }
    accept();
}
