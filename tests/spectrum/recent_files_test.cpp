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

TEST(RecentFiles, NewPathGoesOnTopAndAListedOneStaysWhereItIs) {
    TRecentFiles list;
    UpdateRecentFilesList(list, "/s/a.kav");
    UpdateRecentFilesList(list, "/s/b.kav");
    UpdateRecentFilesList(list, "/s/a.kav");
    EXPECT_EQ(list, (TRecentFiles{"/s/b.kav", "/s/a.kav"}));
    UpdateRecentFilesList(list, "");
    EXPECT_EQ(list.size(), 2);
}

TEST(RecentFiles, TwentyFirstFileDropsTheOldest) {
    TRecentFiles list = Numbered(20);
    UpdateRecentFilesList(list, "/s/21.kav");
    ASSERT_EQ(list.size(), 20);
    EXPECT_EQ(list.first(), "/s/21.kav");
    EXPECT_EQ(list.last(), "/s/2.kav");
    EXPECT_FALSE(list.contains("/s/1.kav"));
}

TEST(RecentFiles, ReopeningAListedFileInAFullListLosesNoEntry) {
    TRecentFiles list = Numbered(20);
    const TRecentFiles before = list;
    UpdateRecentFilesList(list, "/s/1.kav"); // the oldest one
    EXPECT_EQ(list, before);
    UpdateRecentFilesList(list, "/s/12.kav");
    EXPECT_EQ(list, before);
}

TEST(RecentFiles, OnlyAnEqualEntryCountsAsListed) {
    // A path that merely contains an entry is another file.
    TRecentFiles list{"/d/a.kav", ""};
    UpdateRecentFilesList(list, "/mnt/d/a.kav");
    UpdateRecentFilesList(list, "/d/a.kav.kav");
    EXPECT_EQ(list, (TRecentFiles{"/d/a.kav.kav", "/mnt/d/a.kav", "/d/a.kav", ""}));
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
