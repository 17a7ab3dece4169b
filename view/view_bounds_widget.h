#pragma once

#include "config/kav_cfg.h"
#include "spectrum/value_format.h"

#include <QWidget>

class QLineEdit;
class QSpinBox;

// The view bound editors of the visir strip: MinView and MaxView (spin edits
// stepping by 10) with their read-only companions MinViewExt and MaxViewExt,
// which show the bounds in the selected sweep unit. The settings record is
// the truth; the edits follow it. A change emits ViewChanged once, and the
// window repaints the plot on it.
class TViewBoundsWidget : public QWidget {
    Q_OBJECT
public:
    TViewBoundsWidget(TKavCfg& cfg, const TValueFormat& format, QWidget* parent = nullptr);

    // The stored ViewMin/ViewMax into the edits, through the change rule
    // (out-of-range or crossed stored bounds are corrected); emits once.
    void LoadFromSettings();
    // Both bounds at once (a mouse selection); emits once.
    void SetBounds(int minCode, int maxCode);
    // The unit texts again from the settings (after a unit change or a
    // loaded file).
    void RefreshTexts();
    // A loaded file's ready-made texts.
    void SetExtTexts(const QString& minText, const QString& maxText);

    // AAllView: ordinate scale 0 and the whole sweep; AIncScale/ADecScale:
    // one ordinate scale step. Each emits ViewChanged when something changed
    // (AAllView always).
    void AAllViewExecute();
    void AIncScaleExecute();
    void ADecScaleExecute();

    QSpinBox* MinView() const { return MinSpin; }
    QSpinBox* MaxView() const { return MaxSpin; }
    QLineEdit* MinViewExt() const { return MinExt; }
    QLineEdit* MaxViewExt() const { return MaxExt; }

signals:
    void ViewChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The hints in the program's language.
    void Retranslate();
    void MinEdited(int value);
    void MaxEdited(int value);
    void ShowSettings();

    TKavCfg& Cfg;
    const TValueFormat& Format;
    QSpinBox* MinSpin;
    QSpinBox* MaxSpin;
    QLineEdit* MinExt;
    QLineEdit* MaxExt;
};
