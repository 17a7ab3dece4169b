#pragma once

#include "config/kav_cfg.h"
#include "config/spin_field_widget.h"

#include <QDialog>

class QPushButton;

// The low-pass filter dialog (TLowPassSetupForm): the filter's time constant
// LPFConst, 2..2000 sweep codes. OK stores it; the action then filters.
class TLowPassSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit TLowPassSetupForm(TKavCfg& cfg, QWidget* parent = nullptr);

    // The settings into the controls (done on creation).
    void FormShow();

    QSpinBox* ConstEdit() const { return Const; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }

private:
    void OKBtnClick();

    TKavCfg& Cfg;
    TSpinField* Const = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
