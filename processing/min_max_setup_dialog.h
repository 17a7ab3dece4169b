#pragma once

#include "config/kav_cfg.h"
#include "config/spin_field_widget.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

// The extremum-search dialog (TMinMaxSetupForm): the smallest amplitude of an
// extremum FindMaxNoise (10..2000 ADC codes), the smallest distance between
// extrema FindMaxStep (50..2000 sweep codes), and AutoMinMax, the search
// after every sweep. One instance lives for the whole run; every show loads
// the settings afresh. OK stores them; the action then searches.
class TMinMaxSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit TMinMaxSetupForm(TKavCfg& cfg, QWidget* parent = nullptr);

    // The settings into the controls (done on creation and on every show).
    void FormShow();

    QSpinBox* NoiseEdit() const { return Noise; }
    QSpinBox* StepEdit() const { return Step; }
    QCheckBox* AutoBox() const { return Auto; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OKBtnClick();

    TKavCfg& Cfg;
    TSpinField* Noise = nullptr;
    TSpinField* Step = nullptr;
    QCheckBox* Auto = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
