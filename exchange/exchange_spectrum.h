#pragma once

#include <QString>
#include <optional>
#include <vector>

// The most points an exchange file may hold. A cw field sweep of any
// spectrometer has far fewer (a .kav holds at most 65520); a file that claims
// more is damaged or is not a spectrum, and is refused before it is read.
inline constexpr qsizetype MaxExchangePoints = qsizetype(1) << 20;

// What an exchange file carries of the measurement besides its points. A
// value the file does not know stays empty.
struct TMeasurementInfo {
    std::optional<int> GainRow;  // the gain row (Amplifying) that divides the amplitudes
    std::optional<int> SpeedRow; // the sweep speed row (Rapid)
    std::optional<int> Serial;   // the spectrometer's serial-number byte
    std::optional<int> Program;  // the spectrometer's program-number byte
    std::optional<int> SumCount; // sweeps summed into the spectrum
    double FrequencyHz = 0;      // the resonator frequency; 0 when not computed
    // The 1-2-5 step of the factor the amplitudes of an import were
    // multiplied by (AmplitudeScaleOfStep); empty when they were not.
    std::optional<int> ScaleStep;
    // The modulation amplitude measured through the ADC input, in
    // ModulationUnit ("G"); 0 when not known.
    double ModulationAmplitude = 0;
    QString ModulationUnit;
};

// A one-dimensional real spectrum in physical values, as other programs
// exchange it: point k lies at Field[k] with the value Amplitude[k].
struct TExchangeSpectrum {
    std::vector<double> Field;
    std::vector<double> Amplitude;
    QString FieldUnit;     // as a file names it ("G", "mT"); empty when unknown
    QString AmplitudeUnit; // as a file names it ("V"); empty for arbitrary units
    QString Title;
    TMeasurementInfo Info;
    // The field values lie on one step (a BES3T axis XTYP IDX); otherwise
    // each point carries its own field (XTYP IGD).
    bool Equidistant = false;
};

// A number for a file that programs read: the shortest text that reads back
// as the same double, "." as the decimal separator whatever the locale.
QString ExchangeNumber(double value);

// A number of such a text ("." only, exponent allowed, blanks around it
// ignored); false for anything else, infinities and NaN included.
bool ParseExchangeNumber(QStringView text, double& value);
