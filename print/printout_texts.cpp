#include "print/printout_texts.h"

#include "spectrum/number_style.h"

#include <QFileInfo>

QString PrintJobTitle() {
    return QStringLiteral("Спектр КАВ");
}

// The name is taken after the last folder separator of this system ("/"); a
// colon or a backslash is part of a Linux file name and stays in it.
QString PrintoutHeader(bool receiving, const QString& filePath, const QString& gainText,
                       const QString& speedText) {
    QString header;
    if (!receiving && !filePath.isEmpty())
        header =
            QStringLiteral(" Файл: \"") + QFileInfo(filePath).fileName() + QStringLiteral("\" ");
    return header + QStringLiteral(" Усиление: ") + gainText + QStringLiteral(".  Развёртка: ") +
           speedText + QStringLiteral(".");
}

QString VisirCaption(const TValueFormat& format, const TPointTable& store, std::uint16_t code) {
    const TPointSlot& slot = store[code];
    const QString amplitude = IsValidSlot(slot)
                                  ? format.AmplToStr(static_cast<std::int32_t>(slot.Y) - ZeroLine)
                                  : QStringLiteral("<НЕТ>");
    return QStringLiteral("{") + format.FieldToStr(code) + QStringLiteral("  ") + amplitude +
           QStringLiteral("}");
}

QString AdcFieldText(const TKavCfg& cfg, const TInstrumentReadings& readings, QChar decimalSep) {
    if (!(readings.AdcFieldValue > 0))
        return QString();
    return QStringLiteral("АМ=") + FormatFixed(readings.AdcFieldValue, 2, 2, decimalSep) +
           QStringLiteral(" ") + cfg.ADCUnits[3].Name;
}

QString ProposedPdfName(const QString& spectrumPath) {
    const QString base = QFileInfo(spectrumPath).completeBaseName();
    return (base.isEmpty() ? QStringLiteral("Спектр") : base) + QStringLiteral(".pdf");
}
