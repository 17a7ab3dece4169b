#pragma once

#include "config/kav_cfg.h"

#include <QDialog>

class QPushButton;
class QSpinBox;

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
    QSpinBox* Const = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
