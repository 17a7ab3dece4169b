// The start-up and shut-down orders of the main window.

#include "acquisition/adc_window.h"
#include "acquisition/message_window.h"
#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/window_places.h"
#include "config/message_port.h"
#include "session/kav_session.h"
#include "spectrum/recent_files.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QShowEvent>
#include <QTimer>
#include <QToolBar>

// Window creation, after the session read the settings: the settings into
// the controls and the recent-files menus.
void TKavMainForm::ShowStartupSettings() {
    const TKavCfg& cfg = Session.Settings();
    A.AToolBar->setChecked(cfg.ToolBar);
    ToolBar->setVisible(cfg.ToolBar);
    PlotBox->ShowBackgroundOn(*Screen);
    VisirController->ApplyStoredVisirs();
    Groups->ShowSettings(); // PoleMin, PoleMax, Rapid, Amplifying, Correction
    A.ASwLPF->setChecked(cfg.EnableRTLPF);
    A.ASWSum->setChecked(cfg.EnableRTSum);
    UpdateRecentFiles(Session.RecentFiles(), QString(), *this);
}

void TKavMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!Shown) {
        Shown = true;
        FirstShow();
    }
}

// The first show: panels blanked, the window placed, the session's start
// mode, the view bounds applied.
void TKavMainForm::FirstShow() {
    KavStatusBar->ClearPanels();
    PlaceFromSettings();
    PlaceLinkWindows();
    // A settings file that is there but cannot be read leaves the defaults
    // in force; the operator is told as soon as the window is up, without
    // stopping the program. The box waits for the window so it shows above it.
    if (!Session.StartupWarning().isEmpty())
        QTimer::singleShot(0, this, [this] { Port.NonModalWarning(Session.StartupWarning()); });
    Session.EnterStartMode();
    Bounds->LoadFromSettings();
}

void TKavMainForm::PlaceFromSettings() {
    const TWindowPlace& p = Session.Settings().Position;
    if (p.Width > 0 && p.Height > 0)
        resize(std::max(p.Width, MinimumWidth), std::max(p.Height, MinimumHeight));
    move(p.Left, p.Top);
    ShowWindowState(*this, p.State);
}

TWindowFacts TKavMainForm::WindowFacts() const {
    TWindowFacts facts;
    facts.Main = PlaceOf(*this);
    facts.Messages = PlaceOf(*MsgForm);
    facts.Messages.Style = MsgForm->StaysOnTop() ? StaysOnTopStyle : 0;
    facts.Messages.Visible = MsgForm->isVisible();
    facts.AdcLeft = ADCForm->x();
    facts.AdcTop = ADCForm->y();
    facts.ToolBarShown = A.AToolBar->isChecked();
    return facts;
}

// When the settings file cannot be written the window stays open exactly as
// it was, and closing it again repeats the attempt; the two small windows
// go with the main window.
void TKavMainForm::closeEvent(QCloseEvent* event) {
    if (!Session.SaveAtExit(WindowFacts(), [this](const QString& reason) {
            return Port.SettingsNotSaved(reason);
        })) {
        event->ignore();
        return;
    }
    MsgForm->hide();
    ADCForm->hide();
    event->accept();
}
