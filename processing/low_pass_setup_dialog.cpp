#include "processing/low_pass_setup_dialog.h"

#include "config/dialog_buttons_widget.h"
#include "config/spin_field_widget.h"

#include <QGroupBox>
#include <QVBoxLayout>

TLowPassSetupForm::TLowPassSetupForm(TKavCfg& cfg, QWidget* parent) : QDialog(parent), Cfg(cfg) {
    setObjectName(QStringLiteral("TLowPassSetupForm"));
    setWindowTitle(tr("Фильтр низкой чстоты"));
    auto* group = new QGroupBox(tr("Постоянная времени фильтра в отсчетах развертки"), this);
    Const = new TSpinField(2, 2000, group);
    Const->setObjectName(QStringLiteral("ConstEdit"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(Const, 0, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    const TDialogButtons buttons = AddCancelOkRow(this, layout);
    Ok = buttons.Ok;
    Cancel = buttons.Cancel;
    connect(Ok, &QPushButton::clicked, this, &TLowPassSetupForm::OKBtnClick);
    FormShow();
    setFixedSize(sizeHint());
}

void TLowPassSetupForm::FormShow() {
    Const->setValue(Cfg.LPFConst);
}

void TLowPassSetupForm::OKBtnClick() {
    Cfg.LPFConst = Const->Value();
    accept();
}
