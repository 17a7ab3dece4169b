#pragma once

#include "app/dialog_box_port.h"

#include <QChar>
#include <memory>

class QDialog;
class TDialogPort;
class TKavMainForm;
class TMessagePort;
class TMinMaxSetupForm;

// The option dialogs' actions of the main window: AOpenUnits, AAutoSave,
// ARealTime, AFilterSetup, AGlissSetup, AMinMaxSetup and AColorSetup. Each
// shows its dialog modally through the window's port and, after OK, brings
// the window in line with the new settings. The extremum-search dialog is
// created with the wiring and lives as long as the window; every other
// dialog is created for one opening.
class TDialogWiring {
public:
    TDialogWiring(TKavMainForm& window, TMessagePort& port, QChar decimalSep);
    ~TDialogWiring();
    TDialogWiring(const TDialogWiring&) = delete;
    TDialogWiring& operator=(const TDialogWiring&) = delete;

    // The boxes the dialogs open over themselves (confirmation, warnings,
    // colour chooser) go through `port` from now on; tests answer them.
    void SetDialogPort(TDialogPort& port) { Boxes = &port; }

    TMinMaxSetupForm& MinMaxSetupForm() const { return *MinMaxSetup; }

    void AOpenUnitsExecute();
    void AAutoSaveExecute();
    void ARealTimeExecute();
    void AFilterSetupExecute();
    void AGlissSetupExecute();
    void AMinMaxSetupExecute();
    void AColorSetupExecute();

private:
    // Shows the dialog modally; true when it was closed with OK.
    bool Run(QDialog& dialog);

    TKavMainForm& Window;
    TMessagePort& Port;
    QChar Sep;
    TDialogBoxPort PlatformBoxes;
    TDialogPort* Boxes = &PlatformBoxes;
    std::unique_ptr<TMinMaxSetupForm> MinMaxSetup;
};
