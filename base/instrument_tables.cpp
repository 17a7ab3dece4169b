#include "base/instrument_tables.h"

#include <QCoreApplication>

const std::array<TGainRow, GainRowCount> GainTable = {{
    {"1", 1, 1},
    {"2", 2, 2},
    {"5", 3, 5},
    {"10", 4, 10},
    {"20", 5, 20},
    {"50", 6, 50},
    {"100", 8, 100},
    {"200", 9, 200},
}};

const std::array<TSpeedRow, SpeedRowCount> SpeedTable = {{
    {QT_TRANSLATE_NOOP("SpeedTable", "30 сек"), 15, 4},
    {QT_TRANSLATE_NOOP("SpeedTable", "-4 мин"), 0, 4},
    {QT_TRANSLATE_NOOP("SpeedTable", " СТОП"), 1, 4},
    {QT_TRANSLATE_NOOP("SpeedTable", "128 мин"), 9, 1},
    {QT_TRANSLATE_NOOP("SpeedTable", "64 мин"), 2, 1},
    {QT_TRANSLATE_NOOP("SpeedTable", "32 мин"), 4, 1},
    {QT_TRANSLATE_NOOP("SpeedTable", "16 мин"), 5, 2},
    {QT_TRANSLATE_NOOP("SpeedTable", " 8 мин"), 6, 4},
    {QT_TRANSLATE_NOOP("SpeedTable", " 4 мин"), 3, 4},
    {QT_TRANSLATE_NOOP("SpeedTable", " 2 мин"), 7, 4},
    {QT_TRANSLATE_NOOP("SpeedTable", " 1 мин"), 8, 1},
    {QT_TRANSLATE_NOOP("SpeedTable", "30 сек"), 15, 4},
}};

const std::array<std::int32_t, BaudRowCount> BaudTable = {
    300,   600,    1200,   2400,   4800,   9600,   14400,  19200,  38400,   56000,
    57600, 115200, 128000, 256000, 230400, 460800, 512000, 921600, 1024000,
};

std::uint16_t GainFactor(int row) {
    if (row < 0 || row >= GainRowCount)
        return 1;
    return GainTable[static_cast<std::size_t>(row)].Factor;
}

QString SpeedName(int row) {
    if (row < 0 || row >= SpeedRowCount)
        return {};
    return QCoreApplication::translate("SpeedTable",
                                       SpeedTable[static_cast<std::size_t>(row)].Name);
}
