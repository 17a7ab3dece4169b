// The simulated spectrometer: its answers, sweeps, signal, knobs and
// trouble as bytes on the line.
#include "base/instrument_tables.h"
#include "link/command_frame.h"
#include "link/protocol.h"
#include "link/telemetry.h"
#include "sim/sim_instrument.h"

#include <QByteArray>
#include <QList>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Cuts an aligned telemetry stream into decoded frames; BadSums counts the
// frames whose checksum does not match, Stray the bytes outside any frame.
struct TFrameCut {
    QList<TTelemetry> Frames;
    int BadSums = 0;
    int Stray = 0;

    explicit TFrameCut(const QByteArray& bytes) {
        const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        const int n = static_cast<int>(bytes.size());
        int i = 0;
        while (i < n) {
            if (i + 10 <= n && b[i] == FrameStartMarker && b[i + 1] == FrameSecondMarker) {
                if (ByteSum(b + i + 2, 7) != b[i + 9])
                    ++BadSums;
                else
                    Frames << DecodeTelemetry(b + i + 2);
                i += 10;
            } else {
                ++Stray;
                ++i;
            }
        }
    }
    QList<TTelemetry> OfType(std::uint8_t type) const {
        QList<TTelemetry> list;
        for (const TTelemetry& t : Frames)
            if (t.Type == type)
                list << t;
        return list;
    }
};

inline void Command(TSimInstrument& sim, int code,
                    const TCommandValues& values = TCommandValues{}) {
    const QByteArray frame = BuildCommand(code, values);
    sim.Receive(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                static_cast<int>(frame.size()));
}

TCommandValues Values(int poleMin, int poleMax, int gainRow = 0, int speedRow = 10,
                      int correction = 0) {
    TCommandValues v;
    v.PoleMin = poleMin;
    v.PoleMax = poleMax;
    v.Amplifying = gainRow;
    v.Rapid = speedRow;
    v.Correction = correction;
    return v;
}

// An instrument linked and set up the way the handshake leaves it.
TSimInstrument Linked(const TCommandValues& v, std::uint64_t seed = 1) {
    TSimInstrument sim(seed);
    Command(sim, CmdLinkRequest, v);
    Command(sim, CmdSweepBounds, v);
    Command(sim, CmdGainSpeed, v);
    Command(sim, CmdCorrection, v);
    return sim;
}

// Milliseconds from a forward start to the first backward frame.
double ForwardMs(std::uint8_t speedRow) {
    TSimInstrument sim = Linked(Values(0, 65519, 0, speedRow));
    sim.TakeAll();
    double started = sim.NowMs();
    for (int ms = 0; ms < 600000; ms += 10) {
        sim.Advance(10);
        if (!TFrameCut(sim.TakeAll()).OfType(TmBackwardSweep).isEmpty())
            return sim.NowMs() - started;
    }
    return -1;
}

} // namespace

TEST(SimInstrument, SilentUntilLinkedThenAnswersTheHandshake) {
    TSimInstrument sim;
    sim.Advance(5000);
    EXPECT_EQ(sim.Pending(), 0);

    Command(sim, CmdLinkRequest);
    TFrameCut link(sim.TakeAll());
    ASSERT_GE(link.Frames.size(), 2);
    EXPECT_EQ(link.Frames[0].Type, TmUnitIdentity);
    EXPECT_EQ(link.Frames[1].Type, TmLinkReady);
    EXPECT_EQ(link.BadSums, 0);
    EXPECT_TRUE(sim.Linked());

    Command(sim, CmdLinkRequest);
    TFrameCut again(sim.TakeAll());
    EXPECT_TRUE(again.OfType(TmUnitIdentity).isEmpty());
    EXPECT_EQ(again.OfType(TmLinkReady).size(), 1);

    const TCommandValues v = Values(1000, 30000, 3, 9, -100);
    Command(sim, CmdSweepBounds, v);
    Command(sim, CmdGainSpeed, v);
    Command(sim, CmdCorrection, v);
    TFrameCut answers(sim.TakeAll());
    // One of each answer, and new bounds start a new forward sweep.
    for (std::uint8_t type :
         {TmBoundsAccepted, TmGainSpeedAccepted, TmCorrectionAccepted, TmSweepStart})
        ASSERT_EQ(answers.OfType(type).size(), 1) << int(type);
    EXPECT_EQ(answers.OfType(TmBoundsAccepted)[0].PoleMax, 30000);
    EXPECT_EQ(answers.OfType(TmBoundsAccepted)[0].PoleMin, 1000);
    EXPECT_EQ(answers.OfType(TmGainSpeedAccepted)[0].KodAmpl, GainTable[3].KodAmpl);
    EXPECT_EQ(answers.OfType(TmGainSpeedAccepted)[0].KodRapid, SpeedTable[9].KodRapid);
    EXPECT_EQ(answers.OfType(TmCorrectionAccepted)[0].Ukorr, 32768 - 100);
    EXPECT_EQ(answers.OfType(TmSweepStart)[0].PoleMin, 1000);
}

TEST(SimInstrument, ForwardSweepStreamsPointsThenRunsBack) {
    TSimInstrument sim = Linked(Values(2000, 12000));
    sim.TakeAll(); // the sweep that the link began
    sim.Advance(20000);
    TFrameCut cut(sim.TakeAll());
    EXPECT_EQ(cut.BadSums, 0);
    EXPECT_EQ(cut.Stray, 0);

    // From the last forward start: Tm03, a Tm04 whose dPOLE is the point step,
    // ascending points inside the bounds, then type 14 frames running down.
    int start = -1;
    for (int i = 0; i < cut.Frames.size(); ++i)
        if (cut.Frames[i].Type == TmSweepStart && i + 1 < cut.Frames.size())
            start = start < 0 ? i : start;
    ASSERT_GE(start, 0);
    ASSERT_EQ(cut.Frames[start + 1].Type, TmStatus);
    const int step = cut.Frames[start + 1].DPole;
    ASSERT_GE(step, 1);
    int previous = -1, points = 0, i = start + 2;
    for (; i < cut.Frames.size() && cut.Frames[i].Type != TmBackwardSweep; ++i) {
        const TTelemetry& t = cut.Frames[i];
        if (t.Type != TmDataPoint)
            continue;
        EXPECT_GE(t.Field, 2000);
        EXPECT_LE(t.Field, 12000);
        if (previous >= 0) {
            EXPECT_EQ(t.Field - previous, step);
        }
        EXPECT_FALSE(t.Gain.ManualGain);
        EXPECT_EQ(t.Speed.KodRapid, 8);
        previous = t.Field;
        ++points;
    }
    EXPECT_GT(points, 100);
    EXPECT_GT(previous + step, 12000); // the sweep reached the upper bound
    int lastBack = 65535;
    for (; i < cut.Frames.size() && cut.Frames[i].Type == TmBackwardSweep; ++i) {
        EXPECT_LE(cut.Frames[i].Field, lastBack);
        lastBack = cut.Frames[i].Field;
    }
    ASSERT_LT(i, cut.Frames.size());
    EXPECT_EQ(cut.Frames[i].Type, TmSweepStart); // and the next sweep begins
    EXPECT_GE(cut.OfType(TmStatus).size(), 5);   // a status now and then
}

TEST(SimInstrument, SweepTimeFollowsTheSpeedTable) {
    const double oneMinute = ForwardMs(10);  // " 1 мин"
    const double twoMinutes = ForwardMs(9);  // " 2 мин"
    const double halfMinute = ForwardMs(11); // "30 сек"
    ASSERT_GT(oneMinute, 0);
    EXPECT_NEAR(twoMinutes / oneMinute, 2.0, 0.1);
    EXPECT_NEAR(oneMinute / halfMinute, 2.0, 0.1);
    // A demonstration sweep takes seconds.
    EXPECT_GT(oneMinute, 1000);
    EXPECT_LT(oneMinute, 10000);
}

TEST(SimInstrument, StopHoldsTheFieldAndBackwardsSweepsDown) {
    TSimInstrument sim = Linked(Values(0, 65519, 0, 2)); // " СТОП"
    sim.TakeAll();
    sim.Advance(5000);
    TFrameCut stopped(sim.TakeAll());
    EXPECT_TRUE(stopped.OfType(TmDataPoint).isEmpty());
    EXPECT_FALSE(stopped.OfType(TmStatus).isEmpty());

    Command(sim, CmdGainSpeed, Values(0, 65519, 0, 1)); // "-4 мин"
    sim.Advance(2000);
    const QList<TTelemetry> points = TFrameCut(sim.TakeAll()).OfType(TmDataPoint);
    ASSERT_GT(points.size(), 10);
    EXPECT_EQ(points[0].Field, 65519);
    for (int i = 1; i < points.size(); ++i)
        EXPECT_LT(points[i].Field, points[i - 1].Field);
}

TEST(SimInstrument, SignalIsADerivativeSpectrumScaledByGainAndShiftedByCorrection) {
    auto code = [](double gauss) {
        return (gauss - TSimSpectrum::SpanLowGauss) * 65520 /
               (TSimSpectrum::SpanHighGauss - TSimSpectrum::SpanLowGauss);
    };
    // The mean deviation from the zero line of the points within 60 codes of
    // a field, in a sweep over the field +-2000 codes.
    auto deviation = [&](double at, int gainRow, int correction) {
        const int centre = static_cast<int>(at);
        TSimInstrument sim =
            Linked(Values(centre - 2000, centre + 2000, gainRow, 10, correction), 5);
        sim.Advance(2600);
        double sum = 0;
        int n = 0;
        for (const TTelemetry& t : TFrameCut(sim.TakeAll()).OfType(TmDataPoint))
            if (std::abs(t.Field - at) < 60) {
                sum += t.Value - 2048.0;
                ++n;
            }
        EXPECT_GT(n, 2);
        return n ? sum / n : NAN;
    };
    // Around the DPPH line the derivative is positive below the centre and
    // negative above it.
    const double halfWidth = TSimSpectrum::DpphWidthGauss / 2;
    const double low = deviation(code(TSimSpectrum::DpphGauss - halfWidth), 0, 0);
    const double high = deviation(code(TSimSpectrum::DpphGauss + halfWidth), 0, 0);
    EXPECT_GT(low, 5);
    EXPECT_LT(high, -5);
    EXPECT_NEAR(deviation(code(TSimSpectrum::DpphGauss - halfWidth), 3, 0) / low, 10,
                2); // gain "10"
    // The outermost Mn line on the low-field side.
    const double mn = TSimSpectrum::MnCentreGauss - 2.5 * TSimSpectrum::MnSplittingGauss;
    EXPECT_GT(deviation(code(mn - TSimSpectrum::MnWidthGauss / 2), 0, 0), 3);
    EXPECT_LT(deviation(code(mn + TSimSpectrum::MnWidthGauss / 2), 0, 0), -3);
    // Far from every line the trace sits at the zero line plus the correction.
    EXPECT_NEAR(deviation(code(3200), 0, 0), 0, 2);
    EXPECT_NEAR(deviation(code(3200), 0, 1600), 100, 3);
}

TEST(SimInstrument, ManualControlShowsInTheStateBytes) {
    TSimInstrument sim = Linked(Values(0, 65519));
    sim.SetManualGain(3);
    sim.SetManualCorrection(40000);
    sim.SetManualSpeed(7);
    Command(sim, CmdGainSpeed, Values(0, 65519, 7, 4)); // overridden by the knobs
    sim.Advance(500);
    TFrameCut cut(sim.TakeAll());
    const QList<TTelemetry> points = cut.OfType(TmDataPoint);
    ASSERT_FALSE(points.isEmpty());
    EXPECT_EQ(points.last().GainByte, 0x80 | 0x40 | 3);
    EXPECT_EQ(points.last().SpeedByte, 0x80 | 7);
    EXPECT_EQ(cut.OfType(TmGainSpeedAccepted).last().KodAmpl, 3);
    EXPECT_EQ(cut.OfType(TmStatus).last().Ukorr, 40000);
}

// CTS pulses while it can take a command; the instrument knows its next
// change, so a send can sleep from edge to edge.
TEST(SimInstrument, CtsPulsesOnlyWhenItCanTakeACommandAndKnowsItsNextChange) {
    TSimInstrument sim;
    int on = 0;
    for (int ms = 0; ms < 100; ++ms)
        on += sim.ClearToSend(ms * 1000) ? 1 : 0;
    EXPECT_EQ(on, 100 / TSimInstrument::CtsPeriodMs * TSimInstrument::CtsPulseMs);
    const int period = TSimInstrument::CtsPeriodMs * 1000;
    const int pulse = TSimInstrument::CtsPulseMs * 1000;
    for (const std::int64_t now : {0, 1, pulse - 1, pulse, pulse + 1, period - 1, 5 * period + 7}) {
        SCOPED_TRACE(now);
        const std::optional<std::int64_t> next = sim.NextCtsChange(now);
        ASSERT_TRUE(next.has_value());
        EXPECT_GT(*next, now);
        EXPECT_NE(sim.ClearToSend(*next), sim.ClearToSend(now));
        for (std::int64_t t = now; t < *next; t += 250) // no change before it
            ASSERT_EQ(sim.ClearToSend(t), sim.ClearToSend(now)) << t;
    }
    sim.SetCtsMode(TSimInstrument::TCtsMode::HeldOn);
    EXPECT_TRUE(sim.ClearToSend(10000));
    EXPECT_FALSE(sim.NextCtsChange(0).has_value());
    sim.SetCtsMode(TSimInstrument::TCtsMode::HeldOff);
    EXPECT_FALSE(sim.ClearToSend(0));
    sim.SetCtsMode(TSimInstrument::TCtsMode::Pulse);
    sim.SetSilent(true);
    EXPECT_FALSE(sim.ClearToSend(0));
    EXPECT_FALSE(sim.NextCtsChange(0).has_value());
}

TEST(SimInstrument, ReportsBadCommandsAsTheInstrumentWould) {
    TSimInstrument sim;
    QByteArray bad = BuildCommand(CmdLinkRequest, TCommandValues{});
    bad[5] = 0x00;
    sim.Receive(reinterpret_cast<const std::uint8_t*>(bad.constData()),
                static_cast<int>(bad.size()));
    const std::uint8_t stray = 0x33;
    sim.Receive(&stray, 1);
    const std::uint8_t half[] = {0x81, 0x58, 0x96};
    sim.Receive(half, 3);
    sim.Advance(20);
    TFrameCut cut(sim.TakeAll());
    ASSERT_EQ(cut.Frames.size(), 3);
    EXPECT_EQ(cut.Frames[0].Type, TmBlockChecksumError);
    EXPECT_EQ(cut.Frames[0].Expected, 0x94);
    EXPECT_EQ(cut.Frames[0].Received, 0x00);
    EXPECT_EQ(cut.Frames[1].Type, TmUnexpectedByte);
    EXPECT_EQ(cut.Frames[1].Expected, 0x81);
    EXPECT_EQ(cut.Frames[1].Received, 0x33);
    EXPECT_EQ(cut.Frames[2].Type, TmByteTimeout);
}

TEST(SimInstrument, ScriptedTroubleAndSilenceReachTheLine) {
    TSimInstrument sim;
    sim.InjectBytes(QByteArray::fromHex("55"));
    sim.CorruptNextFrame();
    sim.SendInstrumentError(TmUartTimeout);
    sim.SendInstrumentError(TmUnexpectedByte, 5, 7);
    sim.InjectLineErrors(LineErrorFraming);
    TFrameCut cut(sim.TakeAll());
    EXPECT_EQ(cut.Stray, 1);
    EXPECT_EQ(cut.BadSums, 1);
    ASSERT_EQ(cut.Frames.size(), 1);
    EXPECT_EQ(cut.Frames[0].Type, TmUnexpectedByte);
    EXPECT_EQ(sim.TakeLineErrors(), LineErrorFraming);
    EXPECT_EQ(sim.TakeLineErrors(), 0u);

    sim.SetSilent(true);
    Command(sim, CmdLinkRequest);
    sim.Advance(3000);
    EXPECT_EQ(sim.Pending(), 0);

    // Told not to answer one command, or any.
    TSimInstrument mute;
    mute.SetAnswer(CmdLinkRequest, false);
    Command(mute, CmdLinkRequest);
    EXPECT_EQ(mute.Pending(), 0);
    EXPECT_FALSE(mute.Linked());
    mute.SetAnswer(CmdLinkRequest, true);
    mute.SetAnswering(false);
    Command(mute, CmdLinkRequest);
    EXPECT_EQ(mute.Pending(), 0);
}

TEST(SimInstrument, AdcRequestGetsAReadingThatFollowsTheField) {
    TSimInstrument sim = Linked(Values(0, 65519));
    sim.TakeAll();
    Command(sim, CmdAdcRequest);
    const QList<TTelemetry> first = TFrameCut(sim.TakeAll()).OfType(TmAdcReading);
    ASSERT_EQ(first.size(), 1);
    sim.Advance(2000);
    sim.TakeAll();
    Command(sim, CmdAdcRequest);
    const QList<TTelemetry> later = TFrameCut(sim.TakeAll()).OfType(TmAdcReading);
    ASSERT_EQ(later.size(), 1);
    EXPECT_LE(later[0].AdcValue, 4095);
    EXPECT_GT(later[0].AdcValue, first[0].AdcValue + 100);
}

TEST(SimInstrument, SameSeedSameBytes) {
    auto run = [](std::uint64_t seed) {
        TSimInstrument sim = Linked(Values(0, 65519), seed);
        for (int i = 0; i < 300; ++i)
            sim.Advance(10);
        return sim.TakeAll();
    };
    const QByteArray a = run(3);
    EXPECT_GT(a.size(), 1000);
    EXPECT_EQ(a, run(3));
    EXPECT_NE(a, run(4));
}
