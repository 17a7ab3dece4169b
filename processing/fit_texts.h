#pragma once

#include "config/fit_settings.h"
#include "processing/fit_values.h"
#include "processing/line_fit.h"
#include "processing/spectrum_compare.h"
#include "spectrum/value_format.h"

#include <QString>
#include <QStringList>
#include <vector>

// The texts of the line fit and of the comparison with a reference, in the
// program's words and number styles: values as the plot shows them (the
// formatters of the selected units), each standard error after "±" in the
// same unit with two significant digits.

// "Лоренц", "Гаусс", "Псевдо-Фойгт".
QString LineShapeName(TLineShape shape);

// One line saying why a fit was not made or did not converge; empty for a
// fit that is done.
QString FitStatusText(const TLineFit& fit);

// One row of the results table: a quantity, its value and its error.
struct TResultRow {
    QString Name;  // "B0", "ΔHpp", "A", "S", "g", "η" ...
    QString Value; // as the plot shows it
    QString Error; // "" where there is none
};

// The table of a done fit: for every line its centre, width, amplitude,
// mixing (pseudo-Voigt), double integral and g (when a frequency is known);
// then the baseline, the residual's RMS, R² and the iterations. Rows of line
// k carry "Линия k: " in front of their name when there are several lines.
std::vector<TResultRow> FitResultRows(const TLineFit& fit, const TShownFit& shown,
                                      const TValueFormat& format);

// The same as text lines for the plot and the printout: one line per fitted
// line ("Линия 1: B0=... ΔHpp=... A=... S=... g=..."), then one for the
// fit ("СКО остатка=... R²=... итераций: N").
QStringList FitTextLines(const TLineFit& fit, const TShownFit& shown, const TValueFormat& format);

// The rows as tab-separated lines, for the operator to copy into a table.
QString ResultRowsAsTabText(const std::vector<TResultRow>& rows);

// "без нормировки", "по размаху", "по двойному интегралу", "по усилению".
QString NormalizationName(TNormalization normalization);

// One line saying why a comparison was not made; empty when it is done.
QString CompareStatusText(const TSpectrumComparison& comparison);

// The results of a done comparison: scale, shift, the difference's RMS, the
// ratio of double integrals and the sample's spin count when the
// reference's was given.
std::vector<TResultRow> CompareResultRows(const TSpectrumComparison& comparison, const TKavCfg& cfg,
                                          const TValueFormat& format);
QStringList CompareTextLines(const TSpectrumComparison& comparison, const TKavCfg& cfg,
                             const TValueFormat& format);
