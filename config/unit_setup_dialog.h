#pragma once

#include "base/translated_text.h"

#include "config/kav_cfg.h"
#include "config/message_port.h"
#include "config/unit_calibration.h"

#include <QDialog>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The calibration dialog (TUnitSetupForm): one page per unit group with the
// group's selection and, for every unit, its Min and Max values, which stay
// read-only until "Разрешить изменения" is ticked and confirmed. OK takes
// every value and selection into the settings record (ApplyCalibration) and,
// unless the changes were locked again, writes the settings file through the
// writer it is given (which stores the instrument's calibration: see
// KeepInstrumentCalibration).
class TUnitSetupForm : public QDialog {
    Q_OBJECT
public:
    // Writes the whole settings record to the settings file; on failure
    // false and the reason.
    using TSettingsWriter = std::function<bool(QString* reason)>;

    TUnitSetupForm(TKavCfg& cfg, TMessagePort& port, QChar decimalSep,
                   TSettingsWriter writeSettings, QWidget* parent = nullptr);

    // The question before the values are unlocked.
    static const TTrText ConfirmText;
    // The text between a unit's Min and Max edits.
    static const QString BetweenText;

    // The settings into the controls (done on creation).
    void FormShow();

    bool ChangesLocked() const { return Locked; }
    // What the dialog showed, and what its last accepted OK read.
    const TCalibrationInput& ShownInput() const { return Shown; }
    const TCalibrationInput& AcceptedInput() const { return Accepted; }
    // A field that OK refused is marked until it is edited or OK is pressed
    // again.
    static bool IsMarked(const QLineEdit* edit);

    QTabWidget* PageControl() const { return Pages; }
    QCheckBox* EnableBox() const { return Enable; }
    QPushButton* OKBtn() const { return Ok; }
    QPushButton* CancelBtn() const { return Cancel; }
    QLineEdit* MinEdit(int row) const { return MinEdits[row]; }
    QLineEdit* MaxEdit(int row) const { return MaxEdits[row]; }
    QLabel* NameLabel(int row) const { return NameLabels[row]; }
    QButtonGroup* RadioGroup(TUnitGroup group) const {
        return RadioGroups[static_cast<int>(group)];
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildPage(TUnitGroup group);
    void EnableBoxClick(bool checked);
    void OKBtnClick();
    void SetEditsReadOnly(bool readOnly);
    void Mark(QLineEdit* edit, bool marked);
    bool TypedCharacterAllowed(const QString& text) const;

    TKavCfg& Cfg;
    TMessagePort& Port;
    QChar Sep;
    TSettingsWriter WriteSettings;
    bool Locked = false;
    TCalibrationInput Shown;
    TCalibrationInput Accepted;

    QTabWidget* Pages = nullptr;
    QCheckBox* Enable = nullptr;
    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
    std::array<QLineEdit*, CalibrationRowCount> MinEdits{};
    std::array<QLineEdit*, CalibrationRowCount> MaxEdits{};
    std::array<QLabel*, CalibrationRowCount> NameLabels{};
    std::array<QButtonGroup*, UnitGroupCount> RadioGroups{};
};
