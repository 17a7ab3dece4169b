// The placement of a file's records against the plain reference: one record
// after the other, each into its slot, the later winning. Files of every
// shape must give the same two tables and the same counts: what this program
// writes (long runs of points), runs broken at every place, points out of
// order, repeats, parameters and damaged records mixed in, random bytes.
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <gtest/gtest.h>

#include <QtEndian>
#include <memory>
#include <random>
#include <vector>

namespace {

struct TPlaced {
    std::unique_ptr<TPointTable> Store = std::make_unique<TPointTable>();
    std::unique_ptr<TPointTable> Undo = std::make_unique<TPointTable>();
    TLoadStats Stats;
};

TPlaced Reference(const QByteArray& bytes) {
    TPlaced r;
    ClearPoints(*r.Store);
    ClearPoints(*r.Undo);
    const int records = static_cast<int>(std::min<qsizetype>(bytes.size() / 4, 65536));
    r.Stats.Records = records;
    r.Stats.TrailingBytes = static_cast<int>(bytes.size() % 4);
    const uchar* in = reinterpret_cast<const uchar*>(bytes.constData());
    for (int i = 0; i < records; ++i)
        (*r.Undo)[i] = TPointSlot{qFromLittleEndian<quint16>(in + 4 * i),
                                  qFromLittleEndian<quint16>(in + 4 * i + 2)};
    for (int i = 0; i < records; ++i) {
        const TPointSlot record = (*r.Undo)[i];
        int slot = 0;
        if (record.Y == 65535)
            continue;
        if (record.Y <= 4095) {
            slot = record.X;
            ++r.Stats.Points;
        } else if (record.Y >= 65520) {
            slot = record.Y;
            ++r.Stats.Parameters;
        } else {
            ++r.Stats.Stray;
            continue;
        }
        if ((*r.Store)[slot].Y != 65535)
            ++r.Stats.Overwritten;
        (*r.Store)[slot] = record;
    }
    return r;
}

void Append(QByteArray& bytes, std::uint16_t x, std::uint16_t y) {
    uchar record[4];
    qToLittleEndian<quint16>(x, record);
    qToLittleEndian<quint16>(y, record + 2);
    bytes.append(reinterpret_cast<const char*>(record), 4);
}

// Places the bytes both ways, over tables that held something else, and
// compares everything.
void ExpectSamePlacement(const QByteArray& bytes, const char* what) {
    SCOPED_TRACE(what);
    const TPlaced expected = Reference(bytes);
    TPlaced placed;
    for (int i = 0; i < 65536; ++i) {
        (*placed.Store)[i] = TPointSlot{static_cast<std::uint16_t>(i), 7};
        (*placed.Undo)[i] = TPointSlot{7, static_cast<std::uint16_t>(i)};
    }
    placed.Stats = PlaceSpectrumRecords(bytes, *placed.Store, *placed.Undo);
    EXPECT_EQ(placed.Stats.Records, expected.Stats.Records);
    EXPECT_EQ(placed.Stats.TrailingBytes, expected.Stats.TrailingBytes);
    EXPECT_EQ(placed.Stats.Points, expected.Stats.Points);
    EXPECT_EQ(placed.Stats.Parameters, expected.Stats.Parameters);
    EXPECT_EQ(placed.Stats.Stray, expected.Stats.Stray);
    EXPECT_EQ(placed.Stats.Overwritten, expected.Stats.Overwritten);
    for (int i = 0; i < 65536; ++i) {
        ASSERT_EQ((*placed.Store)[i], (*expected.Store)[i]) << "store slot " << i;
        ASSERT_EQ((*placed.Undo)[i], (*expected.Undo)[i]) << "undo slot " << i;
    }
}

} // namespace

TEST(RecordPlacement, FilesThisProgramWrites) {
    QByteArray full;
    for (int code = 0; code < 65536; ++code)
        Append(full, static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(code % 4096));
    ExpectSamePlacement(full, "every slot a point, the reserved ones too");

    QByteArray sweep;
    for (int code = 1000; code <= 60000; ++code)
        Append(sweep, static_cast<std::uint16_t>(code),
               static_cast<std::uint16_t>(2048 + code % 7));
    for (int code = 65525; code <= 65534; ++code)
        Append(sweep, static_cast<std::uint16_t>(code - 65000), static_cast<std::uint16_t>(code));
    ExpectSamePlacement(sweep, "a sweep between bounds and its parameter block");
    sweep.append("\x05\x06", 2);
    ExpectSamePlacement(sweep, "the same with a trailing part");

    QByteArray sparse;
    for (int code = 0; code <= 65519; code += 3)
        Append(sparse, static_cast<std::uint16_t>(code), 100);
    ExpectSamePlacement(sparse, "points on every third code");
    ExpectSamePlacement(QByteArray(), "an empty file");
    ExpectSamePlacement(full.left(4 * 64 + 2), "one run and a part");
}

TEST(RecordPlacement, RunsBrokenAtEveryPlace) {
    // A long run with one record changed at each position of the first runs
    // in turn: a stray, an empty record, a repeat of an earlier code, a
    // parameter, a code skipped, a point past the reserved codes.
    const std::vector<std::pair<std::uint16_t, std::uint16_t>> breaks = {
        {5, 5000}, {9, 65535}, {3, 100}, {1, 65530}, {0, 0}, {65535, 4095}};
    for (int kind = 0; kind < static_cast<int>(breaks.size()); ++kind) {
        for (int at = 0; at < 200; at += 7) {
            QByteArray bytes;
            for (int i = 0; i < 1000; ++i) {
                std::uint16_t x = static_cast<std::uint16_t>(500 + i);
                std::uint16_t y = static_cast<std::uint16_t>(i % 4096);
                if (i == at) {
                    x = breaks[kind].first == 0 ? static_cast<std::uint16_t>(x + 1)
                                                : breaks[kind].first;
                    y = breaks[kind].second;
                }
                Append(bytes, x, y);
            }
            ExpectSamePlacement(bytes, "a broken run");
        }
    }
}

TEST(RecordPlacement, RecordsInAnyOrder) {
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        QByteArray bytes;
        const int count = static_cast<int>(random() % 70000);
        std::uint16_t code = static_cast<std::uint16_t>(random());
        for (int i = 0; i < count; ++i) {
            switch (random() % 8) {
            case 0: // a jump anywhere, backwards too
                code = static_cast<std::uint16_t>(random());
                break;
            case 1: // a parameter, a stray or an empty record
                Append(bytes, static_cast<std::uint16_t>(random()),
                       static_cast<std::uint16_t>(
                           std::vector<int>{65520, 65534, 4096, 65519, 65535}[random() % 5]));
                continue;
            default:
                break;
            }
            Append(bytes, code++, static_cast<std::uint16_t>(random() % 4096));
        }
        ExpectSamePlacement(bytes, "points in runs and jumps");
    }
    for (int round = 0; round < 30; ++round) {
        QByteArray bytes(static_cast<int>(random() % 300000), Qt::Uninitialized);
        for (char& c : bytes)
            c = static_cast<char>(random());
        ExpectSamePlacement(bytes.left(262147), "random bytes");
    }
}
