#pragma once

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

// The row of four instrument control groups along the bottom of the main
// window: correction voltage, gain, sweep speed and sweep bounds. They show
// the settings; every group starts disabled, and the instrument controls of
// the receive mode enable and drive them.
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

    QGroupBox* CorrectionGroup() const { return CorrGroup; }
    QGroupBox* GainGroup() const { return AmpGroup; }
    QGroupBox* SpeedGroup() const { return SpeedGroupBox; }
    QGroupBox* BoundsGroup() const { return BoundsGroupBox; }
    QComboBox* AmpBox() const { return Amp; }
    QComboBox* SpeedBox() const { return Speed; }
    QSpinBox* BotField() const { return Bot; }
    QSpinBox* TopField() const { return Top; }
    QSpinBox* CorrEdit() const { return Corr; }

private:
    QGroupBox* BuildCorrection();
    QGroupBox* BuildGain();
    QGroupBox* BuildSpeed(const TGroupActions& actions);
    QGroupBox* BuildBounds(const TGroupActions& actions);

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
    QSlider* CorrBar = nullptr;
};
