#include "link/receiver.h"

#include "link/protocol.h"

#include <algorithm>

#include <QCoreApplication>

namespace {

int PollPeriod(std::uint16_t timeOut) {
    return std::max<int>(timeOut, TKavReceiver::MinPollPeriodMs);
}

} // namespace

TKavReceiver::TKavReceiver(TDeviceFactory factory, const TClock& clock)
    : TCOMPort(std::move(factory)), Clock(clock), Timer(std::make_unique<QTimer>()) {
    Timer->setInterval(PollPeriod(Settings().TimeOut));
    QObject::connect(Timer.get(), &QTimer::timeout, [this] { PollTick(); });
}

TKavReceiver::~TKavReceiver() {
    Timer->stop();
    Timer.reset();
    Close();
}

void TKavReceiver::SetSettings(TComSettings settings) {
    TCOMPort::SetSettings(settings);
    Timer->setInterval(PollPeriod(Settings().TimeOut));
}

void TKavReceiver::Start() {
    if (!Opened())
        SetSettings(Settings());
    Timer->start();
}

void TKavReceiver::Stop() {
    Close();
    Timer->stop();
}

void TKavReceiver::PollTick() {
    if (InPoll)
        return;
    InPoll = true;
    ReportPendingNotes();
    PollFrames();
    InPoll = false;
    if (TakeLoss() && OnLost)
        OnLost(LostMessage());
}

void TKavReceiver::PollFrames() {
    // The markers and the body must fit RxBuffer; a frame needs at least a
    // type and a checksum behind the two markers.
    const int length = std::clamp<int>(FrameLength, 4, static_cast<int>(RxBuffer.size()) + 2);
    const int body = length - 2;
    // A frame is taken only when one byte more than a frame is waiting, so
    // the stream is never read past what has arrived. A line that has gone
    // away sends nothing more, so its last whole frame is taken too.
    auto enough = [&](int n) { return DeviceLost() ? n >= length : n > length; };

    // The query that counts the waiting bytes also clears the driver's error
    // flags, so they are reported by the tick that saw them, also when too
    // few bytes wait for a frame.
    auto reportErrors = [&] {
        if (LastErrors() != 0)
            Report(QCoreApplication::translate("Receiver", "Ошибка приёма кадра ") +
                   QString::number(LastErrors()));
    };
    int n = InQueueCount();
    if (!enough(n))
        return reportErrors();
    for (;;) {
        reportErrors();
        if (n < length)
            return;
        std::uint8_t marker = 0;
        if (!Read(&marker, 1) || marker != FrameStartMarker)
            return;
        if (!Read(&marker, 1) || marker != FrameSecondMarker)
            return;
        if (!Read(RxBuffer.data(), body))
            return;
        const std::uint8_t sum = ByteSum(RxBuffer.data(), body - 1);
        const std::uint8_t received = RxBuffer[static_cast<std::size_t>(body - 1)];
        if (sum != received) {
            Report(QCoreApplication::translate("Receiver", "Ошибка контрольной суммы (") +
                   QString::number(sum) + QStringLiteral("<>") + QString::number(received) +
                   QStringLiteral(")"));
        } else if (OnFrame) {
            OnFrame();
        }
        n = InQueueCount();
        if (!enough(n))
            return reportErrors();
    }
}

bool TKavReceiver::Send(const std::uint8_t* buffer, int count) {
    if (!Opened())
        return false;
    const std::int64_t t0 = Clock.NowMicros();
    // The first moment whose whole milliseconds since t0 are past the window.
    const std::int64_t giveUpAt = t0 + (CtsWindowMs + 1) * 1000;

    std::int64_t elapsed = 0;
    bool cts = false;
    auto readLine = [&] {
        cts = ClearToSend().value_or(false);
        elapsed = (Clock.NowMicros() - t0) / 1000;
    };
    // Between two looks at the line the thread sleeps: until the line
    // changes, where the device can wait on it, else for a short pause; never
    // past the window.
    auto awaitChange = [&] {
        const std::int64_t now = Clock.NowMicros();
        if (now >= giveUpAt)
            return;
        if (!WaitClearToSendChange(giveUpAt - now))
            Clock.SleepUntil(std::min(giveUpAt, now + CtsPauseMicros));
    };

    // CTS must rise, then fall, both within the window.
    readLine();
    while (!cts && elapsed <= CtsWindowMs) {
        awaitChange();
        readLine();
    }
    readLine();
    while (cts && elapsed <= CtsWindowMs) {
        awaitChange();
        readLine();
    }

    if (elapsed <= CtsWindowMs)
        return Write(buffer, count);
    Report(QCoreApplication::translate("Receiver", "Отсутствует сигнал CTS"));
    return false;
}

bool TKavReceiver::Send(const QByteArray& bytes) {
    return Send(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                static_cast<int>(bytes.size()));
}

bool TKavReceiver::SendCommand(int code, const TCommandValues& values) {
    const QByteArray frame = BuildCommand(code, values);
    if (frame.isEmpty())
        return false;
    return Send(frame);
}
