// kavtool info FILE.kav: what a spectrum file holds and what a load drops.

#include "tools/kavtool.h"

#include "base/instrument_tables.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <memory>
#include <vector>

namespace {

constexpr int MaxDroppedLines = 50;

QString GainText(std::uint16_t v) {
    if (v >= GainRowCount)
        return QStringLiteral("no such gain row, ignored");
    const TGainRow& row = GainTable[v];
    return QStringLiteral("gain row %1 \"%2\" (factor %3)")
        .arg(v)
        .arg(QString::fromUtf8(row.Name))
        .arg(row.Factor);
}

QString SpeedText(std::uint16_t v) {
    if (v >= SpeedRowCount)
        return QStringLiteral("no such speed row, ignored");
    return QStringLiteral("speed row %1 \"%2\"").arg(v).arg(SpeedName(v));
}

QString Meaning(std::uint16_t code, std::uint16_t v) {
    switch (code) {
    case ParGain:
        return GainText(v);
    case ParSpeed:
        return SpeedText(v);
    case ParSerial:
        return QStringLiteral("instrument serial number %1").arg(v);
    case ParProgram:
        return QStringLiteral("instrument program number %1").arg(v);
    case ParFieldLow:
        return QStringLiteral("field low bound %1 (sweep unit 3)").arg(v / 10.0);
    case ParFieldHigh:
        return QStringLiteral("field high bound %1 (sweep unit 3)").arg(v / 10.0);
    case ParAdcCode:
        return QStringLiteral("ADC reading, code %1").arg(v);
    case ParSumCount:
        return QStringLiteral("%1 sweep(s) summed").arg(v);
    case ParFilter:
        return v == 0 ? QStringLiteral("real-time filter off")
                      : QStringLiteral("real-time filter constant %1").arg(v);
    case ParAdcField:
        return QStringLiteral("field through the ADC input %1 (ADC unit 3)").arg(v / 100.0);
    case ParFieldUnit:
        return v == FieldUnitMillitesla ? QStringLiteral("field bounds in tenths of a millitesla")
                                        : QStringLiteral("field bounds in tenths of a gauss");
    case ParAmplScale: {
        const std::optional<double> scale = AmplitudeScaleOfStep(static_cast<std::int16_t>(v));
        return scale ? QStringLiteral("amplitudes of an import multiplied by %1").arg(*scale)
                     : QStringLiteral("amplitude scale step %1 out of range, ignored")
                           .arg(static_cast<std::int16_t>(v));
    }
    default:
        return QStringLiteral("unused code, kept and ignored");
    }
}

// The slot a raw record lands in, or -1 when it is dropped or empty.
int TargetSlot(const TPointSlot& r) {
    if (r.Y == EmptyY)
        return -1;
    if (r.Y <= MaxAmplitudeCode)
        return r.X;
    if (r.Y > MaxValidY)
        return r.Y;
    return -1;
}

} // namespace

int RunInfo(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(args, {});
    if (!parsed.Error.isEmpty())
        return UsageError("info", parsed.Error);
    if (parsed.Positional.size() != 1)
        return UsageError("info", QStringLiteral("one spectrum file expected"));
    const QString path = parsed.Positional[0];

    // Tables made for this file: it is read into them directly.
    auto store = std::make_unique<TPointTable>();
    auto raw = std::make_unique<TPointTable>();
    QString error;
    TLoadStats stats;
    const TLoadOutcome outcome = LoadSpectrumFileInPlace(path, *store, *raw, &error, &stats);
    if (outcome == TLoadOutcome::NotFound)
        return Fail(QStringLiteral("file \"%1\" not found").arg(path));
    if (outcome == TLoadOutcome::Failed)
        return Fail(error);

    PrintLine(QStringLiteral("file: %1").arg(path));
    PrintLine(QStringLiteral("records: %1 (trailing bytes ignored: %2)")
                  .arg(stats.Records)
                  .arg(stats.TrailingBytes));
    int points = 0;
    for (const TPointSlot& s : *store)
        points += s.Y <= MaxAmplitudeCode;
    PrintLine(QStringLiteral("points: %1").arg(points));
    const std::uint16_t first = FirstValidPoint(*store, 0, 65535);
    const std::uint16_t last = LastValidPoint(*store, 0, 65535);
    if (points > 0) {
        PrintLine(QStringLiteral("first field code: %1").arg(first));
        PrintLine(QStringLiteral("last field code: %1").arg(last));
    } else {
        PrintLine(QStringLiteral("first field code: none"));
        PrintLine(QStringLiteral("last field code: none"));
    }

    PrintLine(stats.Parameters == 0 ? QStringLiteral("parameters: none")
                                    : QStringLiteral("parameters:"));
    for (int code = PointSlotCount - 2; code >= FirstParameterCode; --code) {
        const TPointSlot& s = (*store)[code];
        if (s.Y != code)
            continue;
        const QString name = QString::fromUtf8(ParameterName(s.Y));
        PrintLine(QStringLiteral("  %1 (%2) = %3: %4")
                      .arg(name.isEmpty() ? QStringLiteral("code") : name)
                      .arg(code)
                      .arg(s.X)
                      .arg(Meaning(s.Y, s.X)));
    }

    // Which raw record each slot finally took, to name the replaced ones.
    std::vector<int> lastRecord(PointSlotCount, -1);
    for (int i = 0; i < stats.Records; ++i) {
        const int slot = TargetSlot((*raw)[i]);
        if (slot >= 0)
            lastRecord[slot] = i;
    }
    const int dropped = stats.Stray + stats.Overwritten;
    PrintLine(QStringLiteral("dropped: %1")
                  .arg(dropped == 0 ? QStringLiteral("none") : QString::number(dropped)));
    int shown = 0;
    for (int i = 0; i < stats.Records && shown < MaxDroppedLines; ++i) {
        const TPointSlot& r = (*raw)[i];
        const int slot = TargetSlot(r);
        QString why;
        if (r.Y != EmptyY && slot < 0)
            why = QStringLiteral("neither a point nor a parameter record");
        else if (slot >= 0 && lastRecord[slot] != i)
            why =
                QStringLiteral("replaced by record %1 for slot %2").arg(lastRecord[slot]).arg(slot);
        else
            continue;
        PrintLine(QStringLiteral("  record %1: X %2, Y %3: %4").arg(i).arg(r.X).arg(r.Y).arg(why));
        ++shown;
    }
    if (dropped > shown)
        PrintLine(QStringLiteral("  ... and %1 more").arg(dropped - shown));
    return ExitOk;
}
