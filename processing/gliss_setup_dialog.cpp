#include "processing/gliss_setup_dialog.h"

#include "config/dialog_buttons_widget.h"
#include "config/spin_field_widget.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

TGlissSetupForm::TGlissSetupForm(TKavCfg& cfg, QWidget* parent) : QDialog(parent), Cfg(cfg) {
    setObjectName(QStringLiteral("TGlissSetupForm"));
    setWindowTitle(tr("Сглаживание спектра"));
    auto* group = new QGroupBox(tr("Постоянная сглаживания в отсчетах развертки"), this);
    Const = new TSpinField(2, 2000, group);
    Const->setObjectName(QStringLiteral("ConstEdit"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(Const, 0, Qt::AlignLeft);
    Auto = new QCheckBox(tr("Автоматически сглаживать спектр после каждой развертки"), this);
    Auto->setObjectName(QStringLiteral("AutoBox"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(Auto);
    const TDialogButtons buttons = AddCancelOkRow(this, layout);
    Ok = buttons.Ok;
    Cancel = buttons.Cancel;
    connect(Ok, &QPushButton::clicked, this, &TGlissSetupForm::OKBtnClick);
    FormShow();
    setFixedSize(sizeHint());
}

void TGlissSetupForm::FormShow() {
    Const->setValue(Cfg.GlissConst);
    Auto->setChecked(Cfg.AutoGliss);
}

void TGlissSetupForm::OKBtnClick() {
    Cfg.GlissConst = Const->Value();
    Cfg.AutoGliss = Auto->isChecked();
    accept();
}
