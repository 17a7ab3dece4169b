#pragma once

#include "config/kav_cfg.h"
#include "config/spin_field_widget.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

// The smoothing dialog (TGlissSetupForm): the smoothing constant GlissConst,
// 2..2000 sweep codes, and AutoGliss, smoothing after every sweep. OK stores
// them; the action then smooths.
class TGlissSetupForm : public QDialog {
    Q_OBJECT
public:
    explicit TGlissSetupForm(TKavCfg& cfg, QWidget* parent = nullptr);

    // The settings into the controls (done on creation).
    void FormShow();

    QSpinBox* ConstEdit() const { return Const; }
    QCheckBox* AutoBox() const { return Auto; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }

private:
    void OKBtnClick();

    TKavCfg& Cfg;
    TSpinField* Const = nullptr;
    QCheckBox* Auto = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
};
