#include "app/dialog_wiring.h"

#include "app/main_actions.h"
#include "config/auto_save_setup_dialog.h"
#include "config/message_port.h"
#include "config/real_time_setup_dialog.h"
#include "config/unit_setup_dialog.h"
#include "processing/gliss_setup_dialog.h"
#include "processing/low_pass_setup_dialog.h"
#include "processing/min_max_setup_dialog.h"
#include "session/kav_session.h"
#include "view/color_setup_dialog.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>

TDialogWiring::TDialogWiring(TKavSession& session, TMessagePort& port,
                             const TDialogWidgets& widgets)
    : Session(session), Port(port), W(widgets),
      MinMaxSetup(std::make_unique<TMinMaxSetupForm>(session.Settings(), widgets.Window)) {
    const TMainActions& a = W.Actions;
    const std::pair<QAction*, void (TDialogWiring::*)()> handlers[] = {
        {a.AOpenUnits, &TDialogWiring::AOpenUnitsExecute},
        {a.AAutoSave, &TDialogWiring::AAutoSaveExecute},
        {a.ARealTime, &TDialogWiring::ARealTimeExecute},
        {a.AFilterSetup, &TDialogWiring::AFilterSetupExecute},
        {a.AGlissSetup, &TDialogWiring::AGlissSetupExecute},
        {a.AMinMaxSetup, &TDialogWiring::AMinMaxSetupExecute},
        {a.AColorSetup, &TDialogWiring::AColorSetupExecute},
    };
    for (const auto& [action, handler] : handlers)
        QObject::connect(action, &QAction::triggered, W.Window,
                         [this, h = handler] { (this->*h)(); });
}

TDialogWiring::~TDialogWiring() = default;

bool TDialogWiring::Run(QDialog& dialog) {
    dialog.setResult(QDialog::Rejected);
    Port.RunDialog(dialog);
    return dialog.result() == QDialog::Accepted;
}

// OK: what the operator changed becomes the instrument's calibration (a
// calibration an open file brought does not), and everything that shows a
// value in a unit follows the units in force. The settings file is written
// with the instrument's calibration, as the exit writes it.
void TDialogWiring::AOpenUnitsExecute() {
    const TUnitSetupForm* form = nullptr;
    auto write = [this, &form](QString* reason) {
        return Session.SaveCalibration(form->ShownInput(), form->AcceptedInput(), reason);
    };
    TUnitSetupForm dialog(Session.Settings(), Port, Session.DecimalSep(), write, W.Window);
    form = &dialog;
    if (!Run(dialog))
        return;
    Session.KeepCalibration(dialog.ShownInput(), dialog.AcceptedInput());
    W.Plot->ScreenBoxPaint();
    Session.Engine().Controls().RefreshUnitTexts();
    W.ViewBounds->RefreshTexts();
}

void TDialogWiring::AAutoSaveExecute() {
    TAutoSaveSetupFrm dialog(Session.Settings(), W.Window);
    if (Run(dialog))
        W.StatusBar->SetPanel(PanelAutoSave, AutoSavePanelText(Session.Settings().AutoSave));
}

void TDialogWiring::ARealTimeExecute() {
    TRealTimeSetupForm dialog(Session.Settings(), W.Window);
    if (!Run(dialog))
        return;
    // Through the controls, so that the check marks, the blinking and the
    // settings stay one state.
    TInstrumentControls& controls = Session.Engine().Controls();
    controls.ARealTimeLpfExecute(Session.Settings().EnableRTLPF);
    controls.ARealTimeSumExecute(Session.Settings().EnableRTSum);
}

void TDialogWiring::AFilterSetupExecute() {
    TLowPassSetupForm dialog(Session.Settings(), W.Window);
    if (Run(dialog))
        W.Actions.AFilter->trigger();
}

void TDialogWiring::AGlissSetupExecute() {
    TGlissSetupForm dialog(Session.Settings(), W.Window);
    if (Run(dialog))
        W.Actions.AGliss->trigger();
}

void TDialogWiring::AMinMaxSetupExecute() {
    if (Run(*MinMaxSetup))
        W.Actions.AMinMax->trigger();
}

void TDialogWiring::AColorSetupExecute() {
    TColorSetupForm dialog(Session.Settings(), Port, W.Window);
    if (!Run(dialog))
        return;
    W.Plot->ShowBackgroundOn(*W.Screen);
    W.Plot->ScreenBoxPaint();
}
