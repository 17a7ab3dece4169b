// The window's receive path on a real serial device: a pseudo-terminal is
// the port, the test plays the instrument on its master side.

#include "receive_fixture.h"

#include "link/pty_line.h"
#include "sim/device_factory.h"

namespace {

struct PtyReceive : ::testing::Test {
    TAppDir Dir;
    TPtyLine Line{0};

    void SetUp() override {
        ASSERT_TRUE(Line.Ok());
        // The slave's own path: a device path is kept whole as the port name.
        WriteReceiveIni(Dir, Line.SlavePath, "AutoMinMax=1\r\n");
    }

    void Send(const QByteArray& bytes) {
        int done = 0;
        while (done < bytes.size())
            done += Line.WriteSome(bytes.constData() + done, static_cast<int>(bytes.size()) - done);
    }

    static bool Stored(TKavMainForm& w, int first, int count) {
        for (int code = first; code < first + count; ++code)
            if (w.Points()[code].Y != 2048 + code % 500)
                return false;
        return true;
    }

    static QByteArray Points(int first, int count) {
        QByteArray frames;
        for (int code = first; code < first + count; ++code)
            frames += Point(code, 2048 + code % 500);
        return frames;
    }
};

// While a warning box of the automatic processing is open, frames keep
// arriving; the box's event loop goes on running the poll timer.
struct TBoxDuringFrames : TScriptedPort {
    std::function<void()> WhileOpen;
    void Warning(const QString& text) override {
        TScriptedPort::Warning(text);
        if (WhileOpen)
            WhileOpen();
    }
};

} // namespace

TEST_F(PtyReceive, FramesFromTheLineReachTheStoreAndTheMessageWindow) {
    TScriptedPort port;
    auto w = ShowWindow(port, DefaultDeviceFactory());
    ASSERT_TRUE(w->Receiver().Opened()) << port.Errors.join('\n').toStdString();
    EXPECT_EQ(w->StatusPanels()->Panel(0), Line.SlavePath);
    Send(Frame(TmUnitIdentity, {3, 17}) + SweepStart() + Points(5000, 200) + Filler());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Stored(*w, 5000, 200); }, 10000));
    const QStringList lines = w->MessageForm()->Messages();
    EXPECT_TRUE(lines.contains("Tm01. PROGRAMMA=3"));
    EXPECT_TRUE(lines.contains("      SPnomer=17"));
    EXPECT_TRUE(lines.contains("Tm03. POLEmax=65519"));
    EXPECT_EQ(w->StatusPanels()->Panel(5), "PR: 3");
    EXPECT_EQ(w->StatusPanels()->Panel(7), "Рабочий ход");
}

TEST_F(PtyReceive, FramesArrivingWhileABoxIsOpenAreAllHandledAfterItCloses) {
    TBoxDuringFrames port;
    auto w = ShowWindow(port, DefaultDeviceFactory());
    ASSERT_TRUE(w->Receiver().Opened());
    int storedWhileOpen = -1;
    bool pollingWhileOpen = false;
    port.WhileOpen = [&] {
        // 300 points arrive while the box waits for the operator, over many
        // poll periods.
        Send(Points(20000, 300) + Filler());
        QTest::qWait(400);
        storedWhileOpen = 0;
        for (int code = 20000; code < 20300; ++code)
            storedWhileOpen += w->Points()[code].Y != EmptyY;
        pollingWhileOpen = w->Receiver().Polling();
    };
    // A sweep and its backward run: the automatic extremum search warns that
    // the visirs are not set.
    Send(SweepStart() + Points(1000, 50) + Frame(TmBackwardSweep, {0, 0, 0, 0, 0x03, 0xE8}) +
         Filler());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.Warnings.isEmpty(); }, 10000));
    EXPECT_EQ(port.Warnings[0], TProcessingActions::MinMaxVisirWarning);
    // Nothing was handled while the box was open: the poll that opened it
    // was still running and no other poll began.
    EXPECT_EQ(storedWhileOpen, 0);
    EXPECT_TRUE(pollingWhileOpen);
    // Closed, every frame is handled, none lost.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Stored(*w, 20000, 300); }, 10000));
    EXPECT_EQ(port.Warnings.size(), 1);
    for (const QString& line : w->MessageForm()->Messages())
        EXPECT_FALSE(line.startsWith("Ошибка")) << line.toStdString();
}
