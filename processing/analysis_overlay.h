#pragma once

#include "config/kav_cfg.h"
#include "processing/fit_texts.h"
#include "processing/line_fit.h"
#include "processing/spectrum_compare.h"
#include "spectrum/point_slot.h"
#include "spectrum/value_format.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <vector>

// What the line fit and the comparison with a reference leave over the
// spectrum: the fitted curve and its residual, the reference as placed and
// the difference, and the results of each. The owner runs the fit and the
// comparison through it, draws its curves and shows its texts; undo and a
// new spectrum clear it. Each result remembers the spectrum's points it was
// made on, so a result that no longer describes the spectrum (the spectrum
// filtered, smoothed or replaced) is never shown over it. A refused fit or
// comparison changes nothing: neither the spectrum nor what was shown.

enum class TOverlayTrace { FitCurve, FitResidual, Reference, Difference };

// One trace to draw: ordinates (zero line 2048) on the spectrum's codes.
// Residual and difference lie around the zero line.
struct TOverlayCurve {
    TOverlayTrace Kind = TOverlayTrace::FitCurve;
    std::vector<std::uint16_t> Codes;
    std::vector<double> Ordinates;
};

class TAnalysisOverlay {
public:
    // The range both analyses take: between the visirs when both are on,
    // else the whole spectrum.
    static void AnalysisRange(const TKavCfg& cfg, std::uint16_t& from, std::uint16_t& to);

    // Fits the spectrum with the settings' LineFit (lines, shape,
    // frequency) and its extremum search, over AnalysisRange. Done: the fit
    // replaces the one shown and the result is empty. Refused or not
    // converged: one line saying why, and nothing changes.
    QString Fit(const TPointTable& store, const TKavCfg& cfg);

    // The optimiser's budget of model evaluations for the fits to come;
    // the program keeps the default, a test lowers it to reach a fit that
    // does not converge.
    void SetMaxFitEvaluations(int evaluations) { MaxFitEvaluations = evaluations; }

    // Compares the spectrum with a reference table, opened with the
    // settings ReferenceSettings gives, over AnalysisRange. Done: the
    // comparison replaces the one shown and the result is empty. Refused:
    // one line saying why, and nothing changes.
    QString Compare(const TPointTable& store, const TKavCfg& cfg, const TPointTable& reference,
                    const QString& referenceName, const TCompareSettings& settings);

    void RemoveFit();
    void RemoveComparison();
    // Undo and a new spectrum: both go.
    void Clear();
    // Drops each result that was not made on the spectrum as it is now;
    // true when anything was dropped.
    bool ForgetIfChanged(const TPointTable& store);

    bool HasFit() const { return FitShown; }
    bool HasComparison() const { return CompareShown; }
    bool Empty() const { return !HasFit() && !HasComparison(); }
    const TLineFit& LineFit() const { return FitResult; }
    double FitFrequencyMHz() const { return FrequencyMHz; }
    const TSpectrumComparison& Comparison() const { return ComparisonResult; }
    const TCompareSettings& ComparisonSettings() const { return CompareSetup; }
    const QString& ReferenceName() const { return RefName; }

    // Whether every result shown was made on this spectrum.
    bool Describes(const TPointTable& store) const;

    // The traces to draw, fit first.
    std::vector<TOverlayCurve> Curves() const;
    // The results in the selected units: the fit's rows, then the
    // comparison's; and the text lines for the plot and the printout.
    std::vector<TResultRow> ResultRows(const TKavCfg& cfg, const TValueFormat& format) const;
    QStringList TextLines(const TKavCfg& cfg, const TValueFormat& format) const;

    // The fingerprint of a spectrum: its points and its parameter records
    // (a file of the same points on another field axis is another spectrum
    // for the comparison, which places the reference by field).
    static std::size_t SpectrumFingerprint(const TPointTable& store);

private:
    int MaxFitEvaluations = DefaultFitEvaluations;
    bool FitShown = false;
    TLineFit FitResult;
    double FrequencyMHz = 0;
    std::size_t FitPoints = 0;

    bool CompareShown = false;
    QString RefName;
    TCompareSettings CompareSetup;
    TSpectrumComparison ComparisonResult;
    std::size_t ComparePoints = 0;
};
