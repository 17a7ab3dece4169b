#pragma once

#include "config/fit_settings.h"
#include "config/spin_field_widget.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;

// The line fit's dialog: the number of lines (1..4), their shape and the
// microwave frequency of the g-factors in MHz (0: the one computed from the
// DPPH line). It works on a copy of the settings; OK writes the copy back,
// Cancel leaves them as they were.
class TFitSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit TFitSetupForm(TFitSettings& settings, QWidget* parent = nullptr);

    // The settings into the controls (done on creation).
    void FormShow();

    QSpinBox* LineCountEdit() const { return Lines; }
    QComboBox* ShapeBox() const { return Shape; }
    QDoubleSpinBox* FrequencyEdit() const { return Frequency; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }

    // The largest frequency the field takes, MHz.
    static constexpr double MaxFrequencyMHz = 1.0e6;

private:
    void OKBtnClick();

    TFitSettings& Settings;
    TSpinField* Lines = nullptr;
    QComboBox* Shape = nullptr;
    QDoubleSpinBox* Frequency = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
