#pragma once

#include "config/kav_cfg.h"
#include "processing/line_fit.h"

#include <vector>

// A fit's results in the units the plot shows them: fields in the selected
// sweep unit (raw codes for unit 0), amplitudes in the selected amplitude
// unit divided by the gain factor, double integrals as "S=" shows an area,
// and the g-factor of each line when a frequency is known.

struct TShownLine {
    TFitValue Centre;
    TFitValue Width;
    TFitValue Amplitude;
    TFitValue Mix;
    TFitValue DoubleIntegral;
    bool HasG = false;
    TFitValue G;
};

struct TShownFit {
    std::vector<TShownLine> Lines;
    TFitValue BaselineOffset; // amplitude at the middle of the range
    TFitValue BaselineSlope;  // amplitude unit per field unit
    double ResidualRms = 0;   // amplitude unit
    double RSquared = 0;
    int Iterations = 0;
    double FrequencyMHz = 0; // the frequency of the g-factors; 0: none
};

// The frequency the g-factors use, in MHz: the one asked for (the fit's
// setting or kavtool's --freq) when above 0, else the one computed from the
// DPPH line (ResonatorFreq), else 0.
double FitFrequencyMHz(const TKavCfg& cfg, double askedMHz);

// The g-factor of a field code at a frequency (MHz), through the absolute
// field of sweep unit 3 as the DPPH calculation reads it, and its standard
// error from the code's; false where the field is 0.
bool GFactorOfCode(const TKavCfg& cfg, double frequencyMHz, const TFitValue& code, TFitValue& g);

TShownFit ShownFit(const TLineFit& fit, const TKavCfg& cfg, double frequencyMHz);
