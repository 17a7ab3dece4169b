// A spectrum's storage: the point table, the atomic write every file goes
// through, the .kav records saved and loaded (the placement also against a
// plain reference), the names of the automatic save.
#include "disk_limits.h"
#include "spectrum/atomic_file.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"

#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <vector>

namespace {

using TRecords = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

// A cleared table, or with a seed one whose every slot differs from an empty
// one, to see that a refused load touches nothing.
std::unique_ptr<TPointTable> Table(int seed = -1) {
    auto t = std::make_unique<TPointTable>();
    ClearPoints(*t);
    for (int i = 0; seed >= 0 && i < PointSlotCount; ++i)
        (*t)[i] =
            TPointSlot{static_cast<std::uint16_t>(i ^ seed), static_cast<std::uint16_t>(i % 4096)};
    return t;
}

QByteArray Bytes(const TRecords& records) {
    QByteArray bytes;
    for (const auto& [x, y] : records) {
        char b[4];
        qToLittleEndian<quint16>(x, b);
        qToLittleEndian<quint16>(y, b + 2);
        bytes.append(b, 4);
    }
    return bytes;
}

struct SpectrumFile : ::testing::Test, TTempFiles {};

} // namespace

TEST(PointStore, ClearEmptiesEverySlotAndSearchesStopAtTheOuterPoints) {
    auto table = Table(7);
    ClearPoints(*table);
    for (int i = 0; i < PointSlotCount; ++i)
        ASSERT_EQ((*table)[i], (TPointSlot{0, 65535})) << i;
    EXPECT_EQ(FirstValidPoint(*table, 0, 65535), 65535);
    EXPECT_EQ(LastValidPoint(*table, 0, 65535), 0);

    (*table)[100] = {100, 2048};
    (*table)[200] = {200, 0};
    (*table)[300] = {300, 4095};
    (*table)[1000] = {1000, 65520}; // a parameter code: no point
    (*table)[2000] = {2000, 65519}; // the highest Y that is still a point
    (*table)[65530] = {30000, 65530};
    (*table)[65535] = {3, 65534};
    const struct {
        std::uint16_t A, B, First, Last;
    } cases[] = {
        {50, 250, 100, 200},    {250, 50, 100, 200},        // either order
        {300, 200, 200, 300},   {10, 99, 100, 0},           // a start on a point stays; ends
        {400, 1999, 2000, 300}, {2001, 65535, 65535, 2000}, // past the last point: the top
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstValidPoint(*table, c.A, c.B), c.First) << c.A << ".." << c.B;
        EXPECT_EQ(LastValidPoint(*table, c.A, c.B), c.Last) << c.A << ".." << c.B;
    }
}

TEST_F(SpectrumFile, AtomicWriteReplacesTheWholeFileKeepingItsModeAndLink) {
    ASSERT_TRUE(WriteFileAtomically(Path("a.kav"), "old content"));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("a.kav")).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(Path("a.kav"), Path("link.kav")));
    ASSERT_TRUE(WriteFileAtomically(Path("link.kav"), "new"));
    EXPECT_EQ(Read("a.kav"), "new");
    EXPECT_TRUE(QFileInfo(Path("link.kav")).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(Path("a.kav")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(), (QStringList{"a.kav", "link.kav"}));
}

// The slot serves writers that take a file name (the PDF printer).
TEST_F(SpectrumFile, AtomicSlotCommitsWhatItsWriterWroteAndRemovesWhatItDidNot) {
    const QString path = Path("page.pdf");
    ASSERT_TRUE(WriteFileAtomically(path, "previous"));
    for (const QByteArray& content : {QByteArray(), QByteArray("%PDF-1.4 new page")}) {
        {
            TAtomicFileSlot slot(path);
            ASSERT_TRUE(slot.Open());
            EXPECT_TRUE(slot.TempPath().startsWith(Dir.path()));
            EXPECT_EQ(Entries().size(), 2);
            QFile out(slot.TempPath());
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(content);
            out.close();
            QString reason;
            EXPECT_EQ(slot.Commit(&reason), !content.isEmpty()); // nothing written: refused
            EXPECT_EQ(reason.isEmpty(), !content.isEmpty());
        }
        EXPECT_EQ(Entries(), QStringList{"page.pdf"});
        EXPECT_EQ(Read(path), content.isEmpty() ? QByteArray("previous") : content);
    }
}

// A failed save names the file and the system's reason and leaves the
// previous file whole with nothing beside it. A spectrum of 500 points (2000
// bytes) sits in any write buffer, yet a file size limit fails it.
TEST_F(SpectrumFile, FailedSaveNamesTheReasonAndLeavesThePreviousFileWhole) {
    auto points = Table();
    for (int i = 0; i < 500; ++i)
        (*points)[i] = TPointSlot{static_cast<std::uint16_t>(i), 2048};
    ASSERT_TRUE(QDir(Dir.path()).mkdir("sub.kav"));
    ASSERT_TRUE(WriteFileAtomically(Path("keep.kav"), "previous"));
    const struct {
        const char* Name;
        rlim_t Limit;
        int Err;
    } cases[] = {{"no/such/dir/x.kav", RLIM_INFINITY, ENOENT},
                 {"sub.kav", RLIM_INFINITY, EISDIR},
                 {"keep.kav", 1024, EFBIG}};
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(UnderFileSizeLimit(
            c.Limit, [&] { return SaveSpectrumFile(Path(c.Name), *points, &error); }));
        EXPECT_EQ(error, QStringLiteral("Не удалось записать файл \"%1\": %2")
                             .arg(Path(c.Name), SystemReason(c.Err)));
    }
    EXPECT_TRUE(QFileInfo(Path("sub.kav")).isDir());
    EXPECT_EQ(Read("keep.kav"), "previous");
    EXPECT_EQ(Entries(), QStringList{"keep.kav"});
}

// Non-empty slots in slot order, little-endian; read back, each parameter
// record lands at its own code, one slot below where the block is written.
TEST_F(SpectrumFile, SaveAndLoadRoundTripWithTheParameterBlockAtItsCodes) {
    auto store = Table();
    (*store)[300] = {300, 4095};
    (*store)[5] = {5, 0x0102};
    (*store)[7] = {9, 65535}; // empty whatever its X
    ASSERT_TRUE(SaveSpectrumFile(Path("a.kav"), *store));
    EXPECT_EQ(Read("a.kav"), QByteArray("\x05\x00\x02\x01\x2C\x01\xFF\x0F", 8));

    (*store)[7] = TPointSlot{};
    int points = 1; // and slot 5
    for (int i = 0; i <= 65519; i += 3, ++points)
        (*store)[i] = {static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i % 4096)};
    for (int slot = 65526; slot <= 65535; ++slot)
        (*store)[slot] = {static_cast<std::uint16_t>(slot - 65000),
                          static_cast<std::uint16_t>(slot - 1)};
    ASSERT_TRUE(SaveSpectrumFile(Path("r.kav"), *store));
    EXPECT_EQ(QFile(Path("r.kav")).size(), 4 * (points + 10));

    auto loaded = Table(1);
    auto undo = Table(2);
    TLoadStats stats;
    ASSERT_EQ(LoadSpectrumFile(Path("r.kav"), *loaded, *undo, nullptr, &stats),
              TLoadOutcome::Loaded);
    EXPECT_EQ(stats.Records, points + 10);
    EXPECT_EQ(stats.Parameters, 10);
    auto expected = std::make_unique<TPointTable>(*store);
    (*expected)[65535] = TPointSlot{};
    for (int code = 65525; code <= 65534; ++code)
        (*expected)[code] = (*store)[code + 1];
    EXPECT_TRUE(*loaded == *expected);
}

TEST_F(SpectrumFile, DamagedRecordsAreDroppedAndTheRestPlacedByTheirOwnWords) {
    Write("d.kav", Bytes({
                       {300, 100},  // point at 300
                       {100, 4095}, // point at 100, written after 300
                       {10, 1},     // point at 10 ...
                       {11, 5000},  // stray
                       {12, 4096},  // stray
                       {13, 65519}, // stray
                       {7, 65535},  // nothing, even with a value
                       {10, 2},     // ... replaced by this one
                       {31000, 65530},
                       {3, 65520},                      // an unused code is kept in its slot
                       {30000, 65530},                  // a second field bound: the later wins
                   }) + QByteArray("\x01\x02\x03", 3)); // trailing part of a record
    auto store = Table(5);
    auto undo = Table(6);
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
    (*expected)[300] = {300, 100};
    (*expected)[100] = {100, 4095};
    (*expected)[10] = {10, 2};
    (*expected)[65530] = {30000, 65530};
    (*expected)[65520] = {3, 65520};
    EXPECT_TRUE(*store == *expected);
    // The read buffer keeps the raw records from slot 0 on, the rest empty.
    EXPECT_EQ((*undo)[0], (TPointSlot{300, 100}));
    EXPECT_EQ((*undo)[3], (TPointSlot{11, 5000}));
    EXPECT_EQ((*undo)[10], (TPointSlot{30000, 65530}));
    EXPECT_EQ((*undo)[11], TPointSlot{});
    EXPECT_EQ((*undo)[65535], TPointSlot{});
}

// A missing file, a folder and one of more than 65536 records change no
// table; an empty or tiny file is an empty spectrum; a full one loads.
TEST_F(SpectrumFile, EachKindOfFileLoadsOrLeavesBothTables) {
    TRecords records;
    for (int i = 0; i < PointSlotCount; ++i)
        records.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i % 4096)});
    Write("full.kav", Bytes(records) + QByteArray("\x00\x00\x00", 3));
    records.push_back({1, 1});
    Write("long.kav", Bytes(records));
    Write("z.kav", QByteArray());
    Write("t.kav", QByteArray("\x01\x02\x03", 3));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("sub.kav"));
    const struct {
        const char* Name;
        TLoadOutcome Outcome;
        const char* ErrorPart; // nullptr: no error
    } cases[] = {
        {"none.kav", TLoadOutcome::NotFound, nullptr}, {"sub.kav", TLoadOutcome::Failed, "sub.kav"},
        {"long.kav", TLoadOutcome::Failed, "65536"},   {"z.kav", TLoadOutcome::Loaded, nullptr},
        {"t.kav", TLoadOutcome::Loaded, nullptr},      {"full.kav", TLoadOutcome::Loaded, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto store = Table(3);
        auto undo = Table(4);
        QString error;
        TLoadStats stats;
        EXPECT_EQ(LoadSpectrumFile(Path(c.Name), *store, *undo, &error, &stats), c.Outcome);
        EXPECT_EQ(error.isEmpty(), c.ErrorPart == nullptr) << error.toStdString();
        if (c.ErrorPart) {
            EXPECT_TRUE(error.contains(Path(c.Name)) && error.contains(c.ErrorPart))
                << error.toStdString();
        }
        const bool changed = c.Outcome == TLoadOutcome::Loaded;
        EXPECT_EQ(*store == *Table(3), !changed);
        EXPECT_EQ(*undo == *Table(4), !changed);
        if (QByteArray(c.Name) == "full.kav") {
            EXPECT_EQ(stats.Records, 65536);
            EXPECT_EQ(stats.TrailingBytes, 3);
            // Slots 65520..65535 of this file are points (X >= 65520, Y <
            // 4096): they land at their field codes like any other point.
            EXPECT_EQ((*store)[65535], (TPointSlot{65535, 65535 % 4096}));
        } else if (changed) {
            EXPECT_TRUE(*store == *Table() && *undo == *Table());
        }
    }
}

TEST(AutoSaveName, PadsTheNumberReplacesTheSixCharactersAndJoinsTheFolder) {
    EXPECT_EQ(AutoSaveName("Спектр", 1), "Спектр00000001");
    EXPECT_EQ(AutoSaveName("Образец 1.5", 12), "Образец_1_500000012");
    EXPECT_EQ(AutoSaveName("s", 123456789), "s123456789");
    EXPECT_EQ(AutoSaveName("a b.c,d\\e/f*g-h", 0), "a_b_c_d_e_f_g-h00000000");
    EXPECT_EQ(AutoSaveName("", 7), "00000007");
    EXPECT_EQ(AutoSavePath("/data/spectra/", "s1"), "/data/spectra/s1.kav");
    EXPECT_EQ(AutoSavePath("/data/spectra", "s1"), "/data/spectra/s1.kav");
    EXPECT_EQ(AutoSavePath("", "s1"), "s1.kav");
}

// ---- Placement against the plain reference: one record after the other,
// each into its slot, the later winning. Files of every shape must give the
// same two tables and counts: long runs of points as this program writes
// them, runs broken at every place, points out of order, repeats, parameters
// and damaged records mixed in, random bytes.

namespace {

struct TPlaced {
    std::unique_ptr<TPointTable> Store = Table();
    std::unique_ptr<TPointTable> Undo = Table();
    TLoadStats Stats;
};

TPlaced ReferencePlacement(const QByteArray& bytes) {
    TPlaced r;
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

// Places the bytes both ways, over tables that held something else, and
// compares everything.
void ExpectSamePlacement(const QByteArray& bytes, const char* what) {
    SCOPED_TRACE(what);
    const TPlaced expected = ReferencePlacement(bytes);
    TPlaced placed{Table(7), Table(9), {}};
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
    TRecords full, sweep, sparse;
    for (int code = 0; code < 65536; ++code)
        full.push_back({static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(code % 4096)});
    for (int code = 1000; code <= 60000; ++code)
        sweep.push_back(
            {static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(2048 + code % 7)});
    for (int code = 65525; code <= 65534; ++code)
        sweep.push_back(
            {static_cast<std::uint16_t>(code - 65000), static_cast<std::uint16_t>(code)});
    for (int code = 0; code <= 65519; code += 3)
        sparse.push_back({static_cast<std::uint16_t>(code), 100});
    ExpectSamePlacement(Bytes(full), "every slot a point, the reserved ones too");
    ExpectSamePlacement(Bytes(sweep), "a sweep between bounds and its parameter block");
    ExpectSamePlacement(Bytes(sweep) + "\x05\x06", "the same with a trailing part");
    ExpectSamePlacement(Bytes(sparse), "points on every third code");
    ExpectSamePlacement(QByteArray(), "an empty file");
    ExpectSamePlacement(Bytes(full).left(4 * 64 + 2), "one run and a part");
}

TEST(RecordPlacement, RunsBrokenAtEveryPlace) {
    // A long run with one record changed at each position of the first runs
    // in turn: a stray, an empty record, a repeat of an earlier code, a
    // parameter, a code skipped, a point past the reserved codes.
    const TRecords breaks = {{5, 5000}, {9, 65535}, {3, 100}, {1, 65530}, {0, 0}, {65535, 4095}};
    for (const auto& [breakX, breakY] : breaks) {
        for (int at = 0; at < 200; at += 7) {
            TRecords records;
            for (int i = 0; i < 1000; ++i) {
                const auto x = static_cast<std::uint16_t>(500 + i);
                if (i == at)
                    records.push_back(
                        {breakX == 0 ? static_cast<std::uint16_t>(x + 1) : breakX, breakY});
                else
                    records.push_back({x, static_cast<std::uint16_t>(i % 4096)});
            }
            ExpectSamePlacement(Bytes(records), "a broken run");
        }
    }
}

TEST(RecordPlacement, RecordsInAnyOrder) {
    std::mt19937 random(7);
    const std::uint16_t odd[] = {65520, 65534, 4096, 65519, 65535};
    for (int round = 0; round < 60; ++round) {
        TRecords records;
        const int count = static_cast<int>(random() % 70000);
        std::uint16_t code = static_cast<std::uint16_t>(random());
        for (int i = 0; i < count; ++i) {
            switch (random() % 8) {
            case 0: // a jump anywhere, backwards too
                code = static_cast<std::uint16_t>(random());
                break;
            case 1: // a parameter, a stray or an empty record
                records.push_back({static_cast<std::uint16_t>(random()), odd[random() % 5]});
                continue;
            default:
                break;
            }
            records.push_back({code++, static_cast<std::uint16_t>(random() % 4096)});
        }
        ExpectSamePlacement(Bytes(records), "points in runs and jumps");
    }
    for (int round = 0; round < 30; ++round) {
        QByteArray bytes(static_cast<int>(random() % 300000), Qt::Uninitialized);
        for (char& c : bytes)
            c = static_cast<char>(random());
        ExpectSamePlacement(bytes.left(262147), "random bytes");
    }
}
