#include "link/line_settings.h"

#include "base/instrument_tables.h"

#include <QCoreApplication>

int EffectiveBaudIndex(int index) {
    if (index < 0 || index >= BaudRowCount)
        return DefaultBaudIndex;
    return index;
}

TLineSettings ResolveLineSettings(const TComSettings& settings, QStringList& notes) {
    TLineSettings line;

    const int baudIndex = EffectiveBaudIndex(settings.BaudRate);
    if (baudIndex != settings.BaudRate)
        notes << QCoreApplication::translate(
                     "LineSettings",
                     "Скорость порта с номером %1 не существует, установлено 9600 бод")
                     .arg(settings.BaudRate);
    line.BaudRate = BaudTable[static_cast<std::size_t>(baudIndex)];

    switch (settings.Parity) {
    case 0:
        line.Parity = TParityMode::None;
        break;
    case 1:
        line.Parity = TParityMode::Odd;
        break;
    case 2:
        line.Parity = TParityMode::Even;
        break;
    case 3:
        line.Parity = TParityMode::Mark;
        break;
    case 4:
        line.Parity = TParityMode::Space;
        break;
    default:
        line.Parity = TParityMode::None;
        notes << QCoreApplication::translate(
                     "LineSettings",
                     "Чётность с номером %1 не существует, установлено без чётности")
                     .arg(settings.Parity);
    }
    line.ParityCheck = line.Parity != TParityMode::None;

    switch (settings.StopBits) {
    case 0:
        line.StopBits = TStopBitsMode::One;
        break;
    case 1:
        // A receiver that expects fewer stop bits accepts more, so two is
        // the safe neighbour of one and a half.
        line.StopBits = TStopBitsMode::Two;
        notes << QCoreApplication::translate(
            "LineSettings", "Полтора стоповых бита недоступны, установлено 2 стоповых бита");
        break;
    case 2:
        line.StopBits = TStopBitsMode::Two;
        break;
    default:
        line.StopBits = TStopBitsMode::One;
        notes << QCoreApplication::translate(
                     "LineSettings",
                     "Стоповые биты с номером %1 не существуют, установлен 1 стоповый бит")
                     .arg(settings.StopBits);
    }

    // Linux has one flag for RTS/CTS flow control in both directions.
    line.HardwareFlow = settings.CTSControl || settings.RTSControl == 2;
    if (settings.CTSControl && settings.RTSControl != 2)
        notes << QCoreApplication::translate(
            "LineSettings", "Управление потоком по CTS включает и управление линией RTS");
    if (settings.RTSControl == 2 && !settings.CTSControl)
        notes << QCoreApplication::translate(
            "LineSettings", "Квитирование по RTS включает и управление потоком по CTS");

    switch (settings.RTSControl) {
    case 0:
        line.Rts = TLineLevel::Off;
        break;
    case 1:
        line.Rts = TLineLevel::On;
        break;
    case 2:
        line.Rts = TLineLevel::On;
        break; // the driver drives RTS itself
    case 3:
        line.Rts = TLineLevel::On;
        notes << QCoreApplication::translate(
            "LineSettings", "Переключение линии RTS при передаче недоступно, RTS включён");
        break;
    default:
        line.Rts = TLineLevel::Off;
        notes << QCoreApplication::translate("LineSettings",
                                             "Режим RTS с номером %1 не существует, RTS выключен")
                     .arg(settings.RTSControl);
    }

    switch (settings.DTRControl) {
    case 0:
        line.Dtr = TLineLevel::Off;
        break;
    case 1:
        line.Dtr = TLineLevel::On;
        break;
    case 2:
        line.Dtr = TLineLevel::On;
        notes << QCoreApplication::translate("LineSettings",
                                             "Квитирование по DTR недоступно, DTR включён");
        break;
    default:
        line.Dtr = TLineLevel::Off;
        notes << QCoreApplication::translate("LineSettings",
                                             "Режим DTR с номером %1 не существует, DTR выключен")
                     .arg(settings.DTRControl);
    }

    if (settings.DSRControl)
        notes << QCoreApplication::translate("LineSettings",
                                             "Управление потоком по DSR недоступно, отключено");
    line.DsrSensitivity = settings.DSRSensitivity;
    return line;
}
