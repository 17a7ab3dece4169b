#pragma once

#include "base/translated_text.h"

#include "acquisition/acquisition_state.h"
#include "acquisition/acquisition_view.h"
#include "acquisition/instrument_controls.h"
#include "config/kav_cfg.h"
#include "link/receiver.h"
#include "link/telemetry.h"
#include "processing/processing_actions.h"
#include "spectrum/instrument_readings.h"
#include "spectrum/point_slot.h"
#include "spectrum/value_format.h"

#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

// Status bar panels written by the receive mode.
inline constexpr int PanelPort = 0;
inline constexpr int PanelBaud = 1;
inline constexpr int PanelProgram = 5;
inline constexpr int PanelSerial = 6;
inline constexpr int PanelDirection = 7;
inline constexpr int PanelAutoSave = 8;
inline constexpr int PanelFilter = 9;
inline constexpr int PanelSum = 10;

// Lines and texts of the receive mode.
inline constexpr TTrText HandshakeFailedText{
    "AcquisitionEngine", QT_TRANSLATE_NOOP("AcquisitionEngine", "Передача параметров не удалась")};
inline constexpr TTrText PortFailedText{
    "AcquisitionEngine",
    QT_TRANSLATE_NOOP("AcquisitionEngine", "Невозможно инициализировать порт ")};
inline constexpr TTrText ForwardSweepText{"AcquisitionEngine",
                                          QT_TRANSLATE_NOOP("AcquisitionEngine", "Рабочий ход")};
inline constexpr TTrText BackwardSweepText{"AcquisitionEngine",
                                           QT_TRANSLATE_NOOP("AcquisitionEngine", "Обратный ход")};
inline constexpr TTrText AutoSaveText{"AcquisitionEngine",
                                      QT_TRANSLATE_NOOP("AcquisitionEngine", "АВТО")};
// The automatic-save panel: "АВТО" while the automatic save is on.
inline QString AutoSavePanelText(bool autoSave) {
    return autoSave ? AutoSaveText.Text() : QString();
}
inline constexpr TTrText ClosedPortText{"AcquisitionEngine",
                                        QT_TRANSLATE_NOOP("AcquisitionEngine", "<Закрыт>")};
inline constexpr TTrText AutoSaveFailedPrefix{
    "AcquisitionEngine", QT_TRANSLATE_NOOP("AcquisitionEngine", "Автосохранение не выполнено: ")};
// The automatic save's number cannot grow past the largest 32-bit number;
// saving under it again would write over the spectrum saved there before.
inline constexpr TTrText AutoSaveNumberEndText{
    "AcquisitionEngine",
    QT_TRANSLATE_NOOP(
        "AcquisitionEngine",
        "номер файла достиг предела %1, задайте \"Стартовый номер\" в окне \"Автосохранение...\"")};

// True while NumbMask can name a file and still grow, so that no automatic
// save takes a name an earlier one used.
bool AutoSaveNumberLeft(std::int32_t numbMask);

// The line for a port that could not be opened: PortFailedText and the name,
// then ": " and the system's reason when it is known.
QString PortFailureLine(const QString& port, const QString& reason);

// More lines than this empty the message window, the new one included.
inline constexpr int MaxMessageLines = 1000;
// Commands sent without completing the handshake before it is abandoned.
inline constexpr int MaxHandshakeCommands = 20;

inline constexpr int KavTimerMs = 200;
inline constexpr int LpfTimerMs = 360;
inline constexpr int DefaultAdcFreqMs = 100;

// The receive mode: the link to the spectrometer, the parameter handshake and
// the handling of every telemetry frame (real-time filter, summation of
// sweeps, automatic save and processing, live drawing, status panels). It
// owns the acquisition state, the instrument controls and the three timers;
// every tick handler is a plain method that tests call directly.
class TAcquisitionEngine {
public:
    // Binds the receiver's OnFrame and OnMessage to this engine.
    TAcquisitionEngine(TKavCfg& cfg, TKavReceiver& receiver, TPointTable& pointStore,
                       TInstrumentReadings& readings, TProcessingActions& processing,
                       const TValueFormat& format, TAcquisitionView& view,
                       TControlsView& controlsView);
    ~TAcquisitionEngine();

    TAcquisitionEngine(const TAcquisitionEngine&) = delete;
    TAcquisitionEngine& operator=(const TAcquisitionEngine&) = delete;

    // Receive mode on or off: the mode actions and groups, the link, KavTimer.
    void SetReceiveMode(bool on);
    // The one receive-mode state is the setting Mode.
    bool ReceiveMode() const { return Cfg.Mode; }
    // Applies the port settings and starts the poll when the port opens;
    // restarts the handshake either way. After a loss, a port that opens
    // takes the receive mode up again.
    void OpenLink();
    void CloseLink();
    // After a loss: opens the port again when it is there, saying nothing
    // when it is not; true when it opened.
    bool TryReopenLink();

    // The 200 ms handshake tick.
    void KavTimerTimer();
    // The receiver's OnFrame: the frame body in its RxBuffer.
    void HandleFrame();
    // One frame body: body[0] the type, body[1..6] b1..b6.
    void HandleFrameBody(const std::uint8_t* body);
    // The command frame of a code, built from the settings, to the receiver.
    bool SendCommand(int code);

    // A line for the message window; the receiver's OnMessage.
    void AddMessage(const QString& text);
    // "Убрать все сообщения".
    void ClearMessages();

    // The ADC readout on or off: its window and ADCTimer.
    void SetAdcView(bool on);
    bool AdcView() const { return AdcOn; }
    std::uint16_t AdcValue() const { return AdcReading; }
    // "ВХОД  АЦП": toggles the readout.
    void AAdcInputExecute();
    // One ADCTimer tick: an ADC request.
    void ADCTimerTimer();
    // One LPFTimer tick: the two real-time buttons blink.
    void LPFTimerTimer();

    // The automatic save of the store as it stands: parameter block, file
    // WorkDir/AutoSaveName(NameMask, NumbMask).kav, NumbMask + 1. A save that
    // fails writes one line with the path and the reason, keeps NumbMask and
    // returns false; so does a NumbMask at the end of its range, which saves
    // nothing rather than take a name twice.
    bool AutoSaveNow();

    // At the program's end: the three timers stop.
    void ShutDown();

    // Writes the status panels this engine wrote once more, in the language
    // now in force (after a switch of language); a panel another part of the
    // window has written since (shownNow(index) differs) is left as it is.
    void RetranslatePanels(const std::function<QString(int index)>& shownNow);

    TInstrumentControls& Controls() { return Ctl; }
    const TAcquisitionState& State() const { return S; }
    TAcquisitionState& State() { return S; }
    QTimer& KavTimer() { return *Kav; }
    QTimer& ADCTimer() { return *Adc; }
    QTimer& LPFTimer() { return *Lpf; }

    // Observers for callers without a window (kavtool): every decoded frame,
    // the sweep phase after it changed, and the end of a handshake (true when
    // every stage was acknowledged, false when it was abandoned).
    std::function<void(const TTelemetry&)> OnTelemetry;
    std::function<void(std::uint8_t phase)> OnSweepPhase;
    std::function<void(bool acknowledged)> OnHandshakeEnd;
    // The line went away (text: the port and the system's reason).
    std::function<void(const QString&)> OnLinkLost;

private:
    bool AnswerIsCurrent(const TTelemetry& answer) const;
    void LinkLost(const QString& text);
    void DataPoint(const std::uint8_t* body);
    void SweepStart();
    void BackwardSweep(std::uint16_t field);
    void AdcReadingFrame(std::uint16_t value);
    void AutoSaveAtSweepStart();
    void SyncReadings();
    void WriteLines(const TTelemetry& t);
    // Writes a status panel (an empty function: a blank one) and keeps how
    // its text is made, numbers as they were then, for RetranslatePanels.
    void ShowPanel(int index, std::function<QString()> text);

    TKavCfg& Cfg;
    TKavReceiver& Receiver;
    TPointTable& PointStore;
    TInstrumentReadings& Readings;
    TProcessingActions& Processing;
    const TValueFormat& Format;
    TAcquisitionView& View;
    TAcquisitionState S;
    TInstrumentControls Ctl;
    std::unique_ptr<QTimer> Kav;
    std::unique_ptr<QTimer> Adc;
    std::unique_ptr<QTimer> Lpf;
    bool InKavTick = false;
    bool AdcOn = false;
    std::uint16_t AdcReading = 0;
    bool BlinkPhase = false;
    int MessageLines = 0;
    std::array<std::function<QString()>, PanelSum + 1> PanelTexts;
    std::array<QString, PanelSum + 1> PanelShown;
};
