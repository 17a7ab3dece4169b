#include "app/instrument_groups_widget.h"

#include "acquisition/controls_state.h"
#include "acquisition/instrument_controls.h"
#include "app/compact_font.h"
#include "base/instrument_tables.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

namespace {

constexpr int GroupHeight = 66;

QGridLayout* GroupGrid(QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(3, 1, 3, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    return grid;
}

QGroupBox* MakeGroup(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    box->setFixedHeight(GroupHeight);
    box->setEnabled(false);
    return box;
}

// A spin box that shows only its arrows; the value is read beside it.
QSpinBox* ArrowsOnly(int low, int high, int step, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    spin->setFixedWidth(16);
    return spin;
}

QLineEdit* ReadOnlyBox(int width, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setMinimumWidth(width);
    return edit;
}

QToolButton* ActionButton(QAction* action, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIconSize(QSize(12, 12));
    button->setFixedSize(18, 18);
    if (action)
        button->setDefaultAction(action);
    return button;
}

QComboBox* Selector(int characters, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(characters);
    return box;
}

// A pair of arrow buttons stepping a selector (UpDnAmp, UpDnRazv).
QWidget* UpDownPair(QWidget* parent, QToolButton*& up, QToolButton*& down) {
    auto* pair = new QWidget(parent);
    auto* layout = new QVBoxLayout(pair);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (Qt::ArrowType type : {Qt::UpArrow, Qt::DownArrow}) {
        auto* b = new QToolButton(pair);
        b->setArrowType(type);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
        (type == Qt::UpArrow ? up : down) = b;
    }
    return pair;
}

// A label or list in a group the instrument has taken over stays readable:
// the group is disabled, but what it names (the control, the instrument's
// own setting) is drawn in the normal text colours. Otherwise it is drawn
// as its group is.
void KeepReadable(QWidget* widget, bool readable) {
    QPalette palette = widget->parentWidget()->palette();
    if (readable) {
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    }
    widget->setPalette(palette);
}

// The numbers of a box written in its own background colour disappear.
void HideNumbers(QWidget* box, bool hidden) {
    QPalette palette = box->parentWidget()->palette();
    if (hidden) {
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Text, palette.color(group, QPalette::Base));
    }
    box->setPalette(palette);
}

} // namespace

TInstrumentGroupsWidget::TInstrumentGroupsWidget(const TKavCfg& cfg, const TValueFormat& format,
                                                 const TGroupActions& actions, QWidget* parent)
    : QWidget(parent), Cfg(cfg), Format(format) {
    // The groups' texts a point smaller than the window's, so the four fit
    // its minimum width.
    setFont(CompactFont(font()));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(BuildCorrection());
    row->addWidget(BuildGain());
    row->addWidget(BuildSpeed(actions));
    row->addWidget(BuildBounds(actions), 1);
    for (int k = 0; k < GainRowCount; ++k)
        Amp->addItem(QString::fromUtf8(GainTable[k].Name));
    for (int k = 0; k < SpeedRowCount; ++k)
        Speed->addItem(SpeedName(k));
    ShowSettings();
}

QGroupBox* TInstrumentGroupsWidget::BuildCorrection() {
    CorrGroup = MakeGroup(tr("Напряжение корр."), this);
    CorrGroup->setToolTip(tr("Управление напряжением коррекции"));
    auto* grid = GroupGrid(CorrGroup);
    CorrExt = ReadOnlyBox(46, CorrGroup);
    CorrExt->setToolTip(tr("Напряжение коррекции"));
    Corr = ArrowsOnly(CorrEditMin, CorrEditMax, CorrEditStep, CorrGroup);
    Corr->setToolTip(tr("Точная коррекция уровня"));
    // Position 0 (+32767) at the top, as the bar reads.
    Bar = new QSlider(Qt::Vertical, CorrGroup);
    Bar->setObjectName(QStringLiteral("CorrBar"));
    Bar->setRange(0, CorrBarMax);
    Bar->setPageStep(128);
    Bar->setTickInterval(4096);
    Bar->setTickPosition(QSlider::TicksRight);
    Bar->setInvertedAppearance(true);
    Bar->setInvertedControls(true);
    Bar->setFixedWidth(22);
    Bar->setToolTip(tr("Грубая коррекция уровня"));
    CorrLabel = new QLabel(DesignLabelText, CorrGroup);
    CorrLabel->setObjectName(QStringLiteral("CorrLbl"));
    grid->addWidget(CorrLabel, 0, 0, 1, 2);
    grid->addWidget(CorrExt, 1, 0);
    grid->addWidget(Corr, 1, 1);
    grid->addWidget(Bar, 0, 2, 2, 1);
    return CorrGroup;
}

QGroupBox* TInstrumentGroupsWidget::BuildGain() {
    AmpGroup = MakeGroup(tr("Усиление"), this);
    auto* grid = GroupGrid(AmpGroup);
    Amp = Selector(3, AmpGroup); // "200"
    Amp->setObjectName(QStringLiteral("AmpBox"));
    AmpLabel = new QLabel(DesignLabelText, AmpGroup);
    AmpLabel->setObjectName(QStringLiteral("AmpLbl"));
    grid->addWidget(AmpLabel, 0, 0, 1, 2);
    grid->addWidget(Amp, 1, 0);
    grid->addWidget(UpDownPair(AmpGroup, AmpUp, AmpDown), 1, 1);
    return AmpGroup;
}

QGroupBox* TInstrumentGroupsWidget::BuildSpeed(const TGroupActions& actions) {
    SpeedGroupBox = MakeGroup(tr("Скорость развертки"), this);
    auto* grid = GroupGrid(SpeedGroupBox);
    Speed = Selector(6, SpeedGroupBox); // "128 мин"
    Speed->setObjectName(QStringLiteral("SpeedBox"));
    SpeedLabel = new QLabel(DesignLabelText, SpeedGroupBox);
    SpeedLabel->setObjectName(QStringLiteral("SpeedLbl"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    buttons->addWidget(SpeedLabel);
    buttons->addStretch(1);
    buttons->addWidget(ActionButton(actions.AStop, SpeedGroupBox));
    buttons->addWidget(ActionButton(actions.AStart, SpeedGroupBox));
    grid->addLayout(buttons, 0, 0, 1, 2);
    grid->addWidget(Speed, 1, 0);
    grid->addWidget(UpDownPair(SpeedGroupBox, SpeedUp, SpeedDown), 1, 1);
    return SpeedGroupBox;
}

QGroupBox* TInstrumentGroupsWidget::BuildBounds(const TGroupActions& actions) {
    BoundsGroupBox = MakeGroup(tr("Границы развёртки"), this);
    auto* grid = GroupGrid(BoundsGroupBox);
    BotExt = ReadOnlyBox(36, BoundsGroupBox);
    TopExt = ReadOnlyBox(36, BoundsGroupBox);
    Bot = ArrowsOnly(BotFieldMin, BotFieldMax, FieldStep, BoundsGroupBox);
    Top = ArrowsOnly(TopFieldMin, TopFieldMax, FieldStep, BoundsGroupBox);
    Bot->setObjectName(QStringLiteral("BotField"));
    Top->setObjectName(QStringLiteral("TopField"));
    BotLabel = new QLabel(tr("Нижняя"), BoundsGroupBox);
    TopLabel = new QLabel(tr("Верхняя"), BoundsGroupBox);
    grid->addWidget(BotLabel, 0, 0);
    grid->addWidget(BotExt, 0, 1);
    grid->addWidget(Bot, 0, 2);
    grid->addWidget(ActionButton(actions.AResetDiap, BoundsGroupBox), 0, 3);
    grid->addWidget(TopLabel, 1, 0);
    grid->addWidget(TopExt, 1, 1);
    grid->addWidget(Top, 1, 2);
    grid->addWidget(ActionButton(actions.AMouseSelect, BoundsGroupBox), 1, 3);
    grid->setColumnStretch(1, 1);
    return BoundsGroupBox;
}

void TInstrumentGroupsWidget::ShowSettings() {
    SetGainIndex(Cfg.Amplifying);
    SetSpeedIndex(Cfg.Rapid);
    {
        const QSignalBlocker b1(Bot);
        const QSignalBlocker b2(Top);
        const QSignalBlocker b3(Corr);
        Bot->setValue(Cfg.PoleMin);
        Top->setValue(Cfg.PoleMax);
        Corr->setValue(Cfg.Correction);
    }
    BotExt->setText(Format.FieldToStr(static_cast<std::uint16_t>(Bot->value())));
    TopExt->setText(Format.FieldToStr(static_cast<std::uint16_t>(Top->value())));
    CorrExt->setText(Format.CorrToStr(Corr->value()));
    const QSignalBlocker b4(Bar);
    Bar->setValue(CorrBarPosition(Corr->value()));
}

void TInstrumentGroupsWidget::SetGainIndex(int index) {
    const QSignalBlocker block(Amp);
    Amp->setCurrentIndex(index >= 0 && index < Amp->count() ? index : -1);
}

void TInstrumentGroupsWidget::SetSpeedIndex(int index) {
    const QSignalBlocker block(Speed);
    Speed->setCurrentIndex(index >= 0 && index < Speed->count() ? index : -1);
}

void TInstrumentGroupsWidget::BlankSelectorTexts() {
    // A selector shows no text while no row is current; the row itself is
    // the instrument controls' business and comes back with the next report.
    SetGainIndex(-1);
    SetSpeedIndex(-1);
}

void TInstrumentGroupsWidget::Bind(TInstrumentControls& controls) {
    TInstrumentControls* c = &controls;
    connect(Amp, &QComboBox::currentIndexChanged, this, [c](int row) { c->AmpBoxChange(row); });
    connect(AmpUp, &QToolButton::clicked, this, [c] { c->UpDnAmpClick(true); });
    connect(AmpDown, &QToolButton::clicked, this, [c] { c->UpDnAmpClick(false); });
    connect(Speed, &QComboBox::currentIndexChanged, this, [c](int row) { c->SpeedBoxChange(row); });
    connect(SpeedUp, &QToolButton::clicked, this, [c] { c->UpDnRazvClick(true); });
    connect(SpeedDown, &QToolButton::clicked, this, [c] { c->UpDnRazvClick(false); });
    connect(Bot, &QSpinBox::valueChanged, this, [c](int value) { c->BotFieldChange(value); });
    connect(Top, &QSpinBox::valueChanged, this, [c](int value) { c->TopFieldChange(value); });
    connect(Corr, &QSpinBox::valueChanged, this, [c](int value) { c->CorrEditChange(value); });
    connect(Bar, &QSlider::valueChanged, this, [c](int position) { c->CorrBarChange(position); });
}

void TInstrumentGroupsWidget::ShowControls(const TControlsState& state) {
    const bool all = !HasShown;
    if (all || !(state.Gain == Shown.Gain))
        ShowGain(state.Gain);
    if (all || !(state.Speed == Shown.Speed))
        ShowSpeed(state.Speed);
    if (all || !(state.Bounds == Shown.Bounds))
        ShowBounds(state.Bounds);
    if (all || !(state.Correction == Shown.Correction))
        ShowCorrection(state.Correction);
    Shown = state;
    HasShown = true;
}

void TInstrumentGroupsWidget::ShowGain(const TGainGroup& g) {
    AmpGroup->setEnabled(g.Enabled);
    AmpLabel->setText(g.Label);
    AmpLabel->setEnabled(g.LabelEnabled);
    KeepReadable(AmpLabel, g.LabelEnabled);
    KeepReadable(Amp, g.LabelEnabled);
    if (!HasShown || g.Selection != Shown.Gain.Selection)
        SetGainIndex(g.Selection);
}

void TInstrumentGroupsWidget::ShowSpeed(const TSpeedGroup& g) {
    SpeedGroupBox->setEnabled(g.Enabled);
    SpeedLabel->setText(g.Label);
    SpeedLabel->setEnabled(g.LabelEnabled);
    KeepReadable(SpeedLabel, g.LabelEnabled);
    KeepReadable(Speed, g.LabelEnabled);
    if (!HasShown || g.Selection != Shown.Speed.Selection)
        SetSpeedIndex(g.Selection);
}

void TInstrumentGroupsWidget::ShowBounds(const TBoundsGroup& g) {
    BoundsGroupBox->setEnabled(g.Enabled);
    BotLabel->setEnabled(g.LabelsEnabled);
    TopLabel->setEnabled(g.LabelsEnabled);
    const QSignalBlocker blockBot(Bot);
    const QSignalBlocker blockTop(Top);
    Bot->setValue(g.Bottom);
    Top->setValue(g.Top);
    BotExt->setText(g.BottomText);
    TopExt->setText(g.TopText);
}

void TInstrumentGroupsWidget::ShowCorrection(const TCorrectionGroup& g) {
    CorrGroup->setEnabled(g.Enabled);
    CorrLabel->setText(g.Label);
    CorrLabel->setEnabled(g.LabelEnabled);
    KeepReadable(CorrLabel, g.LabelEnabled);
    Bar->setEnabled(g.BarEnabled);
    {
        const QSignalBlocker blockCorr(Corr);
        const QSignalBlocker blockBar(Bar);
        Corr->setValue(g.Value);
        Bar->setValue(g.BarPosition);
    }
    CorrExt->setText(g.ValueText);
    HideNumbers(Corr, g.NumbersHidden);
    HideNumbers(CorrExt, g.NumbersHidden);
}

void TInstrumentGroupsWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        CorrGroup->setTitle(tr("Напряжение корр."));
        CorrGroup->setToolTip(tr("Управление напряжением коррекции"));
        CorrExt->setToolTip(tr("Напряжение коррекции"));
        Corr->setToolTip(tr("Точная коррекция уровня"));
        Bar->setToolTip(tr("Грубая коррекция уровня"));
        AmpGroup->setTitle(tr("Усиление"));
        SpeedGroupBox->setTitle(tr("Скорость развертки"));
        BoundsGroupBox->setTitle(tr("Границы развёртки"));
        BotLabel->setText(tr("Нижняя"));
        TopLabel->setText(tr("Верхняя"));
        for (int k = 0; k < Speed->count(); ++k)
            Speed->setItemText(k, SpeedName(k));
    }
    QWidget::changeEvent(event);
}
