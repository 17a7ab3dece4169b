#include "processing/fit_setup_dialog.h"

#include "config/dialog_buttons_widget.h"
#include "processing/analysis_texts.h"
#include "processing/fit_texts.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QVBoxLayout>

TFitSetupForm::TFitSetupForm(TFitSettings& settings, QWidget* parent)
    : QDialog(parent), Settings(settings) {
    setObjectName(QStringLiteral("TFitSetupForm"));
    setWindowTitle(AnalysisTexts::FitTitle());
    Lines = new TSpinField(MinFitLines, MaxFitLines, this);
    Lines->setObjectName(QStringLiteral("LineCountEdit"));
    Shape = new QComboBox(this);
    Shape->setObjectName(QStringLiteral("ShapeBox"));
    for (int i = 0; i < LineShapeCount; ++i)
        Shape->addItem(LineShapeName(static_cast<TLineShape>(i)));
    Frequency = new QDoubleSpinBox(this);
    Frequency->setObjectName(QStringLiteral("FrequencyEdit"));
    Frequency->setRange(0, MaxFrequencyMHz);
    Frequency->setDecimals(3);
    Frequency->setSingleStep(1);
    auto* form = new QFormLayout;
    form->addRow(AnalysisTexts::FitLineCount(), Lines);
    form->addRow(AnalysisTexts::FitShape(), Shape);
    form->addRow(AnalysisTexts::FitFrequency(), Frequency);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    const TDialogButtons buttons = AddCancelOkRow(this, layout);
    Ok = buttons.Ok;
    Cancel = buttons.Cancel;
    connect(Ok, &QPushButton::clicked, this, &TFitSetupForm::OKBtnClick);
    FormShow();
    setFixedSize(sizeHint());
}

void TFitSetupForm::FormShow() {
    Lines->setValue(Settings.LineCount);
    Shape->setCurrentIndex(static_cast<int>(Settings.Shape));
    Frequency->setValue(Settings.FrequencyMHz);
}

void TFitSetupForm::OKBtnClick() {
    TFitSettings chosen = Settings;
    chosen.LineCount = static_cast<std::uint8_t>(Lines->Value());
    const int shape = Shape->currentIndex();
    if (shape >= 0 && shape < LineShapeCount)
        chosen.Shape = static_cast<TLineShape>(shape);
    chosen.FrequencyMHz = Frequency->value();
    Settings = chosen;
    accept();
}
