// The menus by keyboard: an underlined letter for every menu and item, none
// shared within one menu, the desktop's usual keys shown and used once.

#include "app_fixture.h"

#include <QKeySequence>
#include <QShortcut>
#include <QSignalSpy>
#include <map>

namespace {

using TKeyboardTest = TWindowTest;

// The menu a key press opened, or null.
QMenu* OpenMenu() {
    QApplication::processEvents();
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// A key as the keyboard sends it, Cyrillic letters included (with the
// lower-case letter as the event's text).
void Press(QWidget* target, const QKeyCombination& key) {
    const QString text =
        key.key() < Qt::Key_Escape && !(key.keyboardModifiers() & Qt::ControlModifier)
            ? QString(QChar(key.key())).toLower()
            : QString();
    QTest::sendKeyEvent(QTest::Click, target, key.key(), text, key.keyboardModifiers());
}

void CloseMenus() {
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

// The mnemonics of a list of captions: every caption marks exactly one of
// its own letters with "&", and no two share one.
void ExpectOwnMnemonics(const QStringList& captions, const QString& where) {
    std::map<int, QString> taken;
    for (const QString& text : captions) {
        SCOPED_TRACE((where + QStringLiteral(" / ") + text).toStdString());
        EXPECT_EQ(text.count(u'&'), 1);
        const QKeySequence key = QKeySequence::mnemonic(text);
        ASSERT_FALSE(key.isEmpty());
        const auto [at, fresh] = taken.emplace(key[0].toCombined(), text);
        EXPECT_TRUE(fresh) << "shares its letter with " << at->second.toStdString();
    }
}

} // namespace

TEST_F(TKeyboardTest, EveryMenuAndItemHasItsOwnLetter) {
    QStringList titles;
    for (QAction* top : W->menuBar()->actions())
        titles << top->text();
    ExpectOwnMnemonics(titles, QStringLiteral("menu bar"));
    ASSERT_EQ(titles.size(), 5);

    // Every menu of the window: the bar's, the recent-files submenu, the
    // plot's and the real-time switches' pop-up menus.
    int menus = 0;
    for (QMenu* menu : W->findChildren<QMenu*>()) {
        QStringList items;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                items << a->text();
        if (items.isEmpty())
            continue;
        ++menus;
        ExpectOwnMnemonics(items, menu->objectName() + menu->title());
    }
    EXPECT_GE(menus, 7);
}

TEST_F(TKeyboardTest, UsualKeysAreShownAndNoKeyServesTwoActions) {
    struct Row {
        const char* Action;
        const char* Key;
    };
    // AExit last: it closes the window.
    const Row rows[] = {
        {"AOpenFile", "Ctrl+O"}, {"ASaveFileAs", "Ctrl+S"}, {"APrintSetup", "Ctrl+P"},
        {"ABackUp", "Ctrl+Z"},   {"AIncScale", "Ctrl++"},   {"ADecScale", "Ctrl+-"},
        {"ARepaint", "F5"},      {"AExit", "Ctrl+Q"},
    };
    // Every key of the window, of an action or a shortcut, once.
    std::map<QString, QString> owner;
    const auto take = [&owner](const QKeySequence& key, const QString& name) {
        const QString text = key.toString(QKeySequence::PortableText);
        const auto [at, fresh] = owner.emplace(text, name);
        EXPECT_TRUE(fresh) << text.toStdString() << ": " << name.toStdString() << " and "
                           << at->second.toStdString();
    };
    for (QAction* a : W->findChildren<QAction*>())
        for (const QKeySequence& key : a->shortcuts())
            take(key, a->objectName());
    for (QShortcut* s : W->findChildren<QShortcut*>())
        take(s->key(), s->objectName());
    EXPECT_EQ(owner[QStringLiteral("F10")], QStringLiteral("MenuBarKey"));

    for (const Row& r : rows) {
        SCOPED_TRACE(r.Action);
        auto* a = W->findChild<QAction*>(QString::fromLatin1(r.Action));
        ASSERT_NE(a, nullptr);
        const QKeySequence key(QString::fromLatin1(r.Key), QKeySequence::PortableText);
        EXPECT_TRUE(a->shortcuts().contains(key));
        EXPECT_EQ(owner[key.toString(QKeySequence::PortableText)], a->objectName());
        if (!a->isEnabled())
            continue;
        QSignalSpy fired(a, &QAction::triggered);
        Press(W.get(), key[0]);
        CloseMenus();
        EXPECT_EQ(fired.count(), 1);
    }
    EXPECT_FALSE(W->isVisible()); // Ctrl+Q closed it
}

TEST_F(TKeyboardTest, AltLettersAndF10OpenTheMenus) {
    // Alt with a title's letter opens that menu.
    for (QAction* top : W->menuBar()->actions()) {
        SCOPED_TRACE(Caption(top->text()).toStdString());
        const QKeySequence letter = QKeySequence::mnemonic(top->text());
        Press(W.get(), QKeyCombination(Qt::AltModifier, letter[0].key()));
        EXPECT_EQ(OpenMenu(), top->menu());
        CloseMenus();
    }
    // F10 opens the first one; the arrow keys go on from there and a letter
    // runs an item of the open menu.
    Press(W.get(), Qt::Key_F10);
    QMenu* first = OpenMenu();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, W->menuBar()->actions()[0]->menu());
    Press(first, Qt::Key_Right);
    QMenu* view = OpenMenu();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Caption(view->title()), QStringLiteral("Вид"));
    QSignalSpy repaint(Act(*W, "ARepaint"), &QAction::triggered);
    Press(view, QKeySequence::mnemonic(Act(*W, "ARepaint")->text())[0].key());
    EXPECT_EQ(repaint.count(), 1);
    CloseMenus();
}
