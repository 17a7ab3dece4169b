#include "processing/compare_setup_dialog.h"

#include "base/number_style.h"
#include "config/dialog_buttons_widget.h"
#include "processing/analysis_texts.h"
#include "processing/fit_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr TNormalization Normalizations[] = {TNormalization::None, TNormalization::PeakToPeak,
                                             TNormalization::Integral, TNormalization::Records};

} // namespace

TCompareSetupForm::TCompareSetupForm(TCompareSettings& settings, QChar decimalSep, QWidget* parent)
    : QDialog(parent), Settings(settings), Sep(decimalSep) {
    setObjectName(QStringLiteral("TCompareSetupForm"));
    setWindowTitle(AnalysisTexts::CompareTitle());
    Normalization = new QComboBox(this);
    Normalization->setObjectName(QStringLiteral("NormalizationBox"));
    for (TNormalization n : Normalizations)
        Normalization->addItem(NormalizationName(n));
    Shift = new QCheckBox(AnalysisTexts::CompareShift(), this);
    Shift->setObjectName(QStringLiteral("ShiftBox"));
    Difference = new QCheckBox(AnalysisTexts::CompareDifference(), this);
    Difference->setObjectName(QStringLiteral("DifferenceBox"));
    Spins = new QLineEdit(this);
    Spins->setObjectName(QStringLiteral("SpinsEdit"));
    auto* form = new QFormLayout;
    form->addRow(AnalysisTexts::CompareNormalization(), Normalization);
    form->addRow(AnalysisTexts::CompareSpins(), Spins);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Shift);
    layout->addWidget(Difference);
    const TDialogButtons buttons = AddCancelOkRow(this, layout);
    Ok = buttons.Ok;
    Cancel = buttons.Cancel;
    connect(Ok, &QPushButton::clicked, this, &TCompareSetupForm::OKBtnClick);
    FormShow();
    setFixedSize(sizeHint());
}

void TCompareSetupForm::FormShow() {
    for (int i = 0; i < static_cast<int>(std::size(Normalizations)); ++i) {
        if (Normalizations[i] == Settings.Normalization)
            Normalization->setCurrentIndex(i);
    }
    Shift->setChecked(Settings.FindShift);
    Difference->setChecked(Settings.ShowDifference);
    Spins->setText(Settings.ReferenceSpins > 0
                       ? FormatScientific(Settings.ReferenceSpins, 4, 3, Sep)
                       : QString());
}

double TCompareSetupForm::SpinCountOf(const QString& text) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && std::isfinite(v) && v > 0 ? v : 0;
}

void TCompareSetupForm::OKBtnClick() {
    TCompareSettings chosen = Settings;
    const int n = Normalization->currentIndex();
    if (n >= 0 && n < static_cast<int>(std::size(Normalizations)))
        chosen.Normalization = Normalizations[n];
    chosen.FindShift = Shift->isChecked();
    chosen.ShowDifference = Difference->isChecked();
    chosen.ReferenceSpins = SpinCountOf(Spins->text());
    Settings = chosen;
    accept();
}
