#pragma once

#include "config/compare_settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The comparison's dialog: the normalisation of the reference, whether to
// look for a field shift, whether to show the difference, and the
// reference's spin count (empty or 0: not given). It works on a copy; OK
// writes the copy back, Cancel leaves the settings as they were. A spin
// count that does not read as a number above 0 counts as not given.
class TCompareSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit TCompareSetupForm(TCompareSettings& settings, QChar decimalSep,
                               QWidget* parent = nullptr);

    void FormShow();

    QComboBox* NormalizationBox() const { return Normalization; }
    QCheckBox* ShiftBox() const { return Shift; }
    QCheckBox* DifferenceBox() const { return Difference; }
    QLineEdit* SpinsEdit() const { return Spins; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }

    // The spin count of a text: either decimal separator, an exponent
    // allowed; 0 for a text that is not a finite number above 0.
    static double SpinCountOf(const QString& text);

private:
    void OKBtnClick();

    TCompareSettings& Settings;
    QChar Sep;
    QComboBox* Normalization = nullptr;
    QCheckBox* Shift = nullptr;
    QCheckBox* Difference = nullptr;
    QLineEdit* Spins = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
