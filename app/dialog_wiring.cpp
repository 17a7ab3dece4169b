#include "app/dialog_wiring.h"

#include "acquisition/acquisition_engine.h"
#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/message_port.h"
#include "config/auto_save_setup_dialog.h"
#include "config/real_time_setup_dialog.h"
#include "config/settings_store.h"
#include "config/unit_setup_dialog.h"
#include "processing/gliss_setup_dialog.h"
#include "processing/low_pass_setup_dialog.h"
#include "processing/min_max_setup_dialog.h"
#include "view/color_setup_dialog.h"
#include "view/display_color_painter.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>

namespace {

constexpr int AutoSavePanel = 8;

} // namespace

TDialogWiring::TDialogWiring(TKavMainForm& window, TMessagePort& port, QChar decimalSep)
    : Window(window), Port(port), Sep(decimalSep),
      MinMaxSetup(std::make_unique<TMinMaxSetupForm>(window.Settings(), &window)) {
    const TMainActions& a = window.Actions();
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
        QObject::connect(action, &QAction::triggered, &window,
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
    TKavCfg& cfg = Window.Settings();
    const TUnitSetupForm* form = nullptr;
    auto write = [this, &form](QString* reason) {
        TKavCfg out = Window.Settings();
        KeepInstrumentCalibration(out, form->ShownInput(), form->AcceptedInput(), Sep);
        RestoreUnitSnapshot(out);
        return SaveSettings(out, Window.RecentFiles(), SettingsFilePath(), Sep, reason);
    };
    TUnitSetupForm dialog(cfg, *Boxes, Sep, write, &Window);
    form = &dialog;
    if (!Run(dialog))
        return;
    KeepInstrumentCalibration(cfg, dialog.ShownInput(), dialog.AcceptedInput(), Sep);
    Window.Plot()->ScreenBoxPaint();
    Window.Engine().Controls().RefreshUnitTexts();
    Window.ViewBounds()->RefreshTexts();
}

void TDialogWiring::AAutoSaveExecute() {
    TAutoSaveSetupFrm dialog(Window.Settings(), &Window);
    if (Run(dialog))
        Window.StatusPanels()->SetPanel(AutoSavePanel,
                                        Window.Settings().AutoSave
                                            ? QCoreApplication::translate("DialogWiring", "АВТО")
                                            : QString());
}

void TDialogWiring::ARealTimeExecute() {
    TRealTimeSetupForm dialog(Window.Settings(), &Window);
    if (!Run(dialog))
        return;
    // Through the controls, so that the check marks, the blinking and the
    // settings stay one state.
    TInstrumentControls& controls = Window.Engine().Controls();
    controls.ARealTimeLpfExecute(Window.Settings().EnableRTLPF);
    controls.ARealTimeSumExecute(Window.Settings().EnableRTSum);
}

void TDialogWiring::AFilterSetupExecute() {
    TLowPassSetupForm dialog(Window.Settings(), &Window);
    if (Run(dialog))
        Window.Actions().AFilter->trigger();
}

void TDialogWiring::AGlissSetupExecute() {
    TGlissSetupForm dialog(Window.Settings(), &Window);
    if (Run(dialog))
        Window.Actions().AGliss->trigger();
}

void TDialogWiring::AMinMaxSetupExecute() {
    if (Run(*MinMaxSetup))
        Window.Actions().AMinMax->trigger();
}

void TDialogWiring::AColorSetupExecute() {
    TColorSetupForm dialog(Window.Settings(), *Boxes, &Window);
    if (!Run(dialog))
        return;
    QPalette palette = Window.ScreenPanel()->palette();
    palette.setColor(QPalette::Window, ToQColor(Window.Settings().DisplayColors.BackGround));
    Window.ScreenPanel()->setPalette(palette);
    Window.Plot()->ScreenBoxPaint();
}
