#include "processing/analysis_overlay.h"

#include "processing/fit_values.h"

#include <QHash>

void TAnalysisOverlay::AnalysisRange(const TKavCfg& cfg, std::uint16_t& from, std::uint16_t& to) {
    from = 0;
    to = MaxFieldCode;
    if (cfg.Visir1 && cfg.Visir2) {
        from = cfg.VisKoord1;
        to = cfg.VisKoord2;
    }
}

std::size_t TAnalysisOverlay::SpectrumFingerprint(const TPointTable& store) {
    return qHashBits(store.data(), sizeof(TPointTable));
}

QString TAnalysisOverlay::Fit(const TPointTable& store, const TKavCfg& cfg) {
    TFitRequest request;
    AnalysisRange(cfg, request.From, request.To);
    request.LineCount = cfg.Fit.LineCount;
    request.Shape = cfg.Fit.Shape;
    request.Noise = cfg.FindMaxNoise;
    request.Step = cfg.FindMaxStep;
    request.MaxEvaluations = MaxFitEvaluations;
    TLineFit fit = FitLines(store, request);
    if (!fit.Done())
        return FitStatusText(fit);
    FitResult = std::move(fit);
    FrequencyMHz = ::FitFrequencyMHz(cfg, cfg.Fit.FrequencyMHz);
    FitPoints = SpectrumFingerprint(store);
    FitShown = true;
    return QString();
}

QString TAnalysisOverlay::Compare(const TPointTable& store, const TKavCfg& cfg,
                                  const TPointTable& reference, const QString& referenceName,
                                  const TCompareSettings& settings) {
    TCompareRequest request;
    AnalysisRange(cfg, request.From, request.To);
    request.Normalization = settings.Normalization;
    request.FindShift = settings.FindShift;
    request.ReferenceSpins = settings.ReferenceSpins;
    const TKavCfg referenceCfg = ReferenceSettings(cfg, reference);
    TSpectrumComparison c = CompareSpectra(OpenedSpectrum(store, cfg),
                                           OpenedSpectrum(reference, referenceCfg), request);
    if (!c.Done())
        return CompareStatusText(c);
    ComparisonResult = std::move(c);
    CompareSetup = settings;
    RefName = referenceName;
    ComparePoints = SpectrumFingerprint(store);
    CompareShown = true;
    return QString();
}

void TAnalysisOverlay::RemoveFit() {
    FitShown = false;
    FitResult = TLineFit{};
    FrequencyMHz = 0;
}

void TAnalysisOverlay::RemoveComparison() {
    CompareShown = false;
    ComparisonResult = TSpectrumComparison{};
    RefName.clear();
}

void TAnalysisOverlay::Clear() {
    RemoveFit();
    RemoveComparison();
}

bool TAnalysisOverlay::ForgetIfChanged(const TPointTable& store) {
    if (Empty())
        return false;
    const std::size_t now = SpectrumFingerprint(store);
    bool dropped = false;
    if (FitShown && FitPoints != now) {
        RemoveFit();
        dropped = true;
    }
    if (CompareShown && ComparePoints != now) {
        RemoveComparison();
        dropped = true;
    }
    return dropped;
}

bool TAnalysisOverlay::Describes(const TPointTable& store) const {
    if (Empty())
        return true;
    const std::size_t now = SpectrumFingerprint(store);
    return (!FitShown || FitPoints == now) && (!CompareShown || ComparePoints == now);
}

std::vector<TOverlayCurve> TAnalysisOverlay::Curves() const {
    std::vector<TOverlayCurve> curves;
    if (FitShown) {
        const TFitCurve& c = FitResult.Curve;
        curves.push_back({TOverlayTrace::FitCurve, c.Codes, c.Fitted});
        TOverlayCurve residual{TOverlayTrace::FitResidual, c.Codes, {}};
        residual.Ordinates.reserve(c.Residual.size());
        for (double r : c.Residual)
            residual.Ordinates.push_back(ZeroLine + r);
        curves.push_back(std::move(residual));
    }
    if (CompareShown) {
        const TCompareCurve& c = ComparisonResult.Curve;
        curves.push_back({TOverlayTrace::Reference, c.Codes, c.Reference});
        if (CompareSetup.ShowDifference) {
            TOverlayCurve difference{TOverlayTrace::Difference, c.Codes, {}};
            difference.Ordinates.reserve(c.Difference.size());
            for (double d : c.Difference)
                difference.Ordinates.push_back(ZeroLine + d);
            curves.push_back(std::move(difference));
        }
    }
    return curves;
}

std::vector<TResultRow> TAnalysisOverlay::ResultRows(const TKavCfg& cfg,
                                                     const TValueFormat& format) const {
    std::vector<TResultRow> rows;
    if (FitShown)
        rows = FitResultRows(FitResult, ShownFit(FitResult, cfg, FrequencyMHz), format);
    if (CompareShown) {
        for (const TResultRow& row : CompareResultRows(ComparisonResult, cfg, format))
            rows.push_back(row);
    }
    return rows;
}

QStringList TAnalysisOverlay::TextLines(const TKavCfg& cfg, const TValueFormat& format) const {
    QStringList lines;
    if (FitShown)
        lines << FitTextLines(FitResult, ShownFit(FitResult, cfg, FrequencyMHz), format);
    if (CompareShown)
        lines << CompareTextLines(ComparisonResult, cfg, format);
    return lines;
}
