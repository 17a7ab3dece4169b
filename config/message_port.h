#pragma once

#include "base/translated_text.h"
#include "config/kav_cfg.h"

#include <QString>
#include <optional>

class QDialog;
class QPrinter;

// What a file dialog is asked for: its title, the directory it opens in, the
// filter, the extension added to a bare name, and whether it asks before an
// existing file is overwritten.
struct TFileDialogRequest {
    QString Title;
    QString Directory;
    QString Filter;
    QString DefaultSuffix;
    bool ConfirmOverwrite = false;
    QString FileName; // a name the dialog proposes in Directory; empty: none
};

// The operator's answer when the settings could not be written at exit.
enum class TSettingsSaveAnswer { Retry, CloseWithoutSaving, StayOpen };

// The one seam through which the program asks the user: message boxes, the
// confirmation and the colour chooser of the option dialogs, the file
// dialogs, the modal dialogs and the printer setup. The program answers them
// with the platform's modal boxes (over the dialog that is open, if one is);
// tests answer them from a script without a modal loop.
class TMessagePort {
public:
    enum class TAnswer { Yes, No, Cancel };

    virtual ~TMessagePort() = default;

    // Message boxes with one OK button.
    virtual void Warning(const QString& text) = 0;
    virtual void Information(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    // A confirmation with the buttons Yes, No and Cancel.
    virtual TAnswer Confirm(const QString& text) = 0;
    // The colour chooser, started at `initial`; nothing when cancelled.
    virtual std::optional<TColorValue> ChooseColor(TColorValue initial) = 0;

    // The chosen file's full name, or empty when the dialog was cancelled.
    virtual QString OpenFileName(const TFileDialogRequest& request) = 0;
    virtual QString SaveFileName(const TFileDialogRequest& request) = 0;

    // A modal dialog of the window (an option dialog, the about box): shown
    // until closed.
    virtual void RunDialog(QDialog& dialog) = 0;
    // The platform's printer setup on the program's printer (which printer,
    // its paper and orientation); true when the user confirmed it.
    virtual bool PrinterSetup(QPrinter& printer) = 0;

    // The settings file could not be written at exit (text: the reason): try
    // again, close without saving, or keep the program open. A port that
    // cannot ask shows the error and keeps the program open.
    virtual TSettingsSaveAnswer SettingsNotSaved(const QString& text) {
        Error(SettingsNotSavedText + text);
        return TSettingsSaveAnswer::StayOpen;
    }
    // A warning that does not wait for the operator: the program goes on
    // (receiving, drawing) while it is shown.
    virtual void NonModalWarning(const QString& text) { Warning(text); }

    static inline constexpr TTrText SettingsNotSavedText{
        "MessagePort",
        QT_TRANSLATE_NOOP("MessagePort", "Настройки не сохранены в файл Kav.ini.\n")};
};

// The warning at start-up when Kav.ini is there but cannot be read; %1: the
// file and the system's reason.
inline constexpr TTrText StartupSettingsNotReadText{
    "MessagePort",
    QT_TRANSLATE_NOOP(
        "MessagePort",
        "Ошибка чтения файла настроек %1\nПрограмма работает с настройками по умолчанию.")};
