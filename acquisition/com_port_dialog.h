#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>

class QComboBox;
class QPushButton;

// The COM port dialog "Настройка COM-порта": the port and its rate. It
// carries a port name and a BaudRate index in and out; "Принять" takes the
// entries, "Отмена" or closing the window leaves both as they came in.
class TSetupCommForm : public QDialog {
    Q_OBJECT
public:
    // devicePaths: the serial devices of this machine, offered after
    // COM1..COM16 and before "SIM".
    TSetupCommForm(const QString& portName, std::uint8_t baudRate, const QStringList& devicePaths,
                   QWidget* parent = nullptr);

    QString PortName() const { return Name; }
    std::uint8_t BaudRate() const { return Baud; }

    QComboBox* PortBox() const { return Port; }
    QComboBox* RateBox() const { return Rate; }
    QPushButton* AcceptButton() const { return Ok; }
    QPushButton* CancelButton() const { return Cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Take();

    QString Name;
    std::uint8_t Baud;
    QComboBox* Port;
    QComboBox* Rate;
    QPushButton* Ok;
    QPushButton* Cancel;
};
