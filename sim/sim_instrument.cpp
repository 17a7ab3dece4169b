#include "sim/sim_instrument.h"

#include "base/instrument_tables.h"
#include "link/protocol.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double Never = std::numeric_limits<double>::infinity();
constexpr double StatusPeriodMs = 1000;
constexpr double BackwardTickMs = 40;
constexpr double CommandByteTimeoutMs = 10;
// Share of the line that data points may take; the rest is for status
// messages and answers.
constexpr double LineShareForPoints = 0.7;

std::uint8_t High(double value) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) >> 8);
}
std::uint8_t Low(double value) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFF);
}

int ParameterCount(std::uint8_t code) {
    switch (code) {
    case CmdLinkRequest:
        return 2;
    case CmdSweepBounds:
        return 4;
    case CmdGainSpeed:
        return 2;
    case CmdCorrection:
        return 2;
    case CmdAdcRequest:
        return 0;
    default:
        return -1;
    }
}

bool KnownGainKod(std::uint8_t kod) {
    return std::any_of(GainTable.begin(), GainTable.end(),
                       [&](const TGainRow& row) { return row.KodAmpl == kod; });
}

bool KnownSpeedKod(std::uint8_t kod) {
    return std::any_of(SpeedTable.begin(), SpeedTable.end(),
                       [&](const TSpeedRow& row) { return row.KodRapid == kod; });
}

} // namespace

TSimInstrument::TSimInstrument(std::uint64_t seed) : Random(seed) {
    NextPointAt = NextStatusAt = Never;
}

double TSimInstrument::SweepMs(std::uint8_t kodRapid) {
    double minutes = 0;
    switch (kodRapid) {
    case 15:
        minutes = 0.5;
        break;
    case 0:
        minutes = 4;
        break; // backwards
    case 9:
        minutes = 128;
        break;
    case 2:
        minutes = 64;
        break;
    case 4:
        minutes = 32;
        break;
    case 5:
        minutes = 16;
        break;
    case 6:
        minutes = 8;
        break;
    case 3:
        minutes = 4;
        break;
    case 7:
        minutes = 2;
        break;
    case 8:
        minutes = 1;
        break;
    default:
        return 0; // 1 is the stop code
    }
    return minutes * 60000 / SweepTimeDivisor;
}

// ---- The line -------------------------------------------------------------

bool TSimInstrument::ClearToSend(std::int64_t nowMicros) const {
    if (Silent)
        return false;
    switch (Cts) {
    case TCtsMode::HeldOn:
        return true;
    case TCtsMode::HeldOff:
        return false;
    case TCtsMode::Pulse:
        break;
    }
    const std::int64_t phase = ((nowMicros / 1000) % CtsPeriodMs + CtsPeriodMs) % CtsPeriodMs;
    return phase < CtsPulseMs;
}

std::optional<std::int64_t> TSimInstrument::NextCtsChange(std::int64_t nowMicros) const {
    if (Silent || Cts != TCtsMode::Pulse)
        return std::nullopt;
    // The level holds for whole milliseconds: on for the first CtsPulseMs of
    // each period, off for the rest. The first millisecond of the other level
    // is searched for from the next one on.
    const std::int64_t ms = nowMicros / 1000;
    const bool on = ClearToSend(nowMicros);
    for (std::int64_t next = ms + 1; next <= ms + CtsPeriodMs; ++next) {
        if (ClearToSend(next * 1000) != on)
            return std::max(next * 1000, nowMicros + 1);
    }
    return std::nullopt;
}

int TSimInstrument::Take(std::uint8_t* buffer, int count) {
    const int n = std::clamp(count, 0, Pending());
    if (n > 0)
        std::memcpy(buffer, Out.data() + Head, static_cast<std::size_t>(n));
    Head += static_cast<std::size_t>(n);
    if (Head == Out.size()) {
        Out.clear();
        Head = 0;
    }
    return n;
}

QByteArray TSimInstrument::TakeAll() {
    QByteArray bytes(Pending(), Qt::Uninitialized);
    Take(reinterpret_cast<std::uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
    return bytes;
}

std::uint32_t TSimInstrument::TakeLineErrors() {
    const std::uint32_t flags = LineErrors;
    LineErrors = 0;
    return flags;
}

void TSimInstrument::Emit(std::uint8_t type, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                          std::uint8_t b4, std::uint8_t b5, std::uint8_t b6) {
    if (Silent)
        return;
    if (Head > 0 && Head >= Out.size() / 2) {
        Out.erase(Out.begin(), Out.begin() + static_cast<std::ptrdiff_t>(Head));
        Head = 0;
    }
    const std::uint8_t body[7] = {type, b1, b2, b3, b4, b5, b6};
    std::uint8_t sum = ByteSum(body, 7);
    if (CorruptNext) {
        sum = static_cast<std::uint8_t>(sum + 1);
        CorruptNext = false;
    }
    Out.push_back(FrameStartMarker);
    Out.push_back(FrameSecondMarker);
    Out.insert(Out.end(), body, body + 7);
    Out.push_back(sum);
}

void TSimInstrument::Answer(std::uint8_t command, std::uint8_t type, std::uint8_t b1,
                            std::uint8_t b2, std::uint8_t b3, std::uint8_t b4) {
    if (Answering && Muted.count(command) == 0)
        Emit(type, b1, b2, b3, b4);
}

// ---- Scripting ------------------------------------------------------------

void TSimInstrument::SetAnswer(std::uint8_t command, bool on) {
    if (on)
        Muted.erase(command);
    else
        Muted.insert(command);
}

void TSimInstrument::InjectBytes(const QByteArray& bytes) {
    if (Silent)
        return;
    Out.insert(Out.end(), bytes.begin(), bytes.end());
}

void TSimInstrument::SetManualGain(std::optional<std::uint8_t> kodAmpl) {
    ManualGain = kodAmpl;
    if (IsLinked)
        EmitStatus();
}

void TSimInstrument::SetManualCorrection(std::optional<std::uint16_t> ukorr) {
    ManualCorrection = ukorr;
    if (IsLinked)
        EmitStatus();
}

void TSimInstrument::SetManualSpeed(std::optional<std::uint8_t> kodRapid) {
    const std::uint8_t before = KodRapid();
    ManualSpeed = kodRapid;
    if (IsLinked && before != KodRapid()) {
        if (Stopped())
            NextPointAt = Never;
        else if (SweepPhase == TPhase::Idle || (before == 0) != Reversed() || before == 1)
            BeginForward();
        else
            PlanSweep();
    }
    if (IsLinked)
        EmitStatus();
}

void TSimInstrument::SendInstrumentError(std::uint8_t type, std::uint8_t b1, std::uint8_t b2) {
    Emit(type, b1, b2);
}

void TSimInstrument::SendFrame(std::uint8_t type, const std::uint8_t (&payload)[6]) {
    Emit(type, payload[0], payload[1], payload[2], payload[3], payload[4], payload[5]);
}

void TSimInstrument::SetIdentity(std::uint8_t program, std::uint8_t serial) {
    Program = program;
    Serial = serial;
}

// ---- Commands -------------------------------------------------------------

void TSimInstrument::Receive(const std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i)
        TakeCommandByte(bytes[i]);
}

void TSimInstrument::TakeCommandByte(std::uint8_t byte) {
    const auto unexpected = [&](std::uint8_t expected) {
        Command.clear();
        if (Answering)
            Emit(TmUnexpectedByte, expected, byte);
    };
    if (Command.empty()) {
        if (byte != CommandStartMarker)
            return unexpected(CommandStartMarker);
        Command.push_back(byte);
        CommandStartedAt = Now;
        return;
    }
    if (Command.size() == 1) {
        if (byte != CommandSecondMarker)
            return unexpected(CommandSecondMarker);
        Command.push_back(byte);
        return;
    }
    Command.push_back(byte);
    const int parameters = ParameterCount(Command[2]);
    if (parameters < 0)
        return unexpected(CmdLinkRequest);
    const std::size_t length = parameters == 0 ? 3 : static_cast<std::size_t>(3 + parameters + 1);
    if (Command.size() == length)
        RunCommand();
}

void TSimInstrument::RunCommand() {
    const std::vector<std::uint8_t> c = std::move(Command);
    Command.clear();
    const std::uint8_t code = c[2];
    if (!Answering || Muted.count(code) != 0)
        return; // the instrument takes no notice

    if (code != CmdAdcRequest) {
        const std::uint8_t sum = ByteSum(c.data() + 2, static_cast<int>(c.size()) - 3);
        if (sum != c.back()) {
            Emit(TmBlockChecksumError, sum, c.back());
            return;
        }
    }

    switch (code) {
    case CmdLinkRequest:
        if (!IdentitySent) {
            Emit(TmUnitIdentity, Program, Serial);
            IdentitySent = true;
        }
        Answer(code, TmLinkReady);
        if (!IsLinked) {
            IsLinked = true;
            NextStatusAt = Now + StatusPeriodMs;
            if (!Stopped())
                BeginForward();
        }
        break;
    case CmdSweepBounds: {
        const auto max = static_cast<std::uint16_t>(c[3] << 8 | c[4]);
        const auto min = static_cast<std::uint16_t>(c[5] << 8 | c[6]);
        const bool changed = max != Max || min != Min;
        Max = max;
        Min = min;
        Answer(code, TmBoundsAccepted, High(Max), Low(Max), High(Min), Low(Min));
        if (changed && IsLinked && !Stopped())
            BeginForward();
        break;
    }
    case CmdGainSpeed: {
        const std::uint8_t before = KodRapid();
        if (KnownGainKod(c[3]))
            Gain = c[3];
        if (KnownSpeedKod(c[4]))
            Speed = c[4];
        Answer(code, TmGainSpeedAccepted, KodAmpl(), KodRapid());
        if (IsLinked && before != KodRapid()) {
            if (Stopped())
                NextPointAt = Never;
            else if (SweepPhase == TPhase::Idle || (before == 0) != Reversed() || before == 1)
                BeginForward();
            else {
                PlanSweep();
                NextPointAt =
                    Now + (SweepPhase == TPhase::Forward ? PointIntervalMs : BackwardTickMs);
            }
        }
        break;
    }
    case CmdCorrection:
        Correction = static_cast<std::uint16_t>(c[3] << 8 | c[4]);
        Answer(code, TmCorrectionAccepted, High(Ukorr()), Low(Ukorr()));
        break;
    case CmdAdcRequest: {
        // A Hall probe reading that follows the field.
        const double adc =
            std::clamp(200 + FieldNow * 3600 / 65535 + 1.5 * Random.Gauss(), 0.0, 4095.0);
        Answer(code, TmAdcReading, High(std::round(adc)), Low(std::round(adc)));
        break;
    }
    default:
        break;
    }
}

// ---- The sweep ------------------------------------------------------------

std::uint8_t TSimInstrument::GainStateByte() const {
    std::uint8_t b = KodAmpl() & StateCodeMask;
    if (ManualGain)
        b |= StateManualBit;
    if (ManualCorrection)
        b |= StateManualCorrectionBit;
    return b;
}

std::uint8_t TSimInstrument::SpeedStateByte() const {
    std::uint8_t b = KodRapid() & StateCodeMask;
    if (ManualSpeed)
        b |= StateManualBit;
    return b;
}

void TSimInstrument::PlanSweep() {
    const double range = std::abs(static_cast<double>(Max) - Min) + 1;
    const double sweepMs = SweepMs(KodRapid());
    if (sweepMs <= 0)
        return;
    const double pointsPerSecond = Baud / 100.0 * LineShareForPoints;
    const double points = std::max(2.0, std::floor(sweepMs * pointsPerSecond / 1000));
    Step = static_cast<std::uint8_t>(std::clamp(std::ceil(range / points), 1.0, 255.0));
    PointIntervalMs = sweepMs / std::ceil(range / Step);
}

void TSimInstrument::BeginForward() {
    ++Sweeps;
    SweepPhase = TPhase::Forward;
    FieldNow = Reversed() ? std::max(Min, Max) : std::min(Min, Max);
    PlanSweep();
    Emit(TmSweepStart, High(Max), Low(Max), High(Min), Low(Min), High(FieldNow), Low(FieldNow));
    EmitStatus();
    NextPointAt = Now + PointIntervalMs;
    NextStatusAt = Now + StatusPeriodMs;
}

void TSimInstrument::BeginBackward() {
    SweepPhase = TPhase::Backward;
    BackwardFrom = FieldNow;
    BackwardStartedAt = Now;
    BackwardMs = std::max(200.0, SweepMs(KodRapid()) / 4);
    NextPointAt = Now;
}

std::uint16_t TSimInstrument::Amplitude(double fieldCode) {
    double factor = 1;
    for (const TGainRow& row : GainTable)
        if (row.KodAmpl == KodAmpl())
            factor = row.Factor;
    const double shift = (static_cast<double>(Ukorr()) - CorrectionOffset) / 16;
    const double value = 2048 + factor * (Spectrum.Signal(fieldCode) + 0.6 * Random.Gauss()) +
                         0.8 * Random.Gauss() + shift;
    return static_cast<std::uint16_t>(std::clamp(std::round(value), 0.0, 4095.0));
}

void TSimInstrument::EmitPoint() {
    const double lo = std::min(Min, Max);
    const double hi = std::max(Min, Max);
    if (SweepPhase == TPhase::Forward) {
        const std::uint16_t value = Amplitude(FieldNow);
        Emit(TmDataPoint, High(FieldNow), Low(FieldNow), High(value), Low(value), GainStateByte(),
             SpeedStateByte());
        const double next = FieldNow + (Reversed() ? -Step : Step);
        if (next > hi || next < lo) {
            BeginBackward();
            return;
        }
        FieldNow = next;
        NextPointAt += PointIntervalMs;
        return;
    }
    // The backward run returns to where the next forward run starts.
    const double target = Reversed() ? hi : lo;
    const double done = (Now - BackwardStartedAt) / BackwardMs;
    if (done >= 1) {
        BeginForward();
        return;
    }
    FieldNow = std::round(BackwardFrom + (target - BackwardFrom) * done);
    Emit(TmBackwardSweep, 0, 0, 0, 0, High(FieldNow), Low(FieldNow));
    NextPointAt += BackwardTickMs;
}

void TSimInstrument::EmitStatus() {
    Emit(TmStatus, High(Ukorr()), Low(Ukorr()), Step, static_cast<std::uint8_t>(Sweeps & 0xFF),
         GainStateByte(), SpeedStateByte());
}

void TSimInstrument::Advance(int ms) {
    const double target = Now + std::max(ms, 0);
    for (;;) {
        const double commandDue = Command.empty() ? Never : CommandStartedAt + CommandByteTimeoutMs;
        const double pointDue = IsLinked && !Stopped() ? NextPointAt : Never;
        const double statusDue = IsLinked ? NextStatusAt : Never;
        const double next = std::min({commandDue, pointDue, statusDue});
        if (next > target)
            break;
        Now = std::max(Now, next);
        if (next == commandDue) {
            Command.clear();
            if (Answering)
                Emit(TmByteTimeout);
        } else if (next == statusDue) {
            EmitStatus();
            NextStatusAt += StatusPeriodMs;
        } else {
            EmitPoint();
        }
    }
    Now = target;
}
