#include "acquisition/adc_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

TADCForm::TADCForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TADCForm"));
    setFixedSize(ClientWidth, ClientHeight);
    Label = new QLabel(this);
    Label->setObjectName(QStringLiteral("ADCRes"));
    Label->setAlignment(Qt::AlignCenter);
    Label->setTextFormat(Qt::PlainText);
    QFont bold = Label->font();
    bold.setPointSize(16);
    bold.setBold(true);
    Label->setFont(bold);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Label);
    Retranslate();
}

void TADCForm::Retranslate() {
    setWindowTitle(tr("ВХОД  АЦП"));
    // The caption shown until the first reading.
    if (!HasReading)
        Label->setText(tr("Результат"));
}

void TADCForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

void TADCForm::SetReading(const QString& text) {
    HasReading = true;
    Label->setText(text);
}

QString TADCForm::Reading() const {
    return Label->text();
}

void TADCForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    emit Closed();
}
