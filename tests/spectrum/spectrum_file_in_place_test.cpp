// The load that reads a spectrum file straight into the undo table (kavtool's
// tables, made for one file) against the buffered load the window uses: the
// same tables, outcome, message and counts for every shape of file, and the
// bounded reader into the caller's memory under it.
#include "base/input_file.h"
#include "qstring_printer.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sys/stat.h>

namespace {

// A table whose every slot differs from what any load writes there.
std::unique_ptr<TPointTable> Scribbled(int seed) {
    auto t = std::make_unique<TPointTable>();
    for (int i = 0; i < PointSlotCount; ++i)
        (*t)[i] = TPointSlot{static_cast<std::uint16_t>(i ^ seed),
                             static_cast<std::uint16_t>(4096 + (i & 0x3FFF))};
    return t;
}

QByteArray Record(std::uint16_t x, std::uint16_t y) {
    char b[4];
    qToLittleEndian<quint16>(x, b);
    qToLittleEndian<quint16>(y, b + 2);
    return QByteArray(b, 4);
}

// count consecutive points from code `first` on, as the program saves them.
QByteArray Points(int first, int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes +=
            Record(static_cast<std::uint16_t>(first + i), static_cast<std::uint16_t>(i % 4096));
    return bytes;
}

QByteArray Noise(int size, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = static_cast<char>(random());
    return bytes;
}

struct SpectrumFileInPlace : ::testing::Test, TTempFiles {};

} // namespace

TEST_F(SpectrumFileInPlace, EveryFileLoadsAsTheBufferedLoadLoadsIt) {
    const QByteArray parameters = Record(3100, 65520) + Record(3250, 65521) + Record(2, 65534);
    const QByteArray full = Points(0, PointSlotCount);
    const struct {
        const char* Name;
        QByteArray Bytes;
    } files[] = {
        {"empty.kav", {}},
        {"tiny.kav", QByteArray("\x01\x02\x03", 3)},
        {"program.kav", Points(20000, 5000) + parameters},
        // Runs that start off the 64-record grid, fall back, repeat a slot,
        // carry amplitudes 4096..65519 (dropped) and empty records.
        {"damaged.kav", Points(100, 70) + Points(90, 200) + Record(5, 5000) + Record(7, 65535) +
                            Points(300, 1) + parameters + Points(65500, 36)},
        {"noise.kav", Noise(40000 * 4 + 2, 1)},
        {"full-noise.kav", Noise(PointSlotCount * 4 + 3, 2)},
        {"full.kav", full},
        {"full-tail.kav", full + QByteArray("\x00\x00\x00", 3)},
        {"full-tail1.kav", full + QByteArray(1, '\x07')},
        {"long.kav", full + Record(1, 1)},
    };
    for (const auto& f : files)
        Write(f.Name, f.Bytes);
    ASSERT_TRUE(QDir(Dir.path()).mkdir("sub.kav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.kav")).constData(), 0600), 0);
    QStringList names{"none.kav", "sub.kav", "fifo.kav", "/dev/zero"};
    for (const auto& f : files)
        names << f.Name;

    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        auto store = Scribbled(1);
        auto undo = Scribbled(2);
        QString error;
        TLoadStats stats;
        const TLoadOutcome outcome = LoadSpectrumFile(Path(name), *store, *undo, &error, &stats);

        auto directStore = Scribbled(1);
        auto directUndo = Scribbled(2);
        QString directError;
        TLoadStats direct;
        EXPECT_EQ(
            LoadSpectrumFileInPlace(Path(name), *directStore, *directUndo, &directError, &direct),
            outcome);
        EXPECT_EQ(directError, error);
        // The tables as the buffered load leaves them (as they were when
        // the file is refused: every refusal here comes before reading).
        EXPECT_TRUE(*directStore == *store);
        EXPECT_TRUE(*directUndo == *undo);
        if (outcome != TLoadOutcome::Loaded)
            continue;
        EXPECT_EQ(direct.Records, stats.Records);
        EXPECT_EQ(direct.TrailingBytes, stats.TrailingBytes);
        EXPECT_EQ(direct.Points, stats.Points);
        EXPECT_EQ(direct.Parameters, stats.Parameters);
        EXPECT_EQ(direct.Stray, stats.Stray);
        EXPECT_EQ(direct.Overwritten, stats.Overwritten);
    }
}

// The reader into the caller's memory keeps the bounds of the buffered one:
// what fits the buffer is in it, the rest is counted, more than the bound is
// refused, and only regular files are read.
TEST_F(SpectrumFileInPlace, TheReaderIntoABufferKeepsItsBounds) {
    Write("ten", "0123456789");
    Write("big", QByteArray(10000, 'b'));
    const struct {
        const char* Name;
        qint64 Capacity, Max;
        TInputOutcome Outcome;
        qint64 Size;
        const char* Kept;
    } cases[] = {
        {"ten", 16, 10, TInputOutcome::Read, 10, "0123456789"},
        {"ten", 4, 12, TInputOutcome::Read, 10, "0123"},
        {"ten", 16, 9, TInputOutcome::TooLarge, 0, ""},
        {"big", 100, 10000, TInputOutcome::Read, 10000, nullptr},
        {"big", 100, 9999, TInputOutcome::TooLarge, 0, nullptr},
        {"none", 16, 16, TInputOutcome::NotFound, 0, ""},
        {"/dev/zero", 16, 16, TInputOutcome::NotRegular, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " " + std::to_string(c.Capacity));
        QByteArray buffer(16, '-');
        if (c.Capacity > buffer.size())
            buffer.fill('-', c.Capacity);
        const TInputFile in = ReadInputFileInto(Path(c.Name), buffer.data(), c.Capacity, c.Max);
        EXPECT_EQ(in.Outcome, c.Outcome);
        EXPECT_TRUE(in.Bytes.isEmpty());
        if (c.Outcome != TInputOutcome::Read)
            continue;
        EXPECT_EQ(in.Size, c.Size);
        const QByteArray kept = c.Kept ? QByteArray(c.Kept) : QByteArray(c.Capacity, 'b');
        EXPECT_EQ(buffer.left(kept.size()), kept);
        // Nothing past the capacity is written.
        EXPECT_EQ(buffer.mid(c.Capacity), QByteArray(buffer.size() - c.Capacity, '-'));
    }
}

// A file longer than its stated size (one of /proc's, which state 0) is read
// whole by both readers, and refused past the bound.
TEST_F(SpectrumFileInPlace, AFileLongerThanItsStatedSizeIsReadWhole) {
    const QString path = QStringLiteral("/proc/self/cmdline");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    ASSERT_GT(whole.size(), 4);
    const TInputFile buffered = ReadInputFile(path, 1 << 20);
    EXPECT_EQ(buffered.Outcome, TInputOutcome::Read);
    EXPECT_EQ(buffered.Bytes, whole);
    QByteArray buffer(whole.size(), '-');
    const TInputFile direct = ReadInputFileInto(path, buffer.data(), buffer.size(), 1 << 20);
    EXPECT_EQ(direct.Outcome, TInputOutcome::Read);
    EXPECT_EQ(direct.Size, whole.size());
    EXPECT_EQ(buffer, whole);
    EXPECT_EQ(ReadInputFile(path, whole.size() - 1).Outcome, TInputOutcome::TooLarge);
    EXPECT_EQ(ReadInputFileInto(path, buffer.data(), buffer.size(), whole.size() - 1).Outcome,
              TInputOutcome::TooLarge);
}
