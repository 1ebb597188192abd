#include "request/OutputDepth.h"

#include <gtest/gtest.h>

using namespace tarvix;

TEST(AutoDepth, FirstListedDepthAtOrAboveTheSource) {
    EXPECT_EQ(AutoDepth("jpg", 8), 8);
    EXPECT_EQ(AutoDepth("jpg", 24), 24);
    EXPECT_EQ(AutoDepth("jpg", 32), 24);
    EXPECT_EQ(AutoDepth("jpg", 1), 8);
    EXPECT_EQ(AutoDepth("png", 16), 24);
    EXPECT_EQ(AutoDepth("png", 64), 48);
    EXPECT_EQ(AutoDepth("tiff", 128), 96);
    EXPECT_EQ(AutoDepth("pcx", 24), 0);
    EXPECT_EQ(AutoDepth("nope", 24), 0);
}

TEST(BppSettingFor, TwentyThreeFormats) {
    Settings s;
    ResetSettings(s, true);
    s.jpgBpp = 8;
    s.psdBpp = 24;
    EXPECT_EQ(BppSettingFor("jpg", s), 8);
    EXPECT_EQ(BppSettingFor("psd", s), 24);
    EXPECT_EQ(BppSettingFor("pcx", s), 0);
    EXPECT_FALSE(BppSettingFor("raw", s).has_value());
    EXPECT_FALSE(BppSettingFor("JPG", s).has_value());
}
