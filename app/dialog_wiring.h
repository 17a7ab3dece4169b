#pragma once

#include <memory>

class QDialog;
class QFrame;
class QWidget;
class TKavSession;
class TKavStatusBar;
class TMessagePort;
class TMinMaxSetupForm;
class TPlotWidget;
class TViewBoundsWidget;
struct TMainActions;

// The widgets the option dialogs bring in line after OK.
struct TDialogWidgets {
    QWidget* Window = nullptr; // the dialogs' parent
    const TMainActions& Actions;
    QFrame* Screen = nullptr; // the frame around the plot
    TPlotWidget* Plot = nullptr;
    TViewBoundsWidget* ViewBounds = nullptr;
    TKavStatusBar* StatusBar = nullptr;
};

// The option dialogs' actions of the main window: AOpenUnits, AAutoSave,
// ARealTime, AFilterSetup, AGlissSetup, AMinMaxSetup and AColorSetup. Each
// shows its dialog modally through the port and, after OK, brings the
// session and the widgets in line with the new settings. The extremum-search
// dialog is created with the wiring and lives as long as the window; every
// other dialog is created for one opening. The boxes a dialog opens over
// itself go through the same port.
class TDialogWiring {
public:
    TDialogWiring(TKavSession& session, TMessagePort& port, const TDialogWidgets& widgets);
    ~TDialogWiring();
    TDialogWiring(const TDialogWiring&) = delete;
    TDialogWiring& operator=(const TDialogWiring&) = delete;

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

    TKavSession& Session;
    TMessagePort& Port;
    TDialogWidgets W;
    std::unique_ptr<TMinMaxSetupForm> MinMaxSetup;
};
