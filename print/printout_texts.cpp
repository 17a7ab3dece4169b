#include "print/printout_texts.h"

#include "base/number_style.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

QString PrintJobTitle() {
    return QCoreApplication::translate("PrintoutTexts", "Спектр КАВ");
}

// The name is taken after the last folder separator of this system ("/"); a
// colon or a backslash is part of a Linux file name and stays in it.
QString PrintoutHeader(bool receiving, const QString& filePath, const QString& gainText,
                       const QString& speedText) {
    QString header;
    if (!receiving && !filePath.isEmpty())
        header = QCoreApplication::translate("PrintoutTexts", " Файл: \"") +
                 QFileInfo(filePath).fileName() + QStringLiteral("\" ");
    return header + QCoreApplication::translate("PrintoutTexts", " Усиление: ") + gainText +
           QCoreApplication::translate("PrintoutTexts", ".  Развёртка: ") + speedText +
           QStringLiteral(".");
}

QString VisirCaption(const TValueFormat& format, const TPointTable& store, std::uint16_t code) {
    const TPointSlot& slot = store[code];
    const QString amplitude = IsValidSlot(slot)
                                  ? format.AmplToStr(static_cast<std::int32_t>(slot.Y) - ZeroLine)
                                  : QCoreApplication::translate("PrintoutTexts", "<НЕТ>");
    return QStringLiteral("{") + format.FieldToStr(code) + QStringLiteral("  ") + amplitude +
           QStringLiteral("}");
}

QString AdcFieldText(const TKavCfg& cfg, const TInstrumentReadings& readings, QChar decimalSep) {
    if (!(readings.AdcFieldValue > 0))
        return QString();
    return QCoreApplication::translate("PrintoutTexts", "АМ=") +
           FormatFixed(readings.AdcFieldValue, 2, 2, decimalSep) + QStringLiteral(" ") +
           cfg.ADCUnits[3].Name;
}

QString ProposedPdfName(const QString& spectrumPath) {
    const QString base = QFileInfo(spectrumPath).completeBaseName();
    return (base.isEmpty() ? QCoreApplication::translate("PrintoutTexts", "Спектр") : base) +
           QStringLiteral(".pdf");
}

QString NoRoomForPlotText(const TPageMargins& margins, const TPrintableArea& area) {
    const TPageGeometry g = TPageGeometry::Compute(area, margins, 0, 1, 0);
    const TPaperSize paper = NearestPaper(area.HorzSize, area.VertSize);
    QStringList pairs;
    if (g.Right <= g.Left)
        pairs << QCoreApplication::translate("PrintoutTexts",
                                             "слева %1 мм и справа %2 мм на бумаге шириной %3 мм")
                     .arg(margins.Left)
                     .arg(margins.Right)
                     .arg(paper.Width);
    if (g.Bottom <= g.Top)
        pairs << QCoreApplication::translate("PrintoutTexts",
                                             "сверху %1 мм и снизу %2 мм на бумаге высотой %3 мм")
                     .arg(margins.Top)
                     .arg(margins.Bottom)
                     .arg(paper.Height);
    if (pairs.isEmpty())
        return QString();
    return QCoreApplication::translate("PrintoutTexts", "Поля не оставляют места для спектра: ") +
           pairs.join(QStringLiteral("; ")) + QStringLiteral(".");
}

QString ProposedWindowPdfName() {
    return QCoreApplication::translate("PrintoutTexts", "Окно КАВ.pdf");
}
