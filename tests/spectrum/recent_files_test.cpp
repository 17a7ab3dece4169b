#include "spectrum/recent_files.h"

#include "recording_view.h"

#include <gtest/gtest.h>

namespace {

TRecentFiles Numbered(int count) {
    TRecentFiles list;
    for (int i = count; i >= 1; --i)
        list << QStringLiteral("/s/%1.kav").arg(i); // newest first
    return list;
}

} // namespace

// A new path goes on top; a listed one (only an equal entry counts: a path
// that merely contains one is another file) stays where it is; the 21st
// drops the oldest, while a listed file in a full list loses no entry.
TEST(RecentFiles, NewPathGoesOnTopAndAListedOneStaysWhereItIs) {
    TRecentFiles twentyOne = Numbered(20);
    twentyOne.prepend("/s/21.kav");
    twentyOne.removeLast();
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
        {Numbered(20), "/s/21.kav", twentyOne},
        {Numbered(20), "/s/1.kav", Numbered(20)},
        {Numbered(20), "/s/12.kav", Numbered(20)},
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
