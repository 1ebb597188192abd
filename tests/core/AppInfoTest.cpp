#include "core/AppInfo.h"

#include <gtest/gtest.h>

using namespace tarvix;

TEST(AppInfo, VersionTextFromTheNumber) {
    EXPECT_EQ(VersionText(270), "2.7");
    EXPECT_EQ(VersionText(271), "2.7.1");
    EXPECT_EQ(VersionText(300), "3.0");
    EXPECT_EQ(AppTitle(), "Orvella DDS to JPG 2.7");
}

TEST(AppInfo, OfferedFormats) {
    EXPECT_EQ(InputExtensions(), QStringList{"dds"});
    EXPECT_EQ(OutputExtensions(), QStringList{"jpg"});
    EXPECT_TRUE(ProductNotice().contains(QChar(0x00A9)));
}
