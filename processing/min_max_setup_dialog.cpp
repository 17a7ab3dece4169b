#include "processing/min_max_setup_dialog.h"

#include "config/dialog_buttons_widget.h"
#include "config/spin_field_widget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

TSpinField* TenStepSpin(int low, int high, QWidget* parent) {
    auto* spin = new TSpinField(low, high, parent);
    spin->setSingleStep(10);
    return spin;
}

} // namespace

TMinMaxSetupForm::TMinMaxSetupForm(TKavCfg& cfg, QWidget* parent) : QDialog(parent), Cfg(cfg) {
    setObjectName(QStringLiteral("TMinMaxSetupForm"));
    setWindowTitle(tr("Поиск экстремумов"));
    auto* group = new QGroupBox(tr("Параметры поиска экстремумов"), this);
    Noise = TenStepSpin(10, 2000, group);
    Noise->setObjectName(QStringLiteral("NoiseEdit"));
    Step = TenStepSpin(50, 2000, group);
    Step->setObjectName(QStringLiteral("StepEdit"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(tr("Минимальная амплитуда экстремума"), group), 0, 0);
    grid->addWidget(Noise, 0, 1);
    grid->addWidget(new QLabel(tr("отсч. АЦП"), group), 0, 2);
    grid->addWidget(new QLabel(tr("Минимальное расстояние между экстремумами"), group), 1, 0);
    grid->addWidget(Step, 1, 1);
    grid->addWidget(new QLabel(tr("отсч. ЦАП"), group), 1, 2);
    grid->setColumnStretch(0, 1);
    Auto = new QCheckBox(tr("Автоматически искать экстремумы после каждой развертки"), this);
    Auto->setObjectName(QStringLiteral("AutoBox"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(Auto);
    layout->addStretch(1);
    const TDialogButtons buttons = AddCancelOkRow(this, layout);
    Ok = buttons.Ok;
    Cancel = buttons.Cancel;
    connect(Ok, &QPushButton::clicked, this, &TMinMaxSetupForm::OKBtnClick);
    FormShow();
    // A sizeable window that starts at the size its contents need.
    resize(sizeHint());
}

void TMinMaxSetupForm::FormShow() {
    // Values outside a field's range show at the nearer bound; the arrows
    // step by 10 from whatever value is shown.
    Noise->setValue(Cfg.FindMaxNoise);
    Step->setValue(Cfg.FindMaxStep);
    Auto->setChecked(Cfg.AutoMinMax);
}

void TMinMaxSetupForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TMinMaxSetupForm::OKBtnClick() {
    Cfg.FindMaxStep = static_cast<std::uint16_t>(Step->Value());
    Cfg.FindMaxNoise = static_cast<std::uint16_t>(Noise->Value());
    Cfg.AutoMinMax = Auto->isChecked();
    accept();
}
