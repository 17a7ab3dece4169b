#pragma once

#include <QString>
#include <optional>
#include <vector>

// What an exchange file carries of the measurement besides its points. A
// value the file does not know stays empty.
struct TMeasurementInfo {
    std::optional<int> GainRow;  // the gain row (Amplifying) that divides the amplitudes
    std::optional<int> SpeedRow; // the sweep speed row (Rapid)
    std::optional<int> Serial;   // the spectrometer's serial-number byte
    std::optional<int> Program;  // the spectrometer's program-number byte
    std::optional<int> SumCount; // sweeps summed into the spectrum
    double FrequencyHz = 0;      // the resonator frequency; 0 when not computed
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
};

// A number for a file that programs read: the shortest text that reads back
// as the same double, "." as the decimal separator whatever the locale.
QString ExchangeNumber(double value);

// A number of such a text ("." only, exponent allowed, blanks around it
// ignored); false for anything else, infinities and NaN included.
bool ParseExchangeNumber(QStringView text, double& value);
