#pragma once

#include "base/translated_text.h"

#include "config/kav_cfg.h"
#include "config/spin_field_widget.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QLabel;
class QStackedWidget;

// The real-time processing dialog (TRealTimeSetupForm): the low-pass filter
// and the accumulation of sweeps applied while spectra are received, and
// whether the raw trace is drawn beside them. A help text for the part under
// the mouse is shown below. OK writes the fields into the settings record.
class TRealTimeSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit TRealTimeSetupForm(TKavCfg& cfg, QWidget* parent = nullptr);

    // The three help texts: filter, accumulation, raw trace.
    static const std::array<TTrText, 3> HelpTexts;

    // The settings into the controls (done on creation).
    void FormShow();
    // Shows help text `index` (0..2) and hides the others.
    void ShowHelp(int index);

    QCheckBox* EnLPF() const { return Lpf; }
    QSpinBox* LPFConst() const { return LpfConst; }
    QCheckBox* EnSum() const { return Sum; }
    QSpinBox* SumConst() const { return SumCount; }
    QCheckBox* ShowFirstBox() const { return ShowFirst; }
    QGroupBox* FilterGroup() const { return FilterBox; }
    QGroupBox* SumGroup() const { return SumBox; }
    QFrame* ShowFirstPanel() const { return ShowFirstFrame; }
    QLabel* Help(int index) const { return HelpLabels[index]; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SwitchClick();
    void OKBtnClick();

    TKavCfg& Cfg;
    QCheckBox* Lpf = nullptr;
    TSpinField* LpfConst = nullptr;
    QCheckBox* Sum = nullptr;
    TSpinField* SumCount = nullptr;
    QCheckBox* ShowFirst = nullptr;
    QGroupBox* FilterBox = nullptr;
    QGroupBox* SumBox = nullptr;
    QFrame* ShowFirstFrame = nullptr;
    QStackedWidget* HelpStack = nullptr;
    std::array<QLabel*, 3> HelpLabels{};
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
