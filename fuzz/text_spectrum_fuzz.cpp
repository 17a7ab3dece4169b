// Any bytes as a text spectrum (CSV, the vendor's column text), parsed from
// memory as the importer does after reading the file, then placed on the
// default calibration. Besides the sanitizers, each run checks that a parsed
// spectrum has as many fields as amplitudes, all finite, that a refusal is
// one line without a raw control character and leaves the spectrum as it
// was, and that the spectrum written as CSV and parsed again gives the same
// numbers.
#include "config/settings_store.h"
#include "exchange/spectrum_import.h"
#include "exchange/text_spectrum.h"
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

bool HasControl(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
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
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TExchangeSpectrum spectrum;
    spectrum.Title = QStringLiteral("kept");
    QString error;
    if (!ParseTextSpectrum(bytes, QStringLiteral("f.txt"), spectrum, &error)) {
        Check(!error.isEmpty() && !HasControl(error));
        Check(spectrum.Title == u"kept" && spectrum.Field.empty());
        return 0;
    }
    Check(!spectrum.Field.empty() && spectrum.Field.size() == spectrum.Amplitude.size());
    for (std::size_t k = 0; k < spectrum.Field.size(); ++k)
        Check(std::isfinite(spectrum.Field[k]) && std::isfinite(spectrum.Amplitude[k]));

    // Written as CSV and read again: the same numbers and units.
    TExchangeSpectrum again;
    Check(ParseTextSpectrum(CsvText(spectrum), QStringLiteral("g.csv"), again, &error));
    Check(again.Field == spectrum.Field && again.Amplitude == spectrum.Amplitude);

    QStringList notes;
    TImportCounts counts;
    TImportOptions options;
    options.AnyAxis = size > 0 && (data[0] & 1) != 0;
    if (PlaceImportedSpectrum(spectrum, state->Cfg, options, QStringLiteral("f.txt"), state->Table,
                              notes, &error, &counts)) {
        for (int k = 0; k <= MaxFieldCode; ++k) {
            const TPointSlot& s = state->Table[k];
            Check(!IsValidSlot(s) || (s.X == k && s.Y <= MaxAmplitudeCode));
        }
    } else {
        Check(!HasControl(error));
    }
    return 0;
}
