#include "spectrum/atomic_file.h"

#include "disk_limits.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

class AtomicFile : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return Dir.filePath(name); }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Every entry of the folder, hidden temporary files included.
    QStringList Entries() const {
        return QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    QTemporaryDir Dir;
};

TEST_F(AtomicFile, ReplacesTheWholeFileAndKeepsItsPermissions) {
    const QString path = Path("a.kav");
    ASSERT_TRUE(WriteFileAtomically(path, "old content"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(Read(path), "new");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(), QStringList{"a.kav"});
}

TEST_F(AtomicFile, WritesThroughASymbolicLink) {
    ASSERT_TRUE(WriteFileAtomically(Path("real.kav"), "one"));
    ASSERT_TRUE(QFile::link(Path("real.kav"), Path("link.kav")));
    ASSERT_TRUE(WriteFileAtomically(Path("link.kav"), "two"));
    EXPECT_TRUE(QFileInfo(Path("link.kav")).isSymLink());
    EXPECT_EQ(Read(Path("real.kav")), "two");
}

// A file small enough to sit in any buffer still meets the limit: the write
// fails with the system's reason and the previous file stays whole.
TEST_F(AtomicFile, AFileSizeLimitLeavesThePreviousFileAndNoLeftovers) {
    const QString path = Path("keep.kav");
    ASSERT_TRUE(WriteFileAtomically(path, QByteArray(100, 'p')));
    QString reason;
    const bool written = UnderFileSizeLimit(
        256, [&] { return WriteFileAtomically(path, QByteArray(500, 'n'), &reason); });
    EXPECT_FALSE(written);
    EXPECT_EQ(reason, SystemReason(EFBIG));
    EXPECT_EQ(Read(path), QByteArray(100, 'p'));
    EXPECT_EQ(Entries(), QStringList{"keep.kav"});
}

TEST_F(AtomicFile, RefusesADirectoryAndAMissingFolderWithTheirReasons) {
    QString reason;
    ASSERT_TRUE(QDir(Dir.path()).mkdir("sub"));
    EXPECT_FALSE(WriteFileAtomically(Path("sub"), "x", &reason));
    EXPECT_EQ(reason, SystemReason(EISDIR));
    EXPECT_TRUE(QFileInfo(Path("sub")).isDir());
    EXPECT_FALSE(WriteFileAtomically(Path("none/x.kav"), "x", &reason));
    EXPECT_EQ(reason, SystemReason(ENOENT));
}

TEST_F(AtomicFile, SlotCommitsWhatItsWriterWroteAndRemovesWhatItDidNot) {
    const QString path = Path("page.pdf");
    ASSERT_TRUE(WriteFileAtomically(path, "previous"));
    {
        TAtomicFileSlot slot(path);
        ASSERT_TRUE(slot.Open());
        EXPECT_TRUE(slot.TempPath().startsWith(Dir.path()));
        EXPECT_EQ(Entries().size(), 2);
        // The writer wrote nothing: refused, and the slot's file goes.
        QString reason;
        EXPECT_FALSE(slot.Commit(&reason));
        EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_EQ(Entries(), QStringList{"page.pdf"});
    EXPECT_EQ(Read(path), "previous");

    TAtomicFileSlot slot(path);
    ASSERT_TRUE(slot.Open());
    QFile out(slot.TempPath());
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("%PDF-1.4 new page");
    out.close();
    ASSERT_TRUE(slot.Commit());
    EXPECT_EQ(Read(path), "%PDF-1.4 new page");
    EXPECT_EQ(Entries(), QStringList{"page.pdf"});
}

} // namespace
