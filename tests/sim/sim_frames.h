#pragma once

#include "link/command_frame.h"
#include "link/protocol.h"
#include "link/telemetry.h"
#include "sim/sim_instrument.h"

#include <QByteArray>
#include <QList>

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
