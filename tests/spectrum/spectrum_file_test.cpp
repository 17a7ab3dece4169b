// A spectrum's storage: the point table, the atomic write, the .kav records,
// the automatic save's names; the parameter block, opening, closing and
// saving as the window does them, and the recent files.
#include "base/atomic_file.h"
#include "config/auto_save_name.h"
#include "config/settings_store.h"
#include "disk_limits.h"
#include "qstring_printer.h"
#include "spectrum/parameter_block.h"
#include "spectrum/point_store.h"
#include "spectrum/recent_files.h"
#include "spectrum/spectrum_file.h"
#include "spectrum/spectrum_session.h"
#include "spectrum/spectrum_view.h"
#include "temp_files.h"

#include <QFileInfo>
#include <QtEndian>
#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
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

namespace {

// Both writers: the whole content at once, or a writer that takes the
// temporary file's name (the PDF printer).
bool WriteBySlot(const QString& path, const QByteArray& content, QString* reason) {
    TAtomicFileSlot slot(path);
    if (!slot.Open(reason))
        return false;
    QFile out(slot.TempPath());
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
        return false;
    out.close();
    return slot.Commit(reason);
}

const struct {
    const char* Name;
    bool (*Write)(const QString&, const QByteArray&, QString*);
} Writers[] = {{"whole", WriteFileAtomically}, {"slot", WriteBySlot}};

} // namespace

TEST_F(SpectrumFile, AtomicWriteReplacesTheWholeFileKeepingItsModeAndLinks) {
    ASSERT_TRUE(QDir(Dir.path()).mkdir("sub"));
    // l1 -> (absolute) l2 -> (relative) sub/a.kav; dangling -> sub/new.kav;
    // loop1 -> loop2 -> loop1.
    const struct {
        const char* Link;
        QString Target;
    } links[] = {{"l1", Path("l2")},
                 {"l2", "sub/a.kav"},
                 {"dangling", "sub/new.kav"},
                 {"loop1", Path("loop2")},
                 {"loop2", "loop1"}};
    for (const auto& l : links)
        ASSERT_EQ(::symlink(QFile::encodeName(l.Target).constData(),
                            QFile::encodeName(Path(l.Link)).constData()),
                  0);
    for (const auto& w : Writers) {
        SCOPED_TRACE(w.Name);
        QFile::remove(Path("sub/new.kav"));
        ASSERT_TRUE(w.Write(Path("sub/a.kav"), "old content", nullptr));
        ASSERT_EQ(::chmod(QFile::encodeName(Path("sub/a.kav")).constData(), 0640), 0);
        QString reason;
        ASSERT_TRUE(w.Write(Path("l1"), "new", &reason)) << reason.toStdString();
        EXPECT_EQ(Read("sub/a.kav"), "new");
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(Path("sub/a.kav")).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
        // A link to a file not there yet creates the file there.
        ASSERT_TRUE(w.Write(Path("dangling"), "created", &reason)) << reason.toStdString();
        EXPECT_EQ(Read("sub/new.kav"), "created");
        // A loop is refused as the system refuses it, and stays a loop.
        EXPECT_FALSE(w.Write(Path("loop1"), "x", &reason));
        EXPECT_EQ(reason, QStringLiteral("Too many levels of symbolic links"));
        for (const auto& l : links)
            EXPECT_EQ(QFile::symLinkTarget(Path(l.Link)),
                      QFileInfo(QDir(Dir.path()), l.Target).absoluteFilePath())
                << l.Link;
        EXPECT_EQ(Entries(), (QStringList{"dangling", "l1", "l2", "loop1", "loop2"}));
        EXPECT_EQ(QDir(Path("sub")).entryList(QDir::Files | QDir::Hidden),
                  (QStringList{"a.kav", "new.kav"}));
    }
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

// What a killed save left beside its target goes with the next save of it; a
// file another writer holds, or a fresh one, stays.
TEST_F(SpectrumFile, LeftoversOfKilledSavesDoNotPileUp) {
    const QString path = Path("page.pdf");
    const timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    for (const auto& w : Writers) {
        SCOPED_TRACE(w.Name);
        for (const char* name : {".page.pdf.aB3xYz", ".page.pdf.empty0", ".page.pdf.held01",
                                 ".page.pdf.fresh1", ".other.pdf.aB3xYz", ".page.pdf.toolong7"}) {
            Write(name, QByteArray(name) == ".page.pdf.empty0" ? "" : "partial");
            const QByteArray file = QFile::encodeName(Path(name));
            if (QByteArray(name) != ".page.pdf.fresh1") {
                ASSERT_EQ(::utimensat(AT_FDCWD, file.constData(), hourAgo, 0), 0);
            }
        }
        // A writer still at work holds its file.
        const int held = ::open(QFile::encodeName(Path(".page.pdf.held01")).constData(), O_RDONLY);
        ASSERT_GE(held, 0);
        ASSERT_EQ(::flock(held, LOCK_EX), 0);
        EXPECT_TRUE(w.Write(path, "%PDF-1.4", nullptr));
        ::close(held);
        EXPECT_EQ(Entries(), (QStringList{".other.pdf.aB3xYz", ".page.pdf.fresh1",
                                          ".page.pdf.held01", ".page.pdf.toolong7", "page.pdf"}));
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

// What cannot be read changes no table and does not hang; an empty or tiny
// file is an empty spectrum; a full one loads.
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
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.kav")).constData(), 0600), 0);
    const struct {
        const char* Name;
        TLoadOutcome Outcome;
        const char* ErrorPart; // nullptr: no error
    } cases[] = {
        {"none.kav", TLoadOutcome::NotFound, nullptr},
        {"sub.kav", TLoadOutcome::Failed, "sub.kav"},
        {"long.kav", TLoadOutcome::Failed, "65536"},
        {"z.kav", TLoadOutcome::Loaded, nullptr},
        {"t.kav", TLoadOutcome::Loaded, nullptr},
        {"full.kav", TLoadOutcome::Loaded, nullptr},
        {"fifo.kav", TLoadOutcome::Failed, "FIFO"},
        {"/dev/zero", TLoadOutcome::Failed, "device"},
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

// ---- Points on consecutive codes are placed 64 at a time, the rest one by
// one; both as one record after the other.

namespace {

std::vector<int> Counts(const TLoadStats& s) {
    return {s.Records, s.TrailingBytes, s.Points, s.Parameters, s.Stray, s.Overwritten};
}

// The store after placing the records over a table that held something else.
std::unique_ptr<TPointTable> Placed(const TRecords& records, const std::vector<int>& counts) {
    auto store = Table(7);
    auto undo = Table(9);
    EXPECT_EQ(Counts(PlaceSpectrumRecords(Bytes(records), *store, *undo)), counts);
    return store;
}

TPointSlot Point(int x, int y) {
    return TPointSlot{static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)};
}

} // namespace

TEST(RecordPlacement, RunsArePlacedAsOneRecordAfterTheOther) {
    // A run broken in its first block by a stray (Y 4096 is a point's Y with
    // one more bit) and an empty record, then a repeat and a parameter.
    TRecords records;
    for (int x = 100; x < 300; ++x)
        records.push_back({x, x == 163 ? 4096 : x == 170 ? 65535 : x});
    records.push_back({120, 7});
    records.push_back({3, 65530});
    auto expected = Table();
    for (int x = 100; x < 300; ++x)
        (*expected)[x] = x == 163 || x == 170 ? TPointSlot{} : Point(x, x);
    (*expected)[120] = Point(120, 7);
    (*expected)[65530] = Point(3, 65530);
    EXPECT_TRUE(*Placed(records, {202, 0, 199, 1, 1, 1}) == *expected);

    // A run below a record already placed leaves that record.
    records = {{1000, 5}};
    expected = Table();
    (*expected)[1000] = Point(1000, 5);
    for (int x = 100; x < 228; ++x) {
        records.push_back({x, 1});
        (*expected)[x] = Point(x, 1);
    }
    EXPECT_TRUE(*Placed(records, {129, 0, 129, 0, 0, 0}) == *expected);

    // Codes that run on past the top slot wrap to 0 and never past the table.
    records.clear();
    expected = Table();
    for (int j = 0; j < 64; ++j) {
        const auto x = static_cast<std::uint16_t>(65500 + j);
        records.push_back({x, 1});
        (*expected)[x] = Point(x, 1);
    }
    EXPECT_TRUE(*Placed(records, {64, 0, 64, 0, 0, 0}) == *expected);
}

// ---- The spectrum as the window holds it

namespace {

// Records every call in order and keeps what the window would show.
class TRecordingView : public TSpectrumView {
public:
    QStringList Calls;
    std::map<int, QString> Panels;
    int GainIndex = -1, SpeedIndex = -1;
    bool GainBlank = false, SpeedBlank = false, SaveAsEnabled = false, GFactorShown = true;
    bool SubmenuEnabled = false;
    QString AdcReading, Caption;
    QStringList MenuCaptions;

    void SetGainIndex(int index) override {
        Calls << QStringLiteral("Gain %1").arg(GainIndex = index);
        GainBlank = false;
    }
    void SetSpeedIndex(int index) override {
        Calls << QStringLiteral("Speed %1").arg(SpeedIndex = index);
        SpeedBlank = false;
    }
    void BlankSelectorTexts() override {
        Calls << QStringLiteral("BlankSelectors");
        GainBlank = SpeedBlank = true;
    }
    void SetStatusPanel(int index, const QString& text) override {
        Calls << QStringLiteral("Panel %1 '%2'").arg(index).arg(Panels[index] = text);
    }
    void SetAdcReading(const QString& text) override {
        Calls << QStringLiteral("Adc '%1'").arg(AdcReading = text);
    }
    void SetViewBoundTexts(const QString& minText, const QString& maxText) override {
        Calls << QStringLiteral("ViewBounds '%1' '%2'").arg(minText, maxText);
    }
    void SetBackUpEnabled(bool on) override { Calls << QStringLiteral("BackUp %1").arg(on); }
    void SetSaveAsEnabled(bool on) override {
        Calls << QStringLiteral("SaveAs %1").arg(SaveAsEnabled = on);
    }
    void SetGFactorShown(bool on) override {
        Calls << QStringLiteral("GShow %1").arg(GFactorShown = on);
    }
    void SetCaption(const QString& text) override {
        Calls << QStringLiteral("Caption '%1'").arg(Caption = text);
    }
    void RebuildRecentFilesMenus(const QStringList& captions, bool submenuEnabled) override {
        Calls << QStringLiteral("Menus %1 %2").arg(captions.size()).arg(submenuEnabled);
        MenuCaptions = captions;
        SubmenuEnabled = submenuEnabled;
    }
};

TKavCfg DefaultCfg(const QString& dir = "/work") {
    TKavCfg cfg{};
    SetDefaults(cfg, dir);
    return cfg;
}

TPointSlot Rec(std::uint16_t value, std::uint16_t code) {
    return TPointSlot{value, code};
}

} // namespace

TEST(ParameterBlock, WritesTheTenRecordsOneSlotAboveTheirCodes) {
    TKavCfg cfg = DefaultCfg();
    cfg.Amplifying = 3;
    cfg.Rapid = 7;
    cfg.EnableRTLPF = true;
    cfg.RTLPFConst = 25;
    cfg.ADCUnits[3].KoeffK = 0.01;
    cfg.ADCUnits[3].KoeffB = 0.5;
    const TInstrumentReadings readings{12, 34, 1234, 70000, -1}; // sum: low 16 bits 4464
    auto store = Table();
    (*store)[500] = TPointSlot{500, 2048};
    WriteParameterBlock(*store, cfg, readings);
    // ParGain (slot 65535) down to ParAdcField (slot 65526): the field bounds
    // 3000 and 3300 Э times 10, the ADC field (12.34 + 0.5) * 100.
    const std::uint16_t values[] = {3, 7, 12, 34, 30000, 33000, 1234, 4464, 25, 1284};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ((*store)[65535 - i], Rec(values[i], 65534 - i)) << 65535 - i;
    EXPECT_EQ((*store)[65525], TPointSlot{});
    EXPECT_EQ((*store)[500], (TPointSlot{500, 2048}));

    cfg.EnableRTLPF = false;
    WriteParameterBlock(*store, cfg, readings);
    EXPECT_EQ((*store)[65527], Rec(0, ParFilter));
}

TEST(ParameterBlock, RoundingIsToEvenAndKeepsTheLow16Bits) {
    EXPECT_EQ(RoundToWord(2.5L), 2);
    EXPECT_EQ(RoundToWord(7.5L), 8);
    EXPECT_EQ(RoundToWord(-1.0L), 65535);
    EXPECT_EQ(RoundToWord(65536.0L * 3 + 5), 5);
    EXPECT_EQ(RoundToWord(-65536.0L * 2 - 3), 65533);
    EXPECT_EQ(RoundToWord(NAN), 0);
    EXPECT_EQ(RoundToWord(INFINITY), 0);

    TKavCfg cfg = DefaultCfg();
    auto store = Table();
    for (const auto& [x1, x2, low, high] : {std::tuple{6553.6, 6600.0, 0, 464}, // wrapped
                                            std::tuple{0.25, 0.75, 2, 8}}) {    // 2.5, 7.5
        cfg.RazvUnits[3].X1 = x1;
        cfg.RazvUnits[3].X2 = x2;
        WriteParameterBlock(*store, cfg, TInstrumentReadings{});
        EXPECT_EQ((*store)[65531].X, low);
        EXPECT_EQ((*store)[65530].X, high);
    }
}

// No records: the selectors reset and blank, nothing else changes. Filter 0,
// one field bound, gain and speed rows outside their tables and unused codes
// leave the panels, the units and the readings as they were.
TEST(ParameterBlock, MissingOrOutOfTableRecordsLeaveThingsAlone) {
    TKavCfg cfg = DefaultCfg();
    cfg.Amplifying = 5;
    cfg.Rapid = 2;
    cfg.ViewMin = 100;
    cfg.ViewMax = 65000;
    cfg.RazvUnits[2].Name = "x";
    cfg.RazvUnits[3].Name = "y";
    TKavCfg expected = cfg;
    expected.Amplifying = 0;
    expected.Rapid = 11;
    TInstrumentReadings readings;
    TRecordingView view;
    auto store = Table();
    (*store)[10] = TPointSlot{10, 4000};
    ApplyFileParameters(*store, cfg, readings, view, u'.');
    EXPECT_EQ(view.Calls,
              (QStringList{"Gain 0", "Speed 11", "BlankSelectors", "ViewBounds '100' '65000'"}));
    EXPECT_TRUE(cfg == expected);

    (*store)[ParFilter] = Rec(0, ParFilter);
    (*store)[ParFieldLow] = Rec(31000, ParFieldLow);
    (*store)[ParGain] = Rec(8, ParGain);     // no such gain row
    (*store)[ParSpeed] = Rec(268, ParSpeed); // low byte 12: no such row either
    for (std::uint16_t code = 65520; code <= 65524; ++code)
        (*store)[code] = Rec(1, code);
    cfg.Amplifying = 5;
    cfg.Rapid = 2;
    const TInstrumentReadings readingsBefore = readings;
    view = TRecordingView();
    ApplyFileParameters(*store, cfg, readings, view, u'.');
    EXPECT_TRUE(view.Panels.empty());
    expected.RazvUnits[3].X1 = 3100; // the only change: not even the line re-derived
    EXPECT_TRUE(cfg == expected);
    EXPECT_TRUE(view.GainBlank && view.SpeedBlank);
    EXPECT_EQ(readings.AdcValue, readingsBefore.AdcValue);
    EXPECT_EQ(readings.AdcFieldValue, readingsBefore.AdcFieldValue);
}

// The program has its own state when it loads a file and saves it again.
TEST_F(SpectrumFile, ReSavedFileKeepsFileParametersAndTheProgramsOwnState) {
    const QString first = Path("first.kav");
    TKavCfg fileCfg = DefaultCfg();
    fileCfg.Amplifying = 5;
    fileCfg.Rapid = 3;
    fileCfg.RazvUnits[3].X1 = 3100;
    fileCfg.RazvUnits[3].X2 = 3400;
    fileCfg.EnableRTLPF = true;
    fileCfg.RTLPFConst = 30;
    auto store = Table();
    (*store)[1000] = TPointSlot{1000, 3000};
    WriteParameterBlock(*store, fileCfg, TInstrumentReadings{99, 88, 777, 7, -1});
    ASSERT_TRUE(SaveSpectrumFile(first, *store));

    TKavCfg cfg = DefaultCfg();
    TInstrumentReadings readings{1, 2, 0, 1, -1};
    auto undo = Table();
    ASSERT_EQ(LoadSpectrumFile(first, *store, *undo), TLoadOutcome::Loaded);
    TRecordingView view;
    ApplyFileParameters(*store, cfg, readings, view, u'.');
    WriteParameterBlock(*store, cfg, readings);
    // The file's gain, speed, field bounds and ADC code; the program's serial,
    // program and sum (not 99, 88 and 7); its filter is off.
    const std::uint16_t values[] = {5, 3, 1, 2, 31000, 34000, 777, 1, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ((*store)[65535 - i], Rec(values[i], 65534 - i)) << 65535 - i;
    const TPointSlot newAdcField = (*store)[65526];
    // The loaded ParAdcField still sits at its code below the new block:
    // 777 * 10 / 4095 V = 1.897..., times 100 rounded: 190.
    EXPECT_EQ((*store)[65525], Rec(190, ParAdcField));

    ASSERT_TRUE(SaveSpectrumFile(Path("second.kav"), *store));
    TLoadStats stats;
    ASSERT_EQ(LoadSpectrumFile(Path("second.kav"), *store, *undo, nullptr, &stats),
              TLoadOutcome::Loaded);
    EXPECT_EQ(stats.Records, 12); // one point, the old ParAdcField, the new block
    EXPECT_EQ(stats.Overwritten, 1);
    EXPECT_EQ((*store)[65525], newAdcField); // the later record wins
    EXPECT_EQ((*store)[ParSerial], Rec(1, ParSerial));
}

namespace {

class OpenClose : public ::testing::Test, protected TTempFiles {
protected:
    std::unique_ptr<TPointTable> Store = Table();
    std::unique_ptr<TPointTable> Undo = Table();
    TKavCfg Cfg = DefaultCfg(Dir.path());
    TInstrumentReadings Readings;
    TSpectrumResults Results;
    TRecordingView View;
    TSpectrumSession Session{*Store, *Undo, Cfg, Readings, Results, View, u'.'};

    OpenClose() { SaveUnitSnapshot(Cfg); }

    // Two points and a full parameter block from another program state:
    // gain 2, speed 4, field 3100.5..3250, ADC 100, S/N 5, PR 6, sum 3,
    // filter 12.
    QString WriteSpectrum(const QString& name) {
        TKavCfg cfg = DefaultCfg(Dir.path());
        cfg.Amplifying = 2;
        cfg.Rapid = 4;
        cfg.RazvUnits[3].X1 = 3100.5;
        cfg.RazvUnits[3].X2 = 3250;
        cfg.EnableRTLPF = true;
        cfg.RTLPFConst = 12;
        auto t = Table();
        (*t)[10] = TPointSlot{10, 2100};
        (*t)[20] = TPointSlot{20, 1900};
        WriteParameterBlock(*t, cfg, TInstrumentReadings{5, 6, 100, 3, -1});
        EXPECT_TRUE(SaveSpectrumFile(Path(name), *t));
        return Path(name);
    }

    void MarkResults() {
        Results.MaxCount = 3;
        Results.PairCount = 2;
        Results.TibaAmp = 40;
        Results.TitanAmp = 50;
        Results.Area = 12.5;
        Readings.AdcFieldValue = 7;
        Cfg.ResonatorFreq = 9400000;
    }

    void ExpectResultsReset() {
        EXPECT_EQ(Results.MaxCount, 0);
        EXPECT_EQ(Results.PairCount, 0);
        EXPECT_EQ(Results.TibaAmp, 0);
        EXPECT_EQ(Results.Area, -1);
        EXPECT_EQ(Cfg.ResonatorFreq, 0);
        EXPECT_FALSE(View.GFactorShown);
    }
};

} // namespace

TEST_F(OpenClose, OpenRunsTheSequenceInOrderAndAppliesTheFile) {
    const QString path = WriteSpectrum("one.kav");
    MarkResults();
    const auto unitsBefore = Cfg.RazvUnits;
    ASSERT_EQ(OpenSpectrum(Session, path).Outcome, TLoadOutcome::Loaded);

    const QStringList expected{"Panel 5 ''", "Panel 6 ''", "Panel 7 ''", "Panel 8 ''", "Panel 9 ''",
                               "Panel 10 ''", "Panel 11 ''", "BackUp 0", "GShow 0", "Gain 0",
                               "Speed 11", "BlankSelectors",
                               // records in slot order, 65525 (ADC field) up to 65534 (gain)
                               "Panel 9 'ФИЛЬТР [12]'", "Panel 10 'НАКОПЛ: 3'", "Adc '100'",
                               "Panel 5 'PR: 6'", "Panel 6 'S/N: 5'", "Speed 4", "Gain 2",
                               "ViewBounds '0' '65519'", "Caption 'Kavis - one.kav'", "SaveAs 1"};
    EXPECT_EQ(View.Calls, expected);
    ExpectResultsReset();
    EXPECT_EQ(Cfg.LastOpen, path);
    EXPECT_EQ(Session.ShownName, QStringLiteral("one.kav"));
    EXPECT_EQ(Cfg.Amplifying, 2);
    EXPECT_EQ(Cfg.Rapid, 4);
    EXPECT_FLOAT_EQ(Readings.AdcFieldValue, 0.24f); // 100 * 10 / 4095 -> 24 / 100
    EXPECT_EQ((*Store)[10], (TPointSlot{10, 2100}));
    EXPECT_EQ((*Store)[20], (TPointSlot{20, 1900}));
    // The snapshot holds the units from before the file's recalibration.
    for (int i = 0; i < RazvUnitCount; ++i)
        EXPECT_TRUE(Cfg.RazvUnits[RazvUnitCount + i] == unitsBefore[i]) << i;
    // Sweep units 3 and 2 describe the file's range over codes 0..65519.
    const TMeasureUnit& u3 = Cfg.RazvUnits[3];
    const TMeasureUnit& u2 = Cfg.RazvUnits[2];
    EXPECT_EQ(u3.X1, 3100.5);
    EXPECT_NEAR(UnitValue(u3, 0), 3100.5, 1e-6);
    EXPECT_NEAR(UnitValue(u3, 65519), 3250, 1e-6);
    EXPECT_EQ(u2.X1, 0);
    EXPECT_EQ(u2.X2, 149.5);
    EXPECT_NEAR(UnitValue(u2, 65519), 149.5, 1e-6);
    EXPECT_EQ(u2.Name, "Э");
    EXPECT_EQ(u3.Name, "Э");
}

TEST_F(OpenClose, CloseResetsClearsAndPutsTheInstrumentUnitsBack) {
    const auto unitsBefore = Cfg.RazvUnits;
    const auto adcBefore = Cfg.ADCUnits;
    OpenSpectrum(Session, WriteSpectrum("one.kav"));
    const auto panels = View.Panels;
    MarkResults();
    View.Calls.clear();

    CloseSpectrum(Session);
    EXPECT_EQ(View.Calls, (QStringList{"BackUp 0", "GShow 0", "SaveAs 0", "Caption 'КАВ'"}));
    EXPECT_EQ(View.Panels, panels);
    ExpectResultsReset();
    EXPECT_EQ(Readings.AdcFieldValue, -1);
    EXPECT_TRUE(Cfg.LastOpen.isEmpty());
    EXPECT_TRUE(*Store == *Table());
    EXPECT_TRUE(Cfg.RazvUnits == unitsBefore);
    EXPECT_TRUE(Cfg.ADCUnits == adcBefore);

    // Opening or importing over a shown file keeps the instrument's units in
    // the snapshot: the first file's calibration never becomes the
    // instrument's, to be stored at exit.
    OpenSpectrum(Session, WriteSpectrum("one.kav"));
    ASSERT_FALSE(Cfg.RazvUnits == unitsBefore);
    OpenSpectrum(Session, WriteSpectrum("two.kav"));
    ShowSpectrum(Session, nullptr, QStringLiteral("imported.csv"));
    EXPECT_EQ(Session.ShownName, QStringLiteral("imported.csv"));
    CloseSpectrum(Session);
    EXPECT_TRUE(Session.ShownName.isEmpty());
    EXPECT_TRUE(Cfg.RazvUnits == unitsBefore);
    EXPECT_TRUE(Cfg.ADCUnits == adcBefore);
}

TEST_F(OpenClose, FileWithoutRecordsLeavesPanelsEmptyAndAdcFieldUnset) {
    auto t = Table();
    (*t)[5] = TPointSlot{5, 2048};
    ASSERT_TRUE(SaveSpectrumFile(Path("bare.kav"), *t));
    Readings.AdcFieldValue = 3;
    ASSERT_EQ(OpenSpectrum(Session, Path("bare.kav")).Outcome, TLoadOutcome::Loaded);
    for (int panel = 5; panel <= 11; ++panel)
        EXPECT_EQ(View.Panels[panel], "") << panel;
    EXPECT_EQ(Readings.AdcFieldValue, -1);
    EXPECT_TRUE(View.GainBlank && View.SpeedBlank);
}

TEST_F(OpenClose, MissingNameKeepsThePointsButTakesTheName) {
    (*Store)[30] = TPointSlot{30, 1000};
    const auto before = std::make_unique<TPointTable>(*Store);
    const QString path = Path("missing.kav");
    EXPECT_EQ(OpenSpectrum(Session, path).Outcome, TLoadOutcome::NotFound);
    EXPECT_TRUE(*Store == *before);
    EXPECT_EQ(View.Caption, "Kavis - missing.kav");
    EXPECT_EQ(Cfg.LastOpen, path);
    EXPECT_TRUE(View.SaveAsEnabled);
}

TEST_F(OpenClose, UnreadableOrTooLongFileChangesNothingAndNamesTheFile) {
    Write("long.kav", QByteArray((PointSlotCount + 1) * 4, '\0'));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("folder.kav"));

    (*Store)[30] = TPointSlot{30, 1000};
    (*Undo)[40] = TPointSlot{40, 1000};
    Cfg.LastOpen = "/old.kav";
    MarkResults();
    const auto store = std::make_unique<TPointTable>(*Store);
    const auto undo = std::make_unique<TPointTable>(*Undo);
    const TKavCfg cfg = Cfg;
    for (const char* name : {"long.kav", "folder.kav"}) {
        const TOpenResult result = OpenSpectrum(Session, Path(name));
        EXPECT_EQ(result.Outcome, TLoadOutcome::Failed) << name;
        EXPECT_TRUE(result.Error.contains(Path(name))) << result.Error.toStdString();
        EXPECT_TRUE(View.Calls.isEmpty()) << View.Calls.join(", ").toStdString();
        EXPECT_TRUE(*Store == *store);
        EXPECT_TRUE(*Undo == *undo);
        EXPECT_TRUE(Cfg == cfg);
        EXPECT_EQ(Results.Area, 12.5);
    }
}

TEST_F(OpenClose, SaveAsWritesTheBlockAndTakesTheFolderOnlyOnSuccess) {
    (*Store)[10] = TPointSlot{10, 2100};
    Cfg.Amplifying = 6;
    Cfg.LastOpen = "/old.kav";
    const QString path = Path("saved.kav");
    QString error;
    ASSERT_TRUE(SaveSpectrumAs(Session, path, &error)) << error.toStdString();
    EXPECT_EQ(View.Calls, QStringList{"BackUp 0"});
    EXPECT_EQ(QFile(path).size(), 44);
    EXPECT_EQ((*Store)[65535], (TPointSlot{6, ParGain})); // the block stays in the store
    EXPECT_EQ(Cfg.WorkDir, Dir.path() + "/");
    EXPECT_EQ(Cfg.LastOpen, "/old.kav");

    const QString bad = Path("no/such/saved.kav");
    EXPECT_FALSE(SaveSpectrumAs(Session, bad, &error));
    EXPECT_TRUE(error.contains(bad)) << error.toStdString();
    EXPECT_EQ(Cfg.WorkDir, Dir.path() + "/");
    EXPECT_EQ(DirectoryWithSeparator("/c.kav"), "/");
}

// A new path goes on top, the 21st dropping the oldest; a listed one (equal,
// not merely contained) stays where it is.
TEST(RecentFiles, NewPathGoesOnTopAndAListedOneStaysWhereItIs) {
    const auto numbered = [](int from, int to) {
        TRecentFiles list;
        for (int i = from; i >= to; --i)
            list << QStringLiteral("/s/%1.kav").arg(i); // newest first
        return list;
    };
    const struct {
        TRecentFiles Before;
        QString Path;
        TRecentFiles After;
    } cases[] = {
        {{}, "/s/a.kav", {"/s/a.kav"}},
        {{"/s/a.kav"}, "/s/b.kav", {"/s/b.kav", "/s/a.kav"}},
        {{"/s/b.kav", "/s/a.kav"}, "/s/a.kav", {"/s/b.kav", "/s/a.kav"}},
        {{"/s/b.kav", "/s/a.kav"}, "", {"/s/b.kav", "/s/a.kav"}},
        {{"/d/a.kav", ""}, "/mnt/d/a.kav", {"/mnt/d/a.kav", "/d/a.kav", ""}},
        {{"/d/a.kav"}, "/d/a.kav.kav", {"/d/a.kav.kav", "/d/a.kav"}},
        {numbered(20, 1), "/s/21.kav", numbered(21, 2)},
        {numbered(20, 1), "/s/1.kav", numbered(20, 1)},
        {numbered(20, 1), "/s/12.kav", numbered(20, 1)},
    };
    for (const auto& c : cases) {
        TRecentFiles list = c.Before;
        UpdateRecentFilesList(list, c.Path);
        EXPECT_EQ(list, c.After) << c.Path.toStdString();
    }
}

TEST(RecentFiles, MenusAreRebuiltWithIndexedCaptionsEvenForAnEmptyPath) {
    TRecordingView view;
    TRecentFiles list;
    UpdateRecentFiles(list, "", view);
    EXPECT_EQ(view.Calls, QStringList{"Menus 0 0"});
    EXPECT_FALSE(view.SubmenuEnabled);

    UpdateRecentFiles(list, "/s/a.kav", view);
    UpdateRecentFiles(list, "/s/b c.kav", view);
    EXPECT_EQ(view.MenuCaptions, (QStringList{"0 - /s/b c.kav", "1 - /s/a.kav"}));
    EXPECT_TRUE(view.SubmenuEnabled);
    EXPECT_EQ(view.Calls.size(), 3);
}
