// The receive side of the main window: the link windows, the receiver and the
// acquisition engine joined to the window's actions and widgets.

#include "acquisition/acquisition_engine.h"
#include "acquisition/adc_window.h"
#include "acquisition/com_port_dialog.h"
#include "acquisition/com_port_setup.h"
#include "acquisition/message_window.h"
#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/message_port.h"
#include "app/receive_view.h"
#include "config/settings_store.h"
#include "link/port_names.h"
#include "link/receiver.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_view_widget.h"

#include <QAction>
#include <QSignalBlocker>

namespace {

constexpr std::uint8_t StaysOnTopStyle = 3;

std::uint8_t WindowStateCode(const QWidget& w) {
    if (w.windowState() & Qt::WindowMinimized)
        return 1;
    if (w.windowState() & Qt::WindowMaximized)
        return 2;
    return 0;
}

} // namespace

void TKavMainForm::BuildReceiveSide(TDeviceFactory devices) {
    MsgForm = new TKavMessageForm(this);
    ADCForm = new TADCForm(this);

    TReceiveWidgets widgets;
    widgets.StatusBar = KavStatusBar;
    widgets.Messages = MsgForm;
    widgets.Adc = ADCForm;
    widgets.Plot = PlotBox;
    widgets.Panel1 = VisPan1;
    widgets.Panel2 = VisPan2;
    widgets.Groups = Groups;
    widgets.ViewBounds = Bounds;
    auto action = [&widgets](TAcqAction a) -> QAction*& {
        return widgets.Actions[static_cast<std::size_t>(a)];
    };
    action(TAcqAction::Analysis) = A.AAnalyse;
    action(TAcqAction::Receive) = A.AReceive;
    action(TAcqAction::WidenRange) = A.AResetDiap;
    action(TAcqAction::Stop) = A.AStop;
    action(TAcqAction::Start) = A.AStart;
    action(TAcqAction::RealTimeLpf) = A.ASwLPF;
    action(TAcqAction::RealTimeSum) = A.ASWSum;
    action(TAcqAction::AdcInput) = A.AADCView;
    action(TAcqAction::SaveAs) = A.ASaveFileAs;
    RecvView = std::make_unique<TReceiveView>(widgets, Port);

    Link = std::make_unique<TKavReceiver>(std::move(devices));
    Acq = std::make_unique<TAcquisitionEngine>(Cfg, *Link, *PointStore, InstrumentReadings,
                                               *ProcessingActions, Format, *RecvView, *RecvView);
    Groups->Bind(Acq->Controls());
    PlotBox->SetRawTrace(Acq->State().FirstValues.data());
    VisirView->OnSweepBoundsSelected = [this](int bottom, int top) {
        Acq->Controls().SelectSweepBounds(bottom, top);
    };
    ConnectReceiveActions();
}

void TKavMainForm::ConnectReceiveActions() {
    TInstrumentControls* c = &Acq->Controls();
    connect(A.AReceive, &QAction::triggered, this, &TKavMainForm::AReceiveExecute);
    connect(A.AStop, &QAction::triggered, this, [c] { c->AStopExecute(); });
    connect(A.AStart, &QAction::triggered, this, [c] { c->AStartExecute(); });
    connect(A.ASwLPF, &QAction::triggered, this, [c](bool on) { c->ARealTimeLpfExecute(on); });
    connect(A.ASWSum, &QAction::triggered, this, [c](bool on) { c->ARealTimeSumExecute(on); });
    connect(A.AADCView, &QAction::triggered, this, [this] { Acq->AAdcInputExecute(); });
    connect(A.AMessageView, &QAction::triggered, this, &TKavMainForm::AMessageViewExecute);
    connect(A.ASetupCom, &QAction::triggered, this, &TKavMainForm::ASetupComExecute);
    connect(MsgForm, &TKavMessageForm::ClearRequested, this, [this] { Acq->ClearMessages(); });
    connect(MsgForm, &TKavMessageForm::Closed, this, [this] {
        A.AMessageView->setChecked(false);
        Cfg.MsgWindow.Visible = false;
    });
    connect(ADCForm, &TADCForm::Closed, this, [this] {
        Acq->SetAdcView(false);
        Cfg.ADCEnable = false;
    });
}

std::uint8_t TKavMainForm::SavedRapidRow() const {
    return Acq->Controls().SavedRapid;
}

void TKavMainForm::SetReceiveMode(bool on) {
    Receiving = on;
    Acq->SetReceiveMode(on);
}

// "Прием": the spectrum in memory closed, an empty frame, the receive mode,
// the program's own units back and the view bounds applied again. After the
// line went away it only opens the port again: what was received stays.
void TKavMainForm::AReceiveExecute() {
    if (Acq->State().LinkLost) {
        Acq->OpenLink();
        // Still lost: the action shows the state again, unchecked.
        const QSignalBlocker block(A.AReceive);
        A.AReceive->setChecked(Acq->Controls().State().Action(TAcqAction::Receive).Checked);
        return;
    }
    CloseSpectrum(Session);
    PlotBox->DrawGrid();
    // A file shown in analysis mode put its gain and speed into the settings
    // and the selectors: the controls take those rows as the ones to send.
    RecvView->ForgetShown();
    Acq->Controls().AmpBoxChange(Cfg.Amplifying);
    Acq->Controls().SpeedBoxChange(Cfg.Rapid);
    SetReceiveMode(true);
    RestoreUnitSnapshot(Cfg);
    Bounds->LoadFromSettings();
}

// "Выбор порта...": the port and its rate; the link is applied anew
// whichever button closed the dialog, in either mode.
void TKavMainForm::ASetupComExecute() {
    TSetupCommForm dialog(Cfg.Port.PortName, Cfg.Port.BaudRate, SerialDevicePaths(), this);
    Port.RunDialog(dialog);
    ApplyComChoice(Cfg.Port, dialog.PortName(), dialog.BaudRate());
    Acq->OpenLink();
}

void TKavMainForm::AMessageViewExecute(bool checked) {
    Cfg.MsgWindow.Visible = checked;
    MsgForm->setVisible(checked);
}

// First show: the message window's place, state, style and visibility, the
// ADC window's place.
void TKavMainForm::PlaceLinkWindows() {
    const TWindowPlace& m = Cfg.MsgWindow;
    if (m.Width > 0 && m.Height > 0)
        MsgForm->resize(m.Width, m.Height);
    MsgForm->move(m.Left, m.Top);
    MsgForm->SetStaysOnTop(m.Style == StaysOnTopStyle);
    if (m.State == 2)
        MsgForm->setWindowState(Qt::WindowMaximized);
    else if (m.State == 1)
        MsgForm->setWindowState(Qt::WindowMinimized);
    A.AMessageView->setChecked(m.Visible);
    MsgForm->setVisible(m.Visible);
    ADCForm->move(Cfg.ADCWindow.Left, Cfg.ADCWindow.Top);
}

// Shut-down: the two windows' state into the settings that will be saved.
void TKavMainForm::StoreLinkWindows(TKavCfg& out) const {
    TWindowPlace& m = out.MsgWindow;
    m.State = WindowStateCode(*MsgForm);
    if (m.State == 0) {
        m.Left = MsgForm->x();
        m.Top = MsgForm->y();
        m.Width = MsgForm->width();
        m.Height = MsgForm->height();
    }
    m.Style = MsgForm->StaysOnTop() ? StaysOnTopStyle : 0;
    m.Visible = MsgForm->isVisible();
    out.ADCWindow.Left = ADCForm->x();
    out.ADCWindow.Top = ADCForm->y();
    out.ADCEnable = Acq->AdcView();
}

// After the settings are written: the timers stop, the port is closed and
// the two small windows go with the main window.
void TKavMainForm::ShutDownReceiveSide() {
    Acq->KavTimer().stop();
    Acq->ADCTimer().stop();
    Acq->LPFTimer().stop();
    Link->Stop();
    MsgForm->hide();
    ADCForm->hide();
}
