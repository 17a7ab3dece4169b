// Any bytes as a BES3T data set: a descriptor and the data (and axis) files
// beside it, parsed and decoded from memory as the reader does after reading
// the files, then placed on the default calibration as an import places it.
// The input is the descriptor's length (two bytes, little-endian), the
// descriptor, then the data file followed by the axis file. Besides the
// sanitizers, each run checks what the reader promises: a decoded spectrum
// has exactly XPTS finite values on a finite axis, a refusal is one line that
// leaves the spectrum as it was, and a placed spectrum holds only points on
// their own field codes with 12-bit amplitudes.
#include "config/settings_store.h"
#include "exchange/bes3t_file.h"
#include "exchange/spectrum_import.h"
#include "spectrum/point_store.h"

#include <QByteArray>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

struct TState {
    TKavCfg Cfg{};
    TPointTable Table;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto state = [] {
        auto s = std::make_unique<TState>();
        SetDefaults(s->Cfg, QStringLiteral("/work"));
        return s;
    }();
    if (size < 2)
        return 0;
    const std::size_t length = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
    const QByteArray descriptor(reinterpret_cast<const char*>(data + 2), qsizetype(length));
    const QByteArray rest(reinterpret_cast<const char*>(data + 2 + length),
                          qsizetype(size - 2 - length));

    TBes3tLayout layout;
    QString error;
    if (!ParseBes3tDescriptor(descriptor, QStringLiteral("f.DSC"), layout, &error)) {
        Check(!error.isEmpty() && !error.contains(u'\n'));
        return 0;
    }
    Check(layout.Points >= 1 && layout.Points <= MaxExchangePoints);
    const qsizetype split =
        layout.IndexAxis ? rest.size() : std::min<qsizetype>(layout.DataBytes(), rest.size());
    TExchangeSpectrum spectrum;
    spectrum.Title = QStringLiteral("kept");
    if (!DecodeBes3tData(layout, rest.left(split), rest.mid(split), QStringLiteral("f.DTA"),
                         QStringLiteral("f.XGF"), spectrum, &error)) {
        Check(!error.isEmpty() && !error.contains(u'\n'));
        Check(spectrum.Title == u"kept" && spectrum.Field.empty());
        return 0;
    }
    Check(qsizetype(spectrum.Field.size()) == layout.Points);
    Check(qsizetype(spectrum.Amplitude.size()) == layout.Points);
    for (std::size_t k = 0; k < spectrum.Field.size(); ++k)
        Check(std::isfinite(spectrum.Field[k]) && std::isfinite(spectrum.Amplitude[k]));
    Check(spectrum.Equidistant == layout.IndexAxis);

    QStringList notes;
    TImportCounts counts;
    TImportOptions options;
    options.AnyAxis = (data[0] & 1) != 0;
    if (!PlaceImportedSpectrum(spectrum, state->Cfg, options, QStringLiteral("f.DSC"), state->Table,
                               notes, &error, &counts)) {
        Check(!error.contains(u'\n'));
        return 0;
    }
    int points = 0;
    for (int k = 0; k <= MaxFieldCode; ++k) {
        const TPointSlot& s = state->Table[k];
        if (IsValidSlot(s)) {
            Check(s.X == k && s.Y <= MaxAmplitudeCode);
            ++points;
        }
    }
    Check(points + counts.Outside + counts.Shared == layout.Points);
    Check(std::isfinite(counts.Scale) && counts.Scale > 0);
    for (const QString& note : notes)
        Check(!note.contains(u'\n'));
    return 0;
}
