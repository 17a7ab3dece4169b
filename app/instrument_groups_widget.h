#pragma once

#include "acquisition/controls_state.h"
#include "config/kav_cfg.h"
#include "spectrum/value_format.h"

#include <QWidget>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;
class QToolButton;
class TInstrumentControls;

// The row of four instrument control groups along the bottom of the main
// window: correction voltage, gain, sweep speed and sweep bounds. They show
// the settings; every group starts disabled, and the instrument controls of
// the receive mode enable and drive them: ShowControls renders their state,
// and once bound every act of the operator on a group goes to them.
class TInstrumentGroupsWidget : public QWidget {
    Q_OBJECT
public:
    struct TGroupActions {
        QAction* AStop = nullptr;
        QAction* AStart = nullptr;
        QAction* AResetDiap = nullptr;
        QAction* AMouseSelect = nullptr;
    };

    TInstrumentGroupsWidget(const TKavCfg& cfg, const TValueFormat& format,
                            const TGroupActions& actions, QWidget* parent = nullptr);

    // Gain row, speed row, sweep bounds and correction from the settings,
    // with their unit texts.
    void ShowSettings();
    // A selector row; an index outside its list shows no row.
    void SetGainIndex(int index);
    void SetSpeedIndex(int index);
    // Both selectors show no text, whatever row they hold.
    void BlankSelectorTexts();

    // Renders what changed since the state last shown; the selectors and
    // boxes only when their own value changed, so that rows a loaded file
    // put there stay until the controls choose another.
    void ShowControls(const TControlsState& state);
    // The next ShowControls renders everything.
    void ForgetShown() { HasShown = false; }
    // The operator's acts on the groups go to the controls.
    void Bind(TInstrumentControls& controls);

    QLabel* AmpLbl() const { return AmpLabel; }
    QLabel* SpeedLbl() const { return SpeedLabel; }
    QLabel* CorrLbl() const { return CorrLabel; }
    QLabel* BotLbl() const { return BotLabel; }
    QLabel* TopLbl() const { return TopLabel; }
    QToolButton* UpDnAmp(bool up) const { return up ? AmpUp : AmpDown; }
    QToolButton* UpDnRazv(bool up) const { return up ? SpeedUp : SpeedDown; }
    QSlider* CorrBar() const { return Bar; }
    QLineEdit* BotFieldExt() const { return BotExt; }
    QLineEdit* TopFieldExt() const { return TopExt; }
    QLineEdit* CorrEditExt() const { return CorrExt; }

    QGroupBox* CorrectionGroup() const { return CorrGroup; }
    QGroupBox* GainGroup() const { return AmpGroup; }
    QGroupBox* SpeedGroup() const { return SpeedGroupBox; }
    QGroupBox* BoundsGroup() const { return BoundsGroupBox; }
    QComboBox* AmpBox() const { return Amp; }
    QComboBox* SpeedBox() const { return Speed; }
    QSpinBox* BotField() const { return Bot; }
    QSpinBox* TopField() const { return Top; }
    QSpinBox* CorrEdit() const { return Corr; }

protected:
    void changeEvent(QEvent* event) override;

private:
    QGroupBox* BuildCorrection();
    QGroupBox* BuildGain();
    QGroupBox* BuildSpeed(const TGroupActions& actions);
    QGroupBox* BuildBounds(const TGroupActions& actions);
    void ShowGain(const TGainGroup& g);
    void ShowSpeed(const TSpeedGroup& g);
    void ShowBounds(const TBoundsGroup& g);
    void ShowCorrection(const TCorrectionGroup& g);

    const TKavCfg& Cfg;
    const TValueFormat& Format;
    QGroupBox* CorrGroup = nullptr;
    QGroupBox* AmpGroup = nullptr;
    QGroupBox* SpeedGroupBox = nullptr;
    QGroupBox* BoundsGroupBox = nullptr;
    QComboBox* Amp = nullptr;
    QComboBox* Speed = nullptr;
    QSpinBox* Bot = nullptr;
    QSpinBox* Top = nullptr;
    QSpinBox* Corr = nullptr;
    QLineEdit* BotExt = nullptr;
    QLineEdit* TopExt = nullptr;
    QLineEdit* CorrExt = nullptr;
    QSlider* Bar = nullptr;
    QLabel* AmpLabel = nullptr;
    QLabel* SpeedLabel = nullptr;
    QLabel* CorrLabel = nullptr;
    QLabel* BotLabel = nullptr;
    QLabel* TopLabel = nullptr;
    QToolButton* AmpUp = nullptr;
    QToolButton* AmpDown = nullptr;
    QToolButton* SpeedUp = nullptr;
    QToolButton* SpeedDown = nullptr;
    TControlsState Shown;
    bool HasShown = false;
};
