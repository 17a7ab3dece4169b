// kavtool export FILE.kav [--ini Kav.ini]: the points of a spectrum as
// tab-separated numbers, in the units the program would show them.

#include "tools/kavtool.h"

#include "config/settings_store.h"
#include "link/instrument_tables.h"
#include "spectrum/measure_unit.h"
#include "spectrum/parameter_block.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/spectrum_view.h"

#include <memory>

namespace {

QString Number(double v) {
    return QString::number(v, 'g', 12);
}

} // namespace

int RunExport(const QStringList& args) {
    const TParsedArgs parsed = ParseArgs(args, {QStringLiteral("--ini")});
    if (!parsed.Error.isEmpty())
        return UsageError("export", parsed.Error);
    if (parsed.Positional.size() != 1)
        return UsageError("export", QStringLiteral("one spectrum file expected"));
    const QString path = parsed.Positional[0];
    const auto ini = parsed.Options.find(QStringLiteral("--ini"));

    TKavCfg cfg;
    QString error;
    const QString iniPath = ini == parsed.Options.end() ? QString() : ini->second;
    if (!LoadToolSettings(cfg, iniPath, &error) ||
        !CheckUnitSelection(cfg, iniPath, {"RazvUnit", "AmpUnit"}, &error))
        return Fail(error);

    auto store = std::make_unique<TPointTable>();
    auto undo = std::make_unique<TPointTable>();
    const TLoadOutcome outcome = LoadSpectrumFile(path, *store, *undo, &error);
    if (outcome == TLoadOutcome::NotFound)
        return Fail(QStringLiteral("file \"%1\" not found").arg(path));
    if (outcome == TLoadOutcome::Failed)
        return Fail(error);

    // As the program opens a file: its bounds recalibrate sweep units 2 and
    // 3, its gain record sets the gain that divides the amplitude.
    SaveUnitSnapshot(cfg);
    TInstrumentReadings readings;
    TNullSpectrumView view;
    ApplyFileParameters(*store, cfg, readings, view, SystemDecimalSep());

    const TMeasureUnit& field = cfg.RazvUnits[cfg.RazvUnit];
    const TMeasureUnit& ampl = cfg.AmpUnits[cfg.AmpUnit];
    const double gain = GainFactor(cfg.Amplifying);
    for (int code = 0; code < PointSlotCount; ++code) {
        const TPointSlot& s = (*store)[code];
        if (!IsValidSlot(s))
            continue;
        // Sweep unit 0 is the code itself, whatever its record says.
        const double fieldValue = cfg.RazvUnit == 0 ? code : UnitValue(field, code);
        const double amplValue = UnitValue(ampl, int(s.Y) - ZeroLine) / gain;
        PrintLine(QStringLiteral("%1\t%2\t%3\t%4")
                      .arg(code)
                      .arg(s.Y)
                      .arg(Number(fieldValue), Number(amplValue)));
    }
    return ExitOk;
}
