#pragma once

// The instrument's side of a pseudo-terminal, played by a test: the program
// opens the real serial device on the slave side, the test reads its
// commands and writes frames on the master side.
#include "acq_rig.h"
#include "link/protocol.h"
#include "link/pty_line.h"
#include "link/qt_serial_device.h"

#include <initializer_list>

// The real serial device on a pseudo-terminal. A pseudo-terminal has no
// modem lines, so this line adds the CTS pulse the instrument gives before it
// takes a command: each look at CTS finds it changed.
class TPulsedPtyDevice final : public SerialDevice {
public:
    bool Open(const QString& name) override { return Line.Open(name); }
    void Close() override { Line.Close(); }
    bool ApplyLine(const TLineSettings& line, QStringList& notes) override {
        return Line.ApplyLine(line, notes);
    }
    int InQueueCount() override { return Line.InQueueCount(); }
    int OutQueueCount() override { return Line.OutQueueCount(); }
    std::uint32_t TakeLineErrors() override { return Line.TakeLineErrors(); }
    int Read(std::uint8_t* buffer, int count) override { return Line.Read(buffer, count); }
    bool Write(const std::uint8_t* buffer, int count) override { return Line.Write(buffer, count); }
    std::optional<bool> ClearToSend() override {
        High = !High;
        return High;
    }
    bool Lost() const override { return Line.Lost(); }
    QString LostReason() const override { return Line.LostReason(); }

private:
    TQtSerialDevice Line;
    bool High = false;
};

// The instrument on the master side of the line: takes the command frames
// the program writes, holds what they carry and answers each with the echo
// of what it now holds, followed by a status message (computer control) and
// a frame of a type the program ignores, which lets the poll take the
// status at once.
struct TPtyInstrument {
    TPtyLine& Line;
    QByteArray Pending;
    std::uint16_t PoleMax = 65519, PoleMin = 0, Ukorr = 32768;
    std::uint8_t KodAmpl = 1, KodRapid = 8;

    // Writes the bytes whole.
    void Send(const QByteArray& bytes) {
        int done = 0;
        while (done < bytes.size())
            done += Line.WriteSome(bytes.constData() + done, static_cast<int>(bytes.size()) - done);
    }
    static QByteArray Frame(std::uint8_t type, std::initializer_list<int> payload) {
        std::uint8_t body[7] = {type};
        int k = 1;
        for (int b : payload)
            body[k++] = static_cast<std::uint8_t>(b);
        QByteArray f("\x7F\xAA", 2);
        f.append(reinterpret_cast<const char*>(body), 7);
        f.append(static_cast<char>(ByteSum(body, 7)));
        return f;
    }
    // Takes every whole command written so far; returns how many.
    int TakeCommands() {
        Pending += Line.ReadAll();
        int taken = 0;
        for (;;) {
            if (Pending.size() < 3)
                return taken;
            const auto code = static_cast<std::uint8_t>(Pending[2]);
            const int length = code == CmdSweepBounds ? 8 : 6;
            if (Pending.size() < length)
                return taken;
            const auto* c = reinterpret_cast<const std::uint8_t*>(Pending.constData());
            QByteArray answer;
            switch (code) {
            case CmdLinkRequest:
                answer = Frame(TmLinkReady, {});
                break;
            case CmdSweepBounds:
                PoleMax = static_cast<std::uint16_t>(c[3] << 8 | c[4]);
                PoleMin = static_cast<std::uint16_t>(c[5] << 8 | c[6]);
                answer = Frame(TmBoundsAccepted,
                               {PoleMax >> 8, PoleMax & 0xFF, PoleMin >> 8, PoleMin & 0xFF});
                break;
            case CmdGainSpeed:
                KodAmpl = c[3];
                KodRapid = c[4];
                answer = Frame(TmGainSpeedAccepted, {KodAmpl, KodRapid});
                break;
            case CmdCorrection:
                Ukorr = static_cast<std::uint16_t>(c[3] << 8 | c[4]);
                answer = Frame(TmCorrectionAccepted, {Ukorr >> 8, Ukorr & 0xFF});
                break;
            default:
                break;
            }
            answer += Frame(TmStatus, {Ukorr >> 8, Ukorr & 0xFF, 1, 0, KodAmpl, KodRapid});
            answer += Frame(5, {});
            Line.WriteSome(answer.constData(), static_cast<int>(answer.size()));
            Pending.remove(0, length);
            ++taken;
        }
    }
};

// The receive mode on a pseudo-terminal, the test playing the instrument and
// moving the handshake and the poll itself.
struct TPtyRig {
    TPtyLine Line;
    TAcqRig Rig{[] { return std::make_unique<TPulsedPtyDevice>(); }};
    TPtyInstrument Instrument{Line, {}};

    explicit TPtyRig(int index) : Line(index) {}
    // The receive mode on at 115200 baud, its timers stopped; false when the port did not open.
    bool Open() {
        Rig.Cfg.Port.PortName = Line.Link;
        Rig.Cfg.Port.BaudRate = 11;
        Rig.Engine->SetReceiveMode(true);
        Rig.Engine->KavTimer().stop();
        Rig.Receiver->PollTimer().stop();
        return Line.Ok() && Rig.Receiver->Opened();
    }
    // One handshake tick: the commands out, taken and answered by the
    // instrument, the answers in the port's buffer; returns how many it took.
    int Tick(int waitMs = 3000) {
        const int before = Rig.Receiver->InQueueCount();
        Rig.Engine->KavTimerTimer();
        int taken = 0;
        PumpUntil([&] { return (taken += Instrument.TakeCommands()) > 0; }, waitMs);
        PumpUntil([&] { return Rig.Receiver->InQueueCount() >= before + 30 * taken; });
        return taken;
    }
    // Ticks and polls until done() holds, at most 20 times.
    template <typename Done> bool TickUntil(Done done) {
        for (int k = 0; k < 20 && !done(); ++k) {
            Tick();
            Rig.Receiver->PollTick();
        }
        return done();
    }
    // Frames to the program, and one poll once they are all in the port's
    // buffer (a frame of a type the program ignores lets the poll take the
    // last of them).
    void Poll(const QByteArray& frames) {
        const QByteArray bytes = frames + TPtyInstrument::Frame(5, {});
        const int waiting = Rig.Receiver->InQueueCount();
        Instrument.Send(bytes);
        PumpUntil([&] { return Rig.Receiver->InQueueCount() >= waiting + bytes.size(); });
        Rig.Receiver->PollTick();
    }
};
