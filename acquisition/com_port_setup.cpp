#include "acquisition/com_port_setup.h"

#include "base/instrument_tables.h"
#include "config/port_name.h"
#include "link/line_settings.h"

QStringList ComPortChoices(const QStringList& devicePaths) {
    QStringList choices;
    for (int k = 1; k <= ComChoiceCount; ++k)
        choices << QStringLiteral("COM%1").arg(k);
    choices << devicePaths;
    choices << QStringLiteral("SIM");
    return choices;
}

QStringList BaudRateChoices() {
    QStringList rates;
    for (std::int32_t rate : BaudTable)
        rates << QString::number(rate);
    return rates;
}

QString BaudRateText(int index) {
    return QString::number(BaudTable[static_cast<std::size_t>(EffectiveBaudIndex(index))]);
}

std::uint8_t BaudIndexOfText(const QString& text, std::uint8_t current) {
    const QString wanted = text.trimmed();
    for (std::size_t k = 0; k < BaudTable.size(); ++k)
        if (QString::number(BaudTable[k]) == wanted)
            return static_cast<std::uint8_t>(k);
    return current;
}

void ApplyComChoice(TComSettings& port, const QString& name, std::uint8_t baudIndex) {
    port.PortName = HeldPortName(name.trimmed());
    port.BaudRate = baudIndex;
}
