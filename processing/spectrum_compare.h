#pragma once

#include "base/measure_unit.h"
#include "config/compare_settings.h"
#include "config/kav_cfg.h"
#include "spectrum/point_slot.h"

#include <cstdint>
#include <vector>

// Comparing the spectrum with a reference spectrum (yesterday's sample, a
// standard of known spin count). The reference is placed on the sample's
// axis by its field: each file's own field bounds give the absolute field of
// its codes, so two spectra swept over different ranges still meet where
// their fields meet. The reference is then scaled by a normalisation,
// optionally moved along the field by the shift that best lays it over the
// sample, and taken from the sample point by point. Both spectra are only
// read.

// One spectrum of a comparison as it was opened.
struct TCompareSpectrum {
    const TPointTable* Points = nullptr;
    TMeasureUnit Field; // the absolute field of its codes (sweep unit 3 as opened)
    int GainRow = 0;    // its gain, as opened
    int SweepCount = 1; // sweeps averaged into it (its record; 1 without one)
};

// A spectrum with the settings it was opened with (its file's gain and
// field bounds applied).
TCompareSpectrum OpenedSpectrum(const TPointTable& points, const TKavCfg& cfg);

// The settings a reference table is opened with: the instrument's own sweep
// units (the snapshot a spectrum file never changes) with the reference's
// parameter records applied, as opening it as a spectrum would apply them.
TKavCfg ReferenceSettings(const TKavCfg& cfg, const TPointTable& reference);

struct TCompareRequest {
    std::uint16_t From = 0; // the sample's range, in either order
    std::uint16_t To = MaxFieldCode;
    TNormalization Normalization = TNormalization::None;
    bool FindShift = false;
    double ReferenceSpins = 0; // the reference's spin count; 0: not given
};

enum class TCompareStatus {
    Done,
    EmptySample,    // no data point in the sample's range
    EmptyReference, // the reference holds no data point
    NoOverlap,      // fewer than three sample points where both have data
    ZeroReference,  // the normalisation divides by the reference's zero amplitude or integral
};

// What to draw: on the sample's points where both spectra have data, the
// reference as placed (an ordinate, zero line 2048: 2048 + Scale times the
// reference's amplitude there) and the difference, sample minus reference,
// in amplitude codes.
struct TCompareCurve {
    std::vector<std::uint16_t> Codes;
    std::vector<double> Reference;
    std::vector<double> Difference;
};

struct TSpectrumComparison {
    TCompareStatus Status = TCompareStatus::EmptySample;
    TNormalization Normalization = TNormalization::None;
    double Scale = 1;        // applied to the reference's amplitude
    double ShiftCodes = 0;   // the reference moved up the field by this many sample codes
    double ShiftField = 0;   // the same in the absolute field unit (sweep unit 3)
    double ResidualRms = 0;  // of the difference, amplitude codes of the sample
    std::uint16_t First = 0; // the sample points compared
    std::uint16_t Last = 0;
    int PointCount = 0;

    // Double integrals over the compared field interval, in the absolute
    // field unit squared times amplitude codes, divided by each file's gain
    // factor; and their ratio, sample over reference. The sweep counts do
    // not enter: a spectrum of several sweeps holds their mean.
    double SampleIntegral = 0;
    double ReferenceIntegral = 0;
    bool HasRatio = false;
    double IntegralRatio = 0;
    bool HasSpins = false;
    double SampleSpins = 0; // IntegralRatio times the reference's spin count

    int SampleGainRow = 0;
    int ReferenceGainRow = 0;
    int SampleSweeps = 1;
    int ReferenceSweeps = 1;
    TCompareCurve Curve;

    bool Done() const { return Status == TCompareStatus::Done; }
};

TSpectrumComparison CompareSpectra(const TCompareSpectrum& sample,
                                   const TCompareSpectrum& reference,
                                   const TCompareRequest& request);
