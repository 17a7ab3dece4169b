#include "acquisition/com_port_dialog.h"

#include "acquisition/com_port_setup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

QComboBox* EditableList(const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    return box;
}

} // namespace

TSetupCommForm::TSetupCommForm(const QString& portName, std::uint8_t baudRate,
                               const QStringList& devicePaths, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Name(portName), Baud(baudRate) {
    setObjectName(QStringLiteral("TSetupCommForm"));
    setWindowTitle(tr("Настройка COM-порта"));

    Port = EditableList(ComPortChoices(devicePaths), this);
    Port->setObjectName(QStringLiteral("PortBox"));
    // Device paths are long: the list opens wide enough for them, the box
    // stays the dialog's width.
    Port->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Port->setMinimumContentsLength(20);
    Port->view()->setMinimumWidth(Port->view()->sizeHintForColumn(0) + 24);
    Rate = EditableList(BaudRateChoices(), this);
    Rate->setObjectName(QStringLiteral("RateBox"));
    Port->setEditText(portName);
    Rate->setEditText(BaudRateText(baudRate));

    Ok = new QPushButton(tr("Принять"), this);
    Ok->setObjectName(QStringLiteral("AcceptButton"));
    Ok->setDefault(true);
    Cancel = new QPushButton(tr("Отмена"), this);
    Cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(Ok, &QPushButton::clicked, this, &TSetupCommForm::Take);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Порт:"), this), 0, 0);
    grid->addWidget(Port, 0, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Скорость:"), this), 1, 0);
    grid->addWidget(Rate, 1, 1);
    grid->addWidget(new QLabel(tr("бит/с"), this), 1, 2);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Ok);
    buttons->addWidget(Cancel);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addSpacing(6);
    column->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

void TSetupCommForm::Take() {
    Name = Port->currentText().trimmed();
    Baud = BaudIndexOfText(Rate->currentText(), Baud);
    accept();
}

void TSetupCommForm::showEvent(QShowEvent* event) {
    // Centred on the desktop.
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
