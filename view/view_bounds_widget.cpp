#include "view/view_bounds_widget.h"

#include "view/view_bounds.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

QSpinBox* MakeBoundEdit(int low, int high, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(low, high);
    spin->setSingleStep(10);
    spin->setKeyboardTracking(false);
    return spin;
}

QLineEdit* MakeUnitText(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setMinimumWidth(70);
    return edit;
}

} // namespace

TViewBoundsWidget::TViewBoundsWidget(TKavCfg& cfg, const TValueFormat& format, QWidget* parent)
    : QWidget(parent), Cfg(cfg), Format(format) {
    MinSpin = MakeBoundEdit(MinViewLow, MinViewHigh, this);
    MaxSpin = MakeBoundEdit(MaxViewLow, MaxViewHigh, this);
    MinExt = MakeUnitText(this);
    MaxExt = MakeUnitText(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MinSpin);
    layout->addWidget(MinExt);
    layout->addWidget(MaxSpin);
    layout->addWidget(MaxExt);
    Retranslate();
    ShowSettings();
    connect(MinSpin, &QSpinBox::valueChanged, this, &TViewBoundsWidget::MinEdited);
    connect(MaxSpin, &QSpinBox::valueChanged, this, &TViewBoundsWidget::MaxEdited);
}

void TViewBoundsWidget::Retranslate() {
    MinSpin->setToolTip(tr("Нижняя граница отображения"));
    MaxSpin->setToolTip(tr("Верхняя граница отображения"));
}

void TViewBoundsWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

void TViewBoundsWidget::ShowSettings() {
    {
        const QSignalBlocker blockMin(MinSpin);
        const QSignalBlocker blockMax(MaxSpin);
        MinSpin->setValue(Cfg.ViewMin);
        MaxSpin->setValue(Cfg.ViewMax);
    }
    RefreshTexts();
}

void TViewBoundsWidget::RefreshTexts() {
    SetExtTexts(Format.FieldToStr(static_cast<std::uint16_t>(Cfg.ViewMin)),
                Format.FieldToStr(static_cast<std::uint16_t>(Cfg.ViewMax)));
}

void TViewBoundsWidget::SetExtTexts(const QString& minText, const QString& maxText) {
    MinExt->setText(minText);
    MaxExt->setText(maxText);
}

void TViewBoundsWidget::MinEdited(int value) {
    SetViewMin(Cfg, value);
    ShowSettings();
    emit ViewChanged();
}

void TViewBoundsWidget::MaxEdited(int value) {
    SetViewMax(Cfg, value);
    ShowSettings();
    emit ViewChanged();
}

void TViewBoundsWidget::LoadFromSettings() {
    SetBounds(Cfg.ViewMin, Cfg.ViewMax);
}

void TViewBoundsWidget::SetBounds(int minCode, int maxCode) {
    SetViewBounds(Cfg, minCode, maxCode);
    ShowSettings();
    emit ViewChanged();
}

void TViewBoundsWidget::AAllViewExecute() {
    Cfg.OrdScale = 0;
    SetBounds(MinViewLow, MaxViewHigh);
}

void TViewBoundsWidget::AIncScaleExecute() {
    if (IncOrdScale(Cfg))
        emit ViewChanged();
}

void TViewBoundsWidget::ADecScaleExecute() {
    if (DecOrdScale(Cfg))
        emit ViewChanged();
}
