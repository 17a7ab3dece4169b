// Many spectra saved in one batch: each file is whole or not at all, a
// failure names its file and the system's reason, and nothing of a failed or
// uncommitted file is left in the folder.
#include "base/atomic_file.h"
#include "disk_limits.h"
#include "loaded_points.h"
#include "qstring_printer.h"
#include "spectrum/point_store.h"
#include "spectrum/spectrum_file.h"
#include "temp_files.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct AtomicBatch : ::testing::Test, TTempFiles {
    // A spectrum of `points` points (4 bytes each in the file), its
    // ordinates shifted by `shift` so that each file is told apart.
    static std::unique_ptr<TPointTable> Spectrum(int points, int shift) {
        auto store = std::make_unique<TPointTable>();
        ClearPoints(*store);
        for (int i = 0; i < points; ++i)
            (*store)[1000 + 8 * i] = TPointSlot{static_cast<std::uint16_t>(1000 + 8 * i),
                                                static_cast<std::uint16_t>((shift + i) % 4096)};
        return store;
    }

    // The hidden files a save may leave beside its target.
    QStringList Hidden(const QString& folder) const {
        return QDir(folder)
            .entryList(QDir::Files | QDir::Hidden | QDir::System)
            .filter(QRegularExpression("^\\."));
    }
};

} // namespace

// Files that fit are committed whole; a file past the size limit fails at its
// write, a target that became a folder at the commit: each by its own path
// and the system's reason, the previous file kept, nothing left over.
TEST_F(AtomicBatch, EachFileIsWholeOrNotAtAllAndEachFailureNamesItsReason) {
    struct TCase {
        const char* Name;
        int Points;
        int WriteError;  // 0: written
        int CommitError; // 0: committed
    } const cases[] = {
        {"a.kav", 100, 0, 0},         {"big.kav", 2000, EFBIG, 0}, {"c.kav", 300, 0, 0},
        {"gone.kav", 100, 0, EISDIR}, {"e.kav", 1, 0, 0},
    };
    for (const TCase& c : cases)
        Write(c.Name, "previous");

    TAtomicBatch batch;
    for (int k = 0; const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto points = Spectrum(c.Points, k++);
        QString error;
        const bool written = UnderFileSizeLimit(
            4096, [&] { return SaveSpectrumFile(batch, Path(c.Name), *points, &error); });
        EXPECT_EQ(written, c.WriteError == 0);
        if (c.WriteError != 0) {
            EXPECT_EQ(error, SpectrumWriteError(Path(c.Name), SystemReason(c.WriteError)));
        }
    }
    EXPECT_EQ(batch.Pending(), 4);
    // Nothing has taken its name before the commit.
    for (const TCase& c : cases)
        EXPECT_EQ(Read(c.Name), "previous") << c.Name;

    ASSERT_TRUE(QFile::remove(Path("gone.kav")));
    ASSERT_TRUE(QDir(Dir.path()).mkdir("gone.kav"));
    const QList<TAtomicBatch::TFailure> failures = batch.Commit();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures[0].Path, Path("gone.kav"));
    EXPECT_EQ(failures[0].Reason, SystemReason(EISDIR));
    EXPECT_EQ(batch.Pending(), 0);

    for (int k = 0; const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto expected = Spectrum(c.Points, k++);
        if (c.WriteError != 0) {
            EXPECT_EQ(Read(c.Name), "previous");
        } else if (c.CommitError != 0) {
            EXPECT_TRUE(QFileInfo(Path(c.Name)).isDir());
        } else {
            const auto loaded = LoadedPoints(Path(c.Name));
            ASSERT_TRUE(loaded);
            EXPECT_TRUE(*loaded == *expected);
        }
    }
    EXPECT_EQ(Hidden(Dir.path()), QStringList());
}

// A batch that ends without a commit changes no file and leaves nothing.
TEST_F(AtomicBatch, WhatIsNotCommittedLeavesNothing) {
    Write("a.kav", "previous");
    {
        TAtomicBatch batch;
        ASSERT_TRUE(SaveSpectrumFile(batch, Path("a.kav"), *Spectrum(10, 0)));
        ASSERT_TRUE(SaveSpectrumFile(batch, Path("new.kav"), *Spectrum(10, 1)));
    }
    EXPECT_EQ(Entries(), QStringList{"a.kav"});
    EXPECT_EQ(Read("a.kav"), "previous");
}

// A disk that fills up mid-batch: every earlier file is committed whole, every
// later one fails with "No space left on device" and keeps its previous file.
TEST_F(AtomicBatch, AFolderThatFillsUpKeepsEveryEarlierFileWhole) {
    TSmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "a tmpfs cannot be mounted here: " << disk.Reason.toStdString();
    const QString folder = QFileInfo(disk.Path("x")).path();
    {
        QFile previous(disk.Path("s9.kav"));
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    // 64 KiB hold a few spectra of 3 000 points (12 000 bytes) each.
    TAtomicBatch batch;
    int written = 0;
    QStringList errors;
    for (int k = 0; k < 10; ++k) {
        const QString path = disk.Path(QStringLiteral("s%1.kav").arg(k));
        QString error;
        if (SaveSpectrumFile(batch, path, *Spectrum(3000, k), &error)) {
            EXPECT_TRUE(errors.isEmpty()) << "written after the disk was full: " << k;
            ++written;
        } else {
            EXPECT_EQ(error, SpectrumWriteError(path, SystemReason(ENOSPC)));
            errors << error;
        }
    }
    ASSERT_GT(written, 0);
    ASSERT_LT(written, 10);
    EXPECT_TRUE(batch.Commit().isEmpty());

    for (int k = 0; k < 10; ++k) {
        SCOPED_TRACE(k);
        const QString path = disk.Path(QStringLiteral("s%1.kav").arg(k));
        if (k < written) {
            const auto loaded = LoadedPoints(path);
            ASSERT_TRUE(loaded);
            EXPECT_TRUE(*loaded == *Spectrum(3000, k));
        } else if (k == 9) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), "previous");
        } else {
            EXPECT_FALSE(QFileInfo::exists(path));
        }
    }
    EXPECT_EQ(Hidden(folder), QStringList());
}
