#include "settings/OutputHistory.h"

#include <gtest/gtest.h>

using namespace tarvix;

namespace {

Settings WithHistory(const QString& history, int limit = 5) {
    Settings s;
    ResetSettings(s, false);
    s.recentOutFolders = history;
    s.outFoldersNumber = int8_t(limit);
    return s;
}

} // namespace

TEST(OutputHistory, EntriesAreTrimmedFields) {
    const Settings s = WithHistory(" /a/ \t/b/\t\t/d/");
    EXPECT_EQ(RecentOutputFolder(s, 0), "/a/");
    EXPECT_EQ(RecentOutputFolder(s, 1), "/b/");
    EXPECT_EQ(RecentOutputFolder(s, 2), "");
    EXPECT_EQ(RecentOutputFolder(s, 3), "/d/");
    EXPECT_EQ(RecentOutputFolder(s, 4), "");
    EXPECT_EQ(RecentOutputFolder(s, -1), "");
}

TEST(OutputHistory, NewestFirstWithoutCaseInsensitiveDuplicates) {
    Settings s = WithHistory("/home/u/Out/\t/tmp/");
    AddRecentOutputFolder(s, "/HOME/U/OUT/");
    EXPECT_EQ(s.recentOutFolders, "/HOME/U/OUT/\t/tmp/");
    AddRecentOutputFolder(s, "/x/");
    EXPECT_EQ(s.recentOutFolders, "/x/\t/HOME/U/OUT/\t/tmp/");
    AddRecentOutputFolder(s, "");
    EXPECT_EQ(s.recentOutFolders, "/x/\t/HOME/U/OUT/\t/tmp/");
}

TEST(OutputHistory, LimitDropsTheOldest) {
    Settings s = WithHistory("/1/\t/2/\t/3/\t/4/\t/5/");
    AddRecentOutputFolder(s, "/6/");
    EXPECT_EQ(s.recentOutFolders, "/6/\t/1/\t/2/\t/3/\t/4/");
    s = WithHistory("/1/\t/2/", 1);
    AddRecentOutputFolder(s, "/3/");
    EXPECT_EQ(s.recentOutFolders, "/3/");
}

TEST(OutputHistory, FingerprintIgnoresCase) {
    EXPECT_EQ(FolderFingerprint("/Tmp/Ä/"), FolderFingerprint("/TMP/ä/"));
    EXPECT_NE(FolderFingerprint("/tmp/a/"), FolderFingerprint("/tmp/b/"));
    // zlib's CRC-32 of "ABC"
    EXPECT_EQ(FolderFingerprint("abc"), 0xA3830348u);
}
