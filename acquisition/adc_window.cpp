#include "acquisition/adc_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

TADCForm::TADCForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TADCForm"));
    setWindowTitle(QStringLiteral("ВХОД  АЦП"));
    setFixedSize(ClientWidth, ClientHeight);
    Label = new QLabel(QStringLiteral("Результат"), this);
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
}

void TADCForm::SetReading(const QString& text) {
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
