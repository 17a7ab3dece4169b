#include "config/auto_save_texts.h"
#include "qstring_printer.h"

#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AutoSaveTexts, ExampleIsTheNameTheAutomaticSaveWrites) {
    EXPECT_EQ(AutoSaveExampleName(QStringLiteral("Спектр"), 1),
              QStringLiteral("Спектр00000001.kav"));
    EXPECT_EQ(AutoSaveExampleName(QStringLiteral("a b.c"), 123456789),
              QStringLiteral("a_b_c123456789.kav"));
    EXPECT_EQ(AutoSaveExampleName(QString(), 7), QStringLiteral("00000007.kav"));
}

TEST(AutoSaveTexts, FreeSpaceNamesTheMountPointAndWholeMebibytes) {
    EXPECT_EQ(FreeSpaceText(QStringLiteral("/home"), 5LL << 30),
              QStringLiteral("На диске /home осталось 5120 Мбайт"));
    EXPECT_EQ(FreeSpaceText(QStringLiteral("/"), 1048575),
              QStringLiteral("На диске / осталось 0 Мбайт"));

    QTemporaryDir dir;
    const QStorageInfo storage(dir.path());
    const QString text = FreeSpaceText(dir.path());
    EXPECT_TRUE(text.startsWith(QStringLiteral("На диске ") + storage.rootPath() +
                                QStringLiteral(" осталось ")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral(" Мбайт")));

    EXPECT_EQ(FreeSpaceText(QString()), QStringLiteral("Каталог не задан"));
    EXPECT_EQ(FreeSpaceText(QStringLiteral("  ")), QStringLiteral("Каталог не задан"));
    EXPECT_EQ(FreeSpaceText(dir.filePath(QStringLiteral("gone"))),
              QStringLiteral("Каталог не найден"));
}
