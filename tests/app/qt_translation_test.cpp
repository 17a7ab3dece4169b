// Qt's own buttons and dialogs in Russian on a machine whose locale is not.

#include "app/qt_translation.h"
#include "view/qt_app.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The locale of a system without Russian, set before the application reads
// it.
const bool PlainLocale = [] {
    qputenv("LANG", "C");
    qputenv("LC_ALL", "C");
    qputenv("LANGUAGE", "");
    return true;
}();

QString Plain(QString text) {
    return text.remove(u'&');
}

// The texts of Qt's own windows the program shows, as the user reads them.
struct TQtText {
    const char* What;
    const char* Russian;
    std::function<QString()> Shown;
};

QString ButtonText(QMessageBox::StandardButton which) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("КАВ"), QStringLiteral("Изменить?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return Plain(box.button(which)->text());
}

const TQtText QtTexts[] = {
    {"Yes", "Да", [] { return ButtonText(QMessageBox::Yes); }},
    {"No", "Нет", [] { return ButtonText(QMessageBox::No); }},
    {"Cancel", "Отмена", [] { return ButtonText(QMessageBox::Cancel); }},
    {"colour dialog", "Выбор цвета", [] { return QColorDialog().windowTitle(); }},
    {"file dialog", "Открыть",
     [] {
         QFileDialog files;
         files.setOption(QFileDialog::DontUseNativeDialog);
         return Plain(files.labelText(QFileDialog::Accept));
     }},
    {"print dialog", "Печать",
     [] {
         QPrinter printer;
         return QPrintDialog(&printer).windowTitle();
     }},
};

int QtCatalogs() {
    return QCoreApplication::instance()->findChildren<QTranslator*>().size();
}

} // namespace

TEST(TQtTranslationTest, QtWindowsSpeakRussianWhateverTheLocale) {
    ASSERT_TRUE(PlainLocale);
    ASSERT_NE(QLocale::system().language(), QLocale::Russian);
    ASSERT_TRUE(InstallQtTranslation(QStringLiteral("ru")));
    for (const TQtText& t : QtTexts) {
        SCOPED_TRACE(t.What);
        EXPECT_EQ(t.Shown(), QString::fromUtf8(t.Russian));
    }
    // With $KAV7_SCREENSHOT_DIR set, a picture of a stock question.
    const QString dir = qEnvironmentVariable("KAV7_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("КАВ"), QStringLiteral("Изменить?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.show();
        EXPECT_TRUE(box.grab().save(QDir(dir).filePath(QStringLiteral("qt-buttons-ru.png"))));
    }
}

TEST(TQtTranslationTest, ALaterLanguageReplacesTheCatalogAndAMissingOneKeepsIt) {
    ASSERT_TRUE(InstallQtTranslation(QStringLiteral("ru")));
    ASSERT_TRUE(InstallQtTranslation(QStringLiteral("ru")));
    EXPECT_EQ(QtCatalogs(), 1);
    EXPECT_EQ(ButtonText(QMessageBox::No), QStringLiteral("Нет"));

    // A language Qt has no catalog for: the Russian texts stay.
    EXPECT_FALSE(InstallQtTranslation(QStringLiteral("xx")));
    EXPECT_EQ(QtCatalogs(), 1);
    EXPECT_EQ(ButtonText(QMessageBox::No), QStringLiteral("Нет"));

    // Another language with a catalog takes over.
    ASSERT_TRUE(InstallQtTranslation(QStringLiteral("de")));
    EXPECT_EQ(QtCatalogs(), 1);
    EXPECT_EQ(ButtonText(QMessageBox::No), QStringLiteral("Nein"));
}
