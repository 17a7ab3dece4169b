// The start-up and shut-down orders of the main window.

#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/message_port.h"
#include "config/settings_store.h"
#include "spectrum/point_store.h"
#include "spectrum/recent_files.h"
#include "view/display_color.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_controller.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QScreen>
#include <QShowEvent>
#include <QToolBar>

namespace {

constexpr int StopSpeedRow = 2; // " СТОП" in the speed table

} // namespace

// Window creation: settings, the unit snapshot, the settings into the
// controls, an empty store and the recent-files menus.
void TKavMainForm::LoadStartupSettings() {
    TKavCfg fresh{};
    SetDefaults(fresh, QDir::currentPath());
    Cfg = fresh;
    LoadSettings(Cfg, Recent, SettingsFilePath(), DecimalSep);
    SaveUnitSnapshot(Cfg);

    A.AToolBar->setChecked(Cfg.ToolBar);
    ToolBar->setVisible(Cfg.ToolBar);

    QPalette palette = Screen->palette();
    palette.setColor(QPalette::Window, ToQColor(Cfg.DisplayColors.BackGround));
    Screen->setPalette(palette);

    VisirController->ApplyStoredVisirs();

    Groups->ShowSettings(); // PoleMin, PoleMax, Rapid, Amplifying, Correction
    SavedRapid = Cfg.Rapid;
    A.ASwLPF->setChecked(Cfg.EnableRTLPF);
    A.ASWSum->setChecked(Cfg.EnableRTSum);
    ClearPoints(*PointStore);
    UpdateRecentFiles(Recent, QString(), *this);
}

void TKavMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!Shown) {
        Shown = true;
        FirstShow();
    }
}

// The first show: panels blanked, the window placed, the mode set, the last
// file re-opened in analysis mode, the view bounds applied.
void TKavMainForm::FirstShow() {
    KavStatusBar->ClearPanels();
    PlaceFromSettings();
    // The message and ADC windows come with the receive side; their stored
    // places stay as read and are written back unchanged.
    A.AMessageView->setChecked(Cfg.MsgWindow.Visible);
    SetReceiveMode(Cfg.Mode);
    SpectrumResults.Clear();
    SpectrumResults.MaxPositions.clear();
    SpectrumResults.MinPositions.clear();
    SpectrumResults.PairAmplitudes.clear();
    // A start with Mode on does not re-open the last file, as the receive
    // mode will not once it is wired.
    if (!Cfg.Mode && !Cfg.LastOpen.isEmpty() && QFileInfo(Cfg.LastOpen).isFile())
        OpenAndReport(Cfg.LastOpen);
    Bounds->LoadFromSettings();
    A.AADCView->setChecked(Cfg.ADCEnable);
}

void TKavMainForm::PlaceFromSettings() {
    const TWindowPlace& p = Cfg.Position;
    if (p.Width > 0 && p.Height > 0)
        resize(std::max(p.Width, MinimumWidth), std::max(p.Height, MinimumHeight));
    move(p.Left, p.Top);
    if (p.State == 2)
        setWindowState(windowState() | Qt::WindowMaximized);
    else if (p.State == 1)
        setWindowState(windowState() | Qt::WindowMinimized);
}

// Receiving is not wired yet: the program stays in analysis mode whatever it
// is asked, and Mode keeps its stored value.
void TKavMainForm::SetReceiveMode(bool on) {
    Q_UNUSED(on);
    Receiving = false;
    A.AAnalyse->setChecked(true);
    A.AAnalyse->setEnabled(false);
    A.AReceive->setChecked(false);
}

void TKavMainForm::closeEvent(QCloseEvent* event) {
    if (SaveOnClose())
        event->accept();
    else
        event->ignore();
}

// The shut-down order on a copy of the settings: when the file cannot be
// written the window stays open exactly as it was, and closing it again
// repeats the attempt.
bool TKavMainForm::SaveOnClose() {
    TKavCfg out = Cfg;
    RestoreUnitSnapshot(out);
    if (out.Rapid == StopSpeedRow)
        out.Rapid = SavedRapid;
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized)
        out.Position.State = 1;
    else if (state & Qt::WindowMaximized)
        out.Position.State = 2;
    else
        out.Position.State = 0;
    if (out.Position.State == 0) {
        out.Position.Left = x();
        out.Position.Top = y();
        out.Position.Width = width();
        out.Position.Height = height();
    }
    out.ToolBar = A.AToolBar->isChecked();
    QString error;
    if (!SaveSettings(out, Recent, SettingsFilePath(), DecimalSep, &error)) {
        Port.Error(error);
        return false;
    }
    Cfg = out;
    return true;
}
