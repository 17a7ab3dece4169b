#include "disk_limits.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct TRaw {
    std::uint16_t X;
    std::uint16_t Y;
};

QByteArray Bytes(const std::vector<TRaw>& records) {
    QByteArray bytes;
    for (const TRaw& r : records) {
        char b[4];
        qToLittleEndian<quint16>(r.X, b);
        qToLittleEndian<quint16>(r.Y, b + 2);
        bytes.append(b, 4);
    }
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

std::unique_ptr<TPointTable> Table() {
    auto t = std::make_unique<TPointTable>();
    ClearPoints(*t);
    return t;
}

// A table whose every slot differs from an empty one, to see that a refused
// load touches nothing.
std::unique_ptr<TPointTable> PatternTable(std::uint16_t seed) {
    auto t = std::make_unique<TPointTable>();
    for (int i = 0; i < PointSlotCount; ++i)
        (*t)[i] =
            TPointSlot{static_cast<std::uint16_t>(i ^ seed), static_cast<std::uint16_t>(i % 4096)};
    return t;
}

class SpectrumFile : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Path(const QString& name) const { return Dir.filePath(name); }
};

} // namespace

TEST_F(SpectrumFile, SavesNonEmptySlotsInSlotOrderAsLittleEndianRecords) {
    auto store = Table();
    (*store)[300] = TPointSlot{300, 4095};
    (*store)[5] = TPointSlot{5, 0x0102};
    (*store)[7] = TPointSlot{9, 65535}; // empty whatever its X
    (*store)[65520] = TPointSlot{1, 65520};
    (*store)[65535] = TPointSlot{0xA0B0, 65534};
    QString error;
    ASSERT_TRUE(SaveSpectrumFile(Path("a.kav"), *store, &error)) << error.toStdString();
    EXPECT_EQ(ReadFile(Path("a.kav")),
              Bytes({{5, 0x0102}, {300, 4095}, {1, 65520}, {0xA0B0, 65534}}));
    EXPECT_EQ(ReadFile(Path("a.kav")).left(4), QByteArray("\x05\x00\x02\x01", 4));
}

TEST_F(SpectrumFile, ParameterBlockAloneIs40BytesAndLoadsEachRecordAtItsCode) {
    auto store = Table();
    for (int slot = 65526; slot <= 65535; ++slot)
        (*store)[slot] = TPointSlot{static_cast<std::uint16_t>(slot - 65000),
                                    static_cast<std::uint16_t>(slot - 1)};
    ASSERT_TRUE(SaveSpectrumFile(Path("e.kav"), *store));
    EXPECT_EQ(QFile(Path("e.kav")).size(), 40);

    auto loaded = PatternTable(1);
    auto undo = PatternTable(2);
    TLoadStats stats;
    ASSERT_EQ(LoadSpectrumFile(Path("e.kav"), *loaded, *undo, nullptr, &stats),
              TLoadOutcome::Loaded);
    EXPECT_EQ(stats.Records, 10);
    EXPECT_EQ(stats.Parameters, 10);
    for (int code = 65525; code <= 65534; ++code)
        EXPECT_EQ((*loaded)[code], (TPointSlot{static_cast<std::uint16_t>(code + 1 - 65000),
                                               static_cast<std::uint16_t>(code)}))
            << code;
    EXPECT_EQ((*loaded)[65535], (TPointSlot{0, 65535}));
    int used = 0;
    for (const TPointSlot& s : *loaded)
        used += s.Y != 65535;
    EXPECT_EQ(used, 10);
}

TEST_F(SpectrumFile, DamagedRecordsAreDroppedAndTheRestPlacedByTheirOwnWords) {
    QByteArray bytes = Bytes({
        {300, 100},  // point at 300
        {100, 4095}, // point at 100, written after 300
        {10, 1},     // point at 10 ...
        {11, 5000},  // stray
        {12, 4096},  // stray
        {13, 65519}, // stray
        {7, 65535},  // nothing, even with a value
        {10, 2},     // ... replaced by this one
        {31000, 65530},
        {3, 65520},     // an unused code is kept in its slot
        {30000, 65530}, // a second field bound: the later wins
    });
    bytes.append("\x01\x02\x03", 3); // trailing part of a record
    WriteFile(Path("d.kav"), bytes);

    auto store = PatternTable(5);
    auto undo = PatternTable(6);
    TLoadStats stats;
    ASSERT_EQ(LoadSpectrumFile(Path("d.kav"), *store, *undo, nullptr, &stats),
              TLoadOutcome::Loaded);
    EXPECT_EQ(stats.Records, 11);
    EXPECT_EQ(stats.TrailingBytes, 3);
    EXPECT_EQ(stats.Points, 4);
    EXPECT_EQ(stats.Parameters, 3);
    EXPECT_EQ(stats.Stray, 3);
    EXPECT_EQ(stats.Overwritten, 2);

    auto expected = Table();
    (*expected)[300] = TPointSlot{300, 100};
    (*expected)[100] = TPointSlot{100, 4095};
    (*expected)[10] = TPointSlot{10, 2};
    (*expected)[65530] = TPointSlot{30000, 65530};
    (*expected)[65520] = TPointSlot{3, 65520};
    EXPECT_TRUE(*store == *expected);

    // The read buffer keeps the raw records from slot 0 on, the rest empty.
    EXPECT_EQ((*undo)[0], (TPointSlot{300, 100}));
    EXPECT_EQ((*undo)[3], (TPointSlot{11, 5000}));
    EXPECT_EQ((*undo)[10], (TPointSlot{30000, 65530}));
    EXPECT_EQ((*undo)[11], (TPointSlot{0, 65535}));
    EXPECT_EQ((*undo)[65535], (TPointSlot{0, 65535}));
}

TEST_F(SpectrumFile, EmptyAndTinyFilesLoadAsAnEmptySpectrum) {
    WriteFile(Path("z.kav"), QByteArray());
    WriteFile(Path("t.kav"), QByteArray("\x01\x02\x03", 3));
    for (const char* name : {"z.kav", "t.kav"}) {
        auto store = PatternTable(1);
        auto undo = PatternTable(2);
        ASSERT_EQ(LoadSpectrumFile(Path(name), *store, *undo), TLoadOutcome::Loaded) << name;
        EXPECT_TRUE(*store == *Table()) << name;
        EXPECT_TRUE(*undo == *Table()) << name;
    }
}

TEST_F(SpectrumFile, FullFileLoadsAndALongerOneIsRefusedLeavingBothTables) {
    std::vector<TRaw> records;
    for (int i = 0; i < PointSlotCount; ++i)
        records.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i % 4096)});
    QByteArray full = Bytes(records);
    WriteFile(Path("full.kav"), full + QByteArray("\x00\x00\x00", 3));
    WriteFile(Path("long.kav"), full + Bytes({{1, 1}}));

    auto store = PatternTable(3);
    auto undo = PatternTable(4);
    TLoadStats stats;
    ASSERT_EQ(LoadSpectrumFile(Path("full.kav"), *store, *undo, nullptr, &stats),
              TLoadOutcome::Loaded);
    EXPECT_EQ(stats.Records, 65536);
    EXPECT_EQ(stats.TrailingBytes, 3);
    // Slots 65520..65535 of this file are points with X >= 65520 and Y < 4096:
    // they land at their field codes like any other point.
    EXPECT_EQ((*store)[65535], (TPointSlot{65535, 65535 % 4096}));
    EXPECT_EQ((*store)[4096], (TPointSlot{4096, 0}));

    auto storeBefore = PatternTable(3);
    auto undoBefore = PatternTable(4);
    store = PatternTable(3);
    undo = PatternTable(4);
    QString error;
    EXPECT_EQ(LoadSpectrumFile(Path("long.kav"), *store, *undo, &error), TLoadOutcome::Failed);
    EXPECT_TRUE(error.contains(Path("long.kav"))) << error.toStdString();
    EXPECT_TRUE(error.contains("65536")) << error.toStdString();
    EXPECT_TRUE(*store == *storeBefore);
    EXPECT_TRUE(*undo == *undoBefore);
}

TEST_F(SpectrumFile, MissingOrUnreadableFileChangesNoTable) {
    auto before = PatternTable(8);
    auto store = PatternTable(8);
    auto undo = PatternTable(8);
    QString error;
    EXPECT_EQ(LoadSpectrumFile(Path("none.kav"), *store, *undo, &error), TLoadOutcome::NotFound);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(*store == *before);
    EXPECT_TRUE(*undo == *before);

    ASSERT_TRUE(QDir(Dir.path()).mkdir("sub.kav"));
    EXPECT_EQ(LoadSpectrumFile(Path("sub.kav"), *store, *undo, &error), TLoadOutcome::Failed);
    EXPECT_TRUE(error.contains(Path("sub.kav"))) << error.toStdString();
    EXPECT_TRUE(*store == *before);
    EXPECT_TRUE(*undo == *before);
}

TEST_F(SpectrumFile, SaveAndLoadRoundTripAFullSpectrum) {
    auto store = Table();
    for (int i = 0; i <= 65519; i += 3)
        (*store)[i] =
            TPointSlot{static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i % 4096)};
    (*store)[65535] = TPointSlot{4, 65534};
    ASSERT_TRUE(SaveSpectrumFile(Path("r.kav"), *store));
    auto loaded = Table();
    auto undo = Table();
    ASSERT_EQ(LoadSpectrumFile(Path("r.kav"), *loaded, *undo), TLoadOutcome::Loaded);
    // The gain record comes back at its code, one slot below where it was written.
    auto expected = std::make_unique<TPointTable>(*store);
    (*expected)[65535] = TPointSlot{0, 65535};
    (*expected)[65534] = TPointSlot{4, 65534};
    EXPECT_TRUE(*loaded == *expected);
}

TEST_F(SpectrumFile, FailedSaveReportsTheFileAndLeavesThePreviousOneWhole) {
    auto small = Table();
    (*small)[1] = TPointSlot{1, 1};
    const QString path = Path("keep.kav");
    ASSERT_TRUE(SaveSpectrumFile(path, *small));
    const QByteArray previous = ReadFile(path);

    QString error;
    EXPECT_FALSE(SaveSpectrumFile(Path("no/such/dir/x.kav"), *small, &error));
    EXPECT_TRUE(error.contains(Path("no/such/dir/x.kav"))) << error.toStdString();

    // A full disk, as a file size limit makes it for any user: a spectrum of
    // 500 points (2000 bytes) sits in any write buffer, yet the save fails
    // with the system's reason and the previous file stays as it was.
    auto points = Table();
    for (int i = 0; i < 500; ++i)
        (*points)[i] = TPointSlot{static_cast<std::uint16_t>(i), 2048};
    error.clear();
    EXPECT_FALSE(UnderFileSizeLimit(1024, [&] { return SaveSpectrumFile(path, *points, &error); }));
    EXPECT_EQ(error,
              QStringLiteral("Не удалось записать файл \"%1\": %2").arg(path, SystemReason(EFBIG)));
    EXPECT_EQ(ReadFile(path), previous);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.kav"});
}

TEST(AutoSaveName, PadsTheNumberAndReplacesTheSixCharacters) {
    EXPECT_EQ(AutoSaveName("Спектр", 1), "Спектр00000001");
    EXPECT_EQ(AutoSaveName("Образец 1.5", 12), "Образец_1_500000012");
    EXPECT_EQ(AutoSaveName("s", 123456789), "s123456789");
    EXPECT_EQ(AutoSaveName("a b.c,d\\e/f*g-h", 0), "a_b_c_d_e_f_g-h00000000");
    EXPECT_EQ(AutoSaveName("", 7), "00000007");
}

TEST(AutoSaveName, PathJoinsTheFolderWithOneSeparator) {
    EXPECT_EQ(AutoSavePath("/data/spectra/", "s00000001"), "/data/spectra/s00000001.kav");
    EXPECT_EQ(AutoSavePath("/data/spectra", "s00000001"), "/data/spectra/s00000001.kav");
    EXPECT_EQ(AutoSavePath("", "s00000001"), "s00000001.kav");
}
