#include "acquisition/acquisition_engine.h"
#include "config/auto_save_name.h"

#include "acquisition/real_time_filter.h"
#include "base/instrument_tables.h"
#include "link/command_frame.h"
#include "link/line_settings.h"
#include "link/protocol.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <algorithm>
#include <limits>

#include <QCoreApplication>

namespace {

std::uint16_t Word(const std::uint8_t* body, int high) {
    return static_cast<std::uint16_t>(body[high] << 8 | body[high + 1]);
}

} // namespace

TAcquisitionEngine::TAcquisitionEngine(TKavCfg& cfg, TKavReceiver& receiver,
                                       TPointTable& pointStore, TInstrumentReadings& readings,
                                       TProcessingActions& processing, const TValueFormat& format,
                                       TAcquisitionView& view, TControlsView& controlsView)
    : Cfg(cfg), Receiver(receiver), PointStore(pointStore), Readings(readings),
      Processing(processing), Format(format), View(view), Ctl(cfg, S, format, controlsView),
      Kav(std::make_unique<QTimer>()), Adc(std::make_unique<QTimer>()),
      Lpf(std::make_unique<QTimer>()) {
    Kav->setInterval(KavTimerMs);
    Lpf->setInterval(LpfTimerMs);
    QObject::connect(Kav.get(), &QTimer::timeout, [this] { KavTimerTimer(); });
    QObject::connect(Adc.get(), &QTimer::timeout, [this] { ADCTimerTimer(); });
    QObject::connect(Lpf.get(), &QTimer::timeout, [this] { LPFTimerTimer(); });
    Receiver.OnFrame = [this] { HandleFrame(); };
    Receiver.OnMessage = [this](const QString& text) { AddMessage(text); };
    Receiver.OnLost = [this](const QString& text) { LinkLost(text); };
    S.SumCount = Readings.SumCount;
    Ctl.Init();
}

TAcquisitionEngine::~TAcquisitionEngine() {
    ShutDown();
    Receiver.OnFrame = nullptr;
    Receiver.OnMessage = nullptr;
    Receiver.OnLost = nullptr;
}

// ---- Status panels ---------------------------------------------------------

void TAcquisitionEngine::ShowPanel(int index, std::function<QString()> text) {
    const auto k = static_cast<std::size_t>(index);
    PanelShown[k] = text ? text() : QString();
    PanelTexts[k] = std::move(text);
    View.SetStatusPanel(index, PanelShown[k]);
}

void TAcquisitionEngine::RetranslatePanels(const std::function<QString(int index)>& shownNow) {
    for (std::size_t k = 0; k < PanelTexts.size(); ++k) {
        const int index = static_cast<int>(k);
        if (!PanelTexts[k] || shownNow(index) != PanelShown[k])
            continue;
        PanelShown[k] = PanelTexts[k]();
        View.SetStatusPanel(index, PanelShown[k]);
    }
}

// ---- Mode and link ---------------------------------------------------------

void TAcquisitionEngine::SetReceiveMode(bool on) {
    Cfg.Mode = on;
    S.LinkLost = false;
    Ctl.SetReceiveMode(on);
    if (!on) {
        ShowPanel(PanelAutoSave, {});
        ShowPanel(PanelFilter, {});
        ShowPanel(PanelSum, {});
        Lpf->stop();
        BlinkPhase = false;
        CloseLink();
        Kav->stop();
    } else {
        Lpf->start();
        Readings.AdcFieldValue = -1;
        OpenLink();
        Kav->start();
        S.SendCount = 0;
    }
}

QString PortFailureLine(const QString& port, const QString& reason) {
    return reason.isEmpty() ? PortFailedText + port
                            : PortFailedText + port + QStringLiteral(": ") + reason;
}

void TAcquisitionEngine::OpenLink() {
    Receiver.SetSettings(Cfg.Port);
    const bool opened = Receiver.Opened();
    if (opened) {
        ShowPanel(PanelPort, [name = Cfg.Port.PortName] { return name; });
        const int baud = BaudTable[static_cast<std::size_t>(Receiver.Settings().BaudRate)];
        ShowPanel(PanelBaud, [baud] {
            return QString::number(baud) + QCoreApplication::translate("AcquisitionEngine", " бод");
        });
        Receiver.Start();
    } else {
        ShowPanel(PanelPort, {});
        ShowPanel(PanelBaud, {});
    }
    S.ClearHandshake();
    ClearMessages();
    Ctl.ForgetStates();
    S.SweepPhase = 0;
    S.LastField = -1;
    ShowPanel(PanelDirection, {});
    // The failure is written into the emptied message window and shown in
    // the error box, both with the system's reason.
    if (!opened) {
        const QString line = PortFailureLine(Cfg.Port.PortName, Receiver.OpenFailure());
        AddMessage(line);
        View.ShowError(line);
    } else if (S.LinkLost) {
        // The port is back: the receive mode goes on where the loss left it.
        S.LinkLost = false;
        Ctl.ShowLinkLost(false);
        Kav->start();
        S.SendCount = 0;
    }
}

bool TAcquisitionEngine::TryReopenLink() {
    if (!S.LinkLost)
        return Receiver.Opened();
    Receiver.SetSettings(Cfg.Port);
    if (!Receiver.Opened()) {
        Receiver.Stop();
        return false;
    }
    OpenLink();
    return Receiver.Opened();
}

void TAcquisitionEngine::CloseLink() {
    Receiver.Stop();
    ShowPanel(PanelPort, [name = Cfg.Port.PortName] { return name; });
    ShowPanel(PanelBaud, [] { return ClosedPortText.Text(); });
}

// The line went away under the open port (an unplugged adapter, a closed
// pseudo-terminal). What was received stays. The port is closed as for the
// analysis mode, the sweep phase is forgotten, and in the receive mode the
// handshake waits, with "Прием" enabled to open the port again; the
// operator is told once, with the system's reason.
void TAcquisitionEngine::LinkLost(const QString& text) {
    CloseLink();
    S.SweepPhase = 0;
    S.LastField = -1;
    ShowPanel(PanelDirection, {});
    if (Cfg.Mode) {
        Kav->stop();
        S.LinkLost = true;
        Ctl.ShowLinkLost(true);
    }
    View.ShowLinkLost(text);
    if (OnLinkLost)
        OnLinkLost(text);
}

// ---- Handshake -------------------------------------------------------------

void TAcquisitionEngine::KavTimerTimer() {
    if (InKavTick)
        return;
    InKavTick = true;
    // The timer is held off while the tick runs: a send may wait for CTS.
    const bool running = Kav->isActive();
    Kav->stop();

    if (Receiver.OutQueueEmpty()) {
        int code = 0;
        if (!S.LinkReady)
            code = CmdLinkRequest;
        else if (!S.BoundsAck)
            code = CmdSweepBounds;
        else if (!S.GainSpeedAck)
            code = CmdGainSpeed;
        else if (!S.CorrAck)
            code = CmdCorrection;
        if (code != 0) {
            SendCommand(code);
            ++S.SendCount;
            S.HandshakeRunning = true;
        }
    }
    if (S.AllAcknowledged()) {
        S.SendCount = 0;
        if (S.HandshakeRunning) {
            S.HandshakeRunning = false;
            if (OnHandshakeEnd)
                OnHandshakeEnd(true);
        }
    } else if (S.SendCount > MaxHandshakeCommands) {
        S.SetHandshake();
        S.HandshakeRunning = false;
        AddMessage(HandshakeFailedText);
        if (OnHandshakeEnd)
            OnHandshakeEnd(false);
    }

    if (running && Cfg.Mode)
        Kav->start();
    InKavTick = false;
}

bool TAcquisitionEngine::SendCommand(int code) {
    return Receiver.SendCommand(code, CommandValuesOf(Cfg));
}

// ---- Messages --------------------------------------------------------------

void TAcquisitionEngine::AddMessage(const QString& text) {
    if (++MessageLines > MaxMessageLines) {
        ClearMessages();
        return;
    }
    View.AddMessage(text);
}

void TAcquisitionEngine::ClearMessages() {
    MessageLines = 0;
    View.ClearMessages();
}

void TAcquisitionEngine::WriteLines(const TTelemetry& t) {
    for (const QString& line : TelemetryLines(t))
        AddMessage(line);
}

// ---- Frames ----------------------------------------------------------------

void TAcquisitionEngine::HandleFrame() {
    HandleFrameBody(Receiver.RxBuffer.data());
}

void TAcquisitionEngine::HandleFrameBody(const std::uint8_t* body) {
    ++S.FramesHandled;
    if (OnTelemetry)
        OnTelemetry(DecodeTelemetry(body));
    // Data points are by far the most frequent frame: no decoding record.
    if (body[0] == TmDataPoint)
        return DataPoint(body);

    const TTelemetry t = DecodeTelemetry(body);
    switch (t.Kind) {
    case TTelemetryKind::UnitIdentity:
        S.InstrumentProgram = t.Program;
        S.InstrumentSerial = t.Serial;
        SyncReadings();
        ShowPanel(PanelProgram,
                  [n = t.Program] { return QStringLiteral("PR: ") + QString::number(n); });
        ShowPanel(PanelSerial,
                  [n = t.Serial] { return QStringLiteral("S/N: ") + QString::number(n); });
        S.ClearHandshake();
        WriteLines(t);
        break;
    case TTelemetryKind::SweepStart:
        SweepStart();
        WriteLines(t);
        Ctl.SetSaveAsEnabled(true);
        if (OnSweepPhase)
            OnSweepPhase(S.SweepPhase);
        break;
    case TTelemetryKind::Status:
        Ctl.SetGainState(t.GainByte);
        Ctl.SetSpeedState(t.SpeedByte);
        S.FillCount = t.DPole;
        WriteLines(t);
        break;
    case TTelemetryKind::HandshakeReset:
        S.ClearHandshake();
        break;
    case TTelemetryKind::BoundsAccepted:
        S.BoundsAck = AnswerIsCurrent(t);
        WriteLines(t);
        break;
    case TTelemetryKind::GainSpeedAccepted:
        S.GainSpeedAck = AnswerIsCurrent(t);
        WriteLines(t);
        break;
    case TTelemetryKind::CorrectionAccepted:
        S.CorrAck = AnswerIsCurrent(t);
        WriteLines(t);
        break;
    case TTelemetryKind::LinkReady:
        S.LinkReady = true;
        break;
    case TTelemetryKind::BackwardSweep:
        BackwardSweep(t.Field);
        break;
    case TTelemetryKind::AdcReading:
        AdcReadingFrame(t.AdcValue);
        break;
    default:
        WriteLines(t);
        break; // field report, instrument errors; none for others
    }
}

// An answer acknowledges its stage only when it echoes the value the
// settings hold now. The answer to a command sent before the operator
// changed the value, or any answer that differs from what is shown, leaves
// the stage open, and the next tick sends the value shown.
bool TAcquisitionEngine::AnswerIsCurrent(const TTelemetry& answer) const {
    return AnswerEchoes(answer, CommandValuesOf(Cfg), Ctl.ManualParts());
}

void TAcquisitionEngine::DataPoint(const std::uint8_t* body) {
    Ctl.SetGainState(body[5]);
    Ctl.SetSpeedState(body[6]);
    const std::uint16_t x = Word(body, 1);
    if (x > MaxDataFieldCode)
        return;
    // Amplitudes are 12-bit codes; a larger word would read back as an empty
    // slot or a parameter record, so it is held at the top code.
    std::uint16_t y = std::min<std::uint16_t>(Word(body, 3), MaxAmplitudeCode);
    if (Cfg.ShowFirst && (S.LpfActive || S.SumActive))
        S.FirstValues[x] = y;
    if (S.LpfActive)
        y = FilterPoint(S, Cfg.RTLPFConst, y);
    if (S.SumActive)
        y = SumPoint(S, x, y);

    PointStore[x] = TPointSlot{x, y};
    View.PlotSlot(x);
    View.MoveFieldMarker(x);
    S.LastField = x;

    const int end = std::min<int>(x + S.FillCount, MaxDataFieldCode + 1);
    for (int code = x; code < end; ++code) {
        const auto c = static_cast<std::uint16_t>(code);
        PointStore[c] = TPointSlot{c, y};
        if (Cfg.Visir1 && c == Cfg.VisKoord1)
            View.SetVisirOrdinate(1, Format.AmplToStr(y - ZeroLine));
        if (Cfg.Visir2 && c == Cfg.VisKoord2)
            View.SetVisirOrdinate(2, Format.AmplToStr(y - ZeroLine));
    }
}

void TAcquisitionEngine::SweepStart() {
    AutoSaveAtSweepStart();

    ArmRealTimeFilter(S, Cfg.EnableRTLPF);
    if (S.LpfActive)
        ShowPanel(PanelFilter, [k = Cfg.RTLPFConst] {
            return QCoreApplication::translate("AcquisitionEngine", "ФИЛЬТР [") +
                   QString::number(k) + QStringLiteral("]");
        });
    else
        ShowPanel(PanelFilter, {});

    const bool summing = S.SumActive || Cfg.EnableRTSum;
    ArmSummation(S, Cfg.EnableRTSum, Cfg.RTNumb);
    SyncReadings();
    if (summing)
        ShowPanel(PanelSum, [count = S.SumCount, of = Cfg.RTNumb] {
            return QCoreApplication::translate("AcquisitionEngine", "НАКОПЛ [") +
                   QString::number(count) +
                   QCoreApplication::translate("AcquisitionEngine", " из ") + QString::number(of) +
                   QStringLiteral("]");
        });
    else
        ShowPanel(PanelSum, {});

    ClearPoints(PointStore);
    Processing.ResetForNewSweep();
    View.Repaint();

    ShowPanel(PanelDirection, [] { return ForwardSweepText.Text(); });
    S.SweepPhase = 1;
}

void TAcquisitionEngine::BackwardSweep(std::uint16_t field) {
    if (S.SweepPhase != 2) {
        Processing.RunAfterSweep();
        ShowPanel(PanelDirection, [] { return BackwardSweepText.Text(); });
        S.SweepPhase = 2;
        if (OnSweepPhase)
            OnSweepPhase(S.SweepPhase);
    }
    View.MoveFieldMarker(field);
}

// ---- Automatic save --------------------------------------------------------

void TAcquisitionEngine::AutoSaveAtSweepStart() {
    ShowPanel(PanelAutoSave, [on = Cfg.AutoSave] { return AutoSavePanelText(on); });
    if (!Cfg.AutoSave)
        return;
    // A countdown at or below 0 saves, so a SaveStep below 1 saves every
    // sweep; a failed save leaves it at 0 and the next sweep tries again.
    if (S.AutoSaveCountdown <= 0) {
        if (AutoSaveNow())
            S.AutoSaveCountdown = Cfg.SaveStep - 1;
        else
            S.AutoSaveCountdown = 0;
    } else {
        --S.AutoSaveCountdown;
    }
}

bool AutoSaveNumberLeft(std::int32_t numbMask) {
    return numbMask < std::numeric_limits<std::int32_t>::max();
}

bool TAcquisitionEngine::AutoSaveNow() {
    if (!AutoSaveNumberLeft(Cfg.NumbMask)) {
        const QString text = AutoSaveFailedPrefix + AutoSaveNumberEndText.arg(Cfg.NumbMask);
        AddMessage(text);
        View.ShowAutoSaveFailure(text);
        return false;
    }
    SyncReadings();
    WriteParameterBlock(PointStore, Cfg, Readings);
    const QString path = AutoSavePath(Cfg.WorkDir, AutoSaveName(Cfg.NameMask, Cfg.NumbMask));
    QString error;
    if (!SaveSpectrumFile(path, PointStore, &error)) {
        AddMessage(AutoSaveFailedPrefix + error);
        View.ShowAutoSaveFailure(AutoSaveFailedPrefix + error);
        return false;
    }
    ++Cfg.NumbMask;
    return true;
}

void TAcquisitionEngine::SyncReadings() {
    Readings.InstrumentProgram = S.InstrumentProgram;
    Readings.InstrumentSerial = S.InstrumentSerial;
    Readings.SumCount = S.SumCount;
}

// ---- ADC readout and blinking ------------------------------------------------

void TAcquisitionEngine::SetAdcView(bool on) {
    AdcOn = on;
    Ctl.SetAdcChecked(on);
    View.SetAdcWindowShown(on);
    if (on) {
        Adc->setInterval(Cfg.ADCFreq > 0 ? Cfg.ADCFreq : DefaultAdcFreqMs);
        Adc->start();
    } else {
        Adc->stop();
    }
}

void TAcquisitionEngine::AAdcInputExecute() {
    SetAdcView(!AdcOn);
}

void TAcquisitionEngine::ADCTimerTimer() {
    SendCommand(CmdAdcRequest);
}

void TAcquisitionEngine::AdcReadingFrame(std::uint16_t value) {
    if (!AdcOn)
        return;
    AdcReading = value;
    Readings.AdcValue = value;
    View.SetAdcReading(Format.ADCToStr(value));
    // No field belongs to a reading: it is drawn at the last data point's.
    if (S.LastField >= 0)
        View.PlotPoint(S.LastField, value / 2 + ZeroLine, Cfg.DisplayColors.ADC2);
}

void TAcquisitionEngine::LPFTimerTimer() {
    BlinkPhase = !BlinkPhase;
    Ctl.ShowBlink(BlinkPhase);
}

void TAcquisitionEngine::ShutDown() {
    Kav->stop();
    Adc->stop();
    Lpf->stop();
}
