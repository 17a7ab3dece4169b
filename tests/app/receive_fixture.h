#pragma once

// Windows in receive mode for the tests of the receive side: a Kav.ini that
// names the port, telemetry frames built as the instrument sends them, and
// lines that take them.

#include "acquisition/acquisition_engine.h"
#include "acquisition/message_window.h"
#include "app/instrument_groups_widget.h"
#include "app/receive_view.h"
#include "app_fixture.h"
#include "link/protocol.h"
#include "link/receiver.h"
#include "view/plot_widget.h"
#include "view/status_bar_widget.h"

#include <QComboBox>
#include <QGroupBox>
#include <QSlider>
#include <QSpinBox>
#include <initializer_list>

// Kav.ini of a start in receive mode on a port, the poll every 20 ms, with
// further lines of the section [Main].
inline void WriteReceiveIni(const TAppDir& dir, const QString& port, const QByteArray& main = {}) {
    dir.WriteIni("[Port]\r\nPortName=" + port.toUtf8() + "\r\nTimeOut=20\r\n[Main]\r\nMode=1\r\n" +
                 main);
}

// One telemetry frame: markers, type, six payload bytes, checksum.
inline QByteArray Frame(std::uint8_t type, std::initializer_list<int> payload = {}) {
    std::uint8_t body[7] = {type};
    int k = 1;
    for (int b : payload)
        body[k++] = static_cast<std::uint8_t>(b);
    QByteArray frame("\x7F\xAA", 2);
    frame.append(reinterpret_cast<const char*>(body), 7);
    frame.append(static_cast<char>(ByteSum(body, 7)));
    return frame;
}

// A data point: field code, amplitude code, gain and speed state bytes
// (computer control, KodAmpl 1 and KodRapid 8 unless given).
inline QByteArray Point(int code, int value, int gain = 0x01, int speed = 0x08) {
    return Frame(TmDataPoint, {code >> 8, code & 0xFF, value >> 8, value & 0xFF, gain, speed});
}

// A forward sweep begins over the whole range.
inline QByteArray SweepStart() {
    return Frame(TmSweepStart, {0xFF, 0xEF, 0, 0, 0, 0});
}

// A frame of a type the program ignores: it pushes the frames before it
// through the poll, which takes a frame only when more bytes wait behind it.
inline QByteArray Filler() {
    return Frame(5);
}

// The in-memory line of a window opened on a quiet port (TestDevices).
inline TMemorySerialDevice* MemoryLine(TKavMainForm& w) {
    return dynamic_cast<TMemorySerialDevice*>(w.Receiver().Device());
}

// Feeds frames into the window's in-memory line and runs one poll.
inline void Deliver(TKavMainForm& w, const QByteArray& frames) {
    TMemorySerialDevice* line = MemoryLine(w);
    ASSERT_NE(line, nullptr);
    line->Feed(frames + Filler());
    w.Receiver().PollTick();
}
