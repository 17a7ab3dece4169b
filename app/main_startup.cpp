// The start-up and shut-down orders of the main window.

#include "acquisition/acquisition_engine.h"
#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/message_port.h"
#include "config/settings_store.h"
#include "spectrum/point_store.h"
#include "spectrum/recent_files.h"
#include "view/display_color_painter.h"
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
#include <QTimer>
#include <QToolBar>

// Window creation: settings, the unit snapshot, the settings into the
// controls, an empty store and the recent-files menus.
void TKavMainForm::LoadStartupSettings() {
    TKavCfg fresh{};
    SetDefaults(fresh, QDir::currentPath());
    Cfg = fresh;
    if (!LoadSettings(Cfg, Recent, SettingsFilePath(), DecimalSep, &SettingsReadError))
        SettingsReadError = StartupSettingsNotReadText.arg(SettingsReadError);
    SaveUnitSnapshot(Cfg);

    A.AToolBar->setChecked(Cfg.ToolBar);
    ToolBar->setVisible(Cfg.ToolBar);

    QPalette palette = Screen->palette();
    palette.setColor(QPalette::Window, ToQColor(Cfg.DisplayColors.BackGround));
    Screen->setPalette(palette);

    VisirController->ApplyStoredVisirs();

    Groups->ShowSettings(); // PoleMin, PoleMax, Rapid, Amplifying, Correction
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
    PlaceLinkWindows();
    // A settings file that is there but cannot be read leaves the defaults
    // in force; the operator is told as soon as the window is up, without
    // stopping the program (the exit will not replace the file while it
    // cannot be read). The box waits for the window so it shows above it.
    if (!SettingsReadError.isEmpty())
        QTimer::singleShot(0, this, [this] { Port.NonModalWarning(SettingsReadError); });
    SetReceiveMode(Cfg.Mode);
    SpectrumResults.Clear();
    SpectrumResults.MaxPositions.clear();
    SpectrumResults.MinPositions.clear();
    SpectrumResults.PairAmplitudes.clear();
    // Only in analysis mode is the last file opened again.
    if (!Receiving && !Cfg.LastOpen.isEmpty() && QFileInfo(Cfg.LastOpen).isFile())
        OpenAndReport(Cfg.LastOpen);
    Bounds->LoadFromSettings();
    Acq->SetAdcView(Cfg.ADCEnable);
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
        out.Rapid = SavedRapidRow();
    out.Mode = Receiving;
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
    StoreLinkWindows(out);
    out.ToolBar = A.AToolBar->isChecked();
    // A file that cannot be written does not trap the operator: the box
    // offers to try again or to close without saving.
    for (;;) {
        QString error;
        if (SaveSettings(out, Recent, SettingsFilePath(), DecimalSep, &error))
            break;
        const TSettingsSaveAnswer answer = Port.SettingsNotSaved(error);
        if (answer == TSettingsSaveAnswer::StayOpen)
            return false;
        if (answer == TSettingsSaveAnswer::CloseWithoutSaving) {
            ShutDownReceiveSide();
            return true;
        }
    }
    Cfg = out;
    ShutDownReceiveSide();
    return true;
}
