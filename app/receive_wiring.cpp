// The receive side of the main window: the link windows and the session's
// receiver and engine joined to the window's actions and widgets.

#include "acquisition/adc_window.h"
#include "acquisition/com_port_dialog.h"
#include "acquisition/com_port_setup.h"
#include "acquisition/message_window.h"
#include "app/instrument_groups_widget.h"
#include "app/main_window.h"
#include "app/receive_view.h"
#include "app/window_places.h"
#include "config/message_port.h"
#include "link/port_names.h"
#include "session/kav_session.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"
#include "view/view_bounds_widget.h"
#include "view/visir_view_widget.h"

#include <QAction>
#include <QSignalBlocker>

void TKavMainForm::BuildReceiveSide() {
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

    Session.Attach({*this, *this, *RecvView, *RecvView});
    TAcquisitionEngine& engine = Session.Engine();
    Groups->Bind(engine.Controls());
    PlotBox->SetRawTrace(engine.State().FirstValues.data());
    VisirView->OnSweepBoundsSelected = [this](int bottom, int top) {
        Session.Engine().Controls().SelectSweepBounds(bottom, top);
    };
    ConnectReceiveActions();
}

void TKavMainForm::ConnectReceiveActions() {
    TAcquisitionEngine* e = &Session.Engine();
    TInstrumentControls* c = &e->Controls();
    connect(A.AReceive, &QAction::triggered, this, &TKavMainForm::AReceiveExecute);
    connect(A.AStop, &QAction::triggered, this, [c] { c->AStopExecute(); });
    connect(A.AStart, &QAction::triggered, this, [c] { c->AStartExecute(); });
    connect(A.ASwLPF, &QAction::triggered, this, [c](bool on) { c->ARealTimeLpfExecute(on); });
    connect(A.ASWSum, &QAction::triggered, this, [c](bool on) { c->ARealTimeSumExecute(on); });
    connect(A.AADCView, &QAction::triggered, this, [e] { e->AAdcInputExecute(); });
    connect(A.AMessageView, &QAction::triggered, this, &TKavMainForm::AMessageViewExecute);
    connect(A.ASetupCom, &QAction::triggered, this, &TKavMainForm::ASetupComExecute);
    connect(MsgForm, &TKavMessageForm::ClearRequested, this, [e] { e->ClearMessages(); });
    connect(MsgForm, &TKavMessageForm::Closed, this, [this] {
        A.AMessageView->setChecked(false);
        Session.Settings().MsgWindow.Visible = false;
    });
    connect(ADCForm, &TADCForm::Closed, this, [this] {
        Session.Engine().SetAdcView(false);
        Session.Settings().ADCEnable = false;
    });
}

// "Прием": the session closes the spectrum and enters the receive mode; the
// plot is wiped to its grid and the view bounds applied again. After the
// line went away it only opens the port again: still lost, the action shows
// the state again, unchecked.
void TKavMainForm::AReceiveExecute() {
    if (Session.AReceiveExecute()) {
        PlotBox->DrawGrid();
        Bounds->LoadFromSettings();
        return;
    }
    const QSignalBlocker block(A.AReceive);
    A.AReceive->setChecked(Session.Engine().Controls().State().Action(TAcqAction::Receive).Checked);
}

// "Выбор порта...": the port and its rate; the link is applied anew
// whichever button closed the dialog, in either mode.
void TKavMainForm::ASetupComExecute() {
    TComSettings& port = Session.Settings().Port;
    TSetupCommForm dialog(port.PortName, port.BaudRate, SerialDevicePaths(), this);
    Port.RunDialog(dialog);
    ApplyComChoice(port, dialog.PortName(), dialog.BaudRate());
    Session.Engine().OpenLink();
}

void TKavMainForm::AMessageViewExecute(bool checked) {
    Session.Settings().MsgWindow.Visible = checked;
    MsgForm->setVisible(checked);
}

// First show: the message window's place, state, style and visibility, the
// ADC window's place.
void TKavMainForm::PlaceLinkWindows() {
    const TKavCfg& cfg = Session.Settings();
    const TWindowPlace& m = cfg.MsgWindow;
    if (m.Width > 0 && m.Height > 0)
        MsgForm->resize(m.Width, m.Height);
    MsgForm->move(m.Left, m.Top);
    MsgForm->SetStaysOnTop(m.Style == StaysOnTopStyle);
    ShowWindowState(*MsgForm, m.State);
    A.AMessageView->setChecked(m.Visible);
    MsgForm->setVisible(m.Visible);
    ADCForm->move(cfg.ADCWindow.Left, cfg.ADCWindow.Top);
}
