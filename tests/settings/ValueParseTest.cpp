#include "settings/ValueParse.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tarvix;

TEST(OptionInteger, DecimalHexAndBinary) {
    EXPECT_EQ(ParseOptionInteger(u"95"), 95);
    EXPECT_EQ(ParseOptionInteger(u"95abc"), 95);
    EXPECT_EQ(ParseOptionInteger(u"abc"), 0);
    EXPECT_EQ(ParseOptionInteger(u""), 0);
    EXPECT_EQ(ParseOptionInteger(u" \t-20"), -20);
    EXPECT_EQ(ParseOptionInteger(u"+7"), 7);
    EXPECT_EQ(ParseOptionInteger(u"$FF"), 255);
    EXPECT_EQ(ParseOptionInteger(u"-$10"), -16);
    EXPECT_EQ(ParseOptionInteger(u"%101"), 5);
    EXPECT_EQ(ParseOptionInteger(u"%102"), 2);
    EXPECT_EQ(ParseOptionInteger(u"$"), 0);
    EXPECT_EQ(ParseOptionInteger(u"- 5"), 0);
}

TEST(OptionInteger, HugeNumbersKeepTheirLow32Bits) {
    EXPECT_EQ(ParseOptionInteger(u"4294967296"), 0);
    EXPECT_EQ(ParseOptionInteger(u"4294967297"), 1);
    EXPECT_EQ(ParseOptionInteger(u"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseOptionInteger(u"2147483648"), INT32_MIN);
    // 10^30 mod 2^32
    EXPECT_EQ(uint32_t(ParseOptionInteger(u"1000000000000000000000000000000")), 1073741824u);
    const QString digits(100000, QLatin1Char('9'));
    (void)ParseOptionInteger(digits); // must simply finish
}

TEST(ConfigInteger, DecimalOnly) {
    EXPECT_EQ(ParseConfigInteger(u"-56"), -56);
    EXPECT_EQ(ParseConfigInteger(u"$FF"), 0);
    EXPECT_EQ(ParseConfigInteger(u"12 34"), 12);
    EXPECT_EQ(ParseConfigInteger(u"x"), 0);
}

TEST(Real, DecimalAndSpecialWords) {
    EXPECT_FLOAT_EQ(ParseReal(u"0.01"), 0.01f);
    EXPECT_FLOAT_EQ(ParseReal(u"9.99"), 9.99f);
    EXPECT_FLOAT_EQ(ParseReal(u"2"), 2.0f);
    EXPECT_FLOAT_EQ(ParseReal(u"-1.5"), -1.5f);
    EXPECT_FLOAT_EQ(ParseReal(u".5"), 0.5f);
    EXPECT_FLOAT_EQ(ParseReal(u"1.5abc"), 1.5f);
    EXPECT_FLOAT_EQ(ParseReal(u"1,5"), 1.0f);
    EXPECT_FLOAT_EQ(ParseReal(u"abc"), 0.0f);
    EXPECT_FLOAT_EQ(ParseReal(u""), 0.0f);
    EXPECT_FLOAT_EQ(ParseReal(u"1e2"), 100.0f);
    EXPECT_TRUE(std::isinf(ParseReal(u"+Infinity")) && ParseReal(u"+infinity") > 0);
    EXPECT_TRUE(std::isinf(ParseReal(u"-INFINITY")) && ParseReal(u"-Infinity") < 0);
    EXPECT_TRUE(std::isnan(ParseReal(u"nan")));
    EXPECT_TRUE(std::isinf(ParseReal(u"1e999")));
    EXPECT_FLOAT_EQ(ParseReal(u"1e-999"), 0.0f);
    EXPECT_TRUE(std::isinf(ParseReal(QString(400, QLatin1Char('9')))));
}

TEST(Real, ConfigFormIsSixDecimalsOrAWord) {
    EXPECT_EQ(FormatReal(1.0f), "1.000000");
    EXPECT_EQ(FormatReal(0.5f), "0.500000");
    EXPECT_EQ(FormatReal(std::nanf("")), "NaN");
    EXPECT_EQ(FormatReal(INFINITY), "+Infinity");
    EXPECT_EQ(FormatReal(-INFINITY), "-Infinity");
}

TEST(WholeValues, TellAPartlyReadValueFromAWholeOne) {
    for (const char16_t* whole : {u"95", u" \t-20 ", u"+7", u"$FF", u"-$10", u"%101"})
        EXPECT_TRUE(IsWholeOptionInteger(whole)) << QString::fromUtf16(whole).toStdString();
    for (const char16_t* partial : {u"95abc", u"abc", u"", u"$", u"%102", u"- 5", u"1.5", u"9 9"})
        EXPECT_FALSE(IsWholeOptionInteger(partial)) << QString::fromUtf16(partial).toStdString();
    for (const char16_t* whole : {u"1.5", u"-.5", u"2.", u"1e3", u" 0.01 ", u"nan", u"-INFINITY"})
        EXPECT_TRUE(IsWholeReal(whole)) << QString::fromUtf16(whole).toStdString();
    for (const char16_t* partial : {u"1,5", u"abc", u"", u".", u"1e", u"1.5x", u"Inf"})
        EXPECT_FALSE(IsWholeReal(partial)) << QString::fromUtf16(partial).toStdString();
}

TEST(NearestName, SuggestsOnlyLikelyMisspellings) {
    const QStringList names = {"--JPG-QUALITY", "--JPG-CHROMA", "--WM-TEXT", "--WIDTH", "-I"};
    EXPECT_EQ(NearestName("--jpg-qualty", names), "--JPG-QUALITY");
    EXPECT_EQ(NearestName("--JPG-QAULITY", names), "--JPG-QUALITY"); // two slips
    EXPECT_EQ(NearestName("--jpg-chrome", names), "--JPG-CHROMA");
    EXPECT_EQ(NearestName("--widht", names), "--WIDTH");
    EXPECT_EQ(NearestName("--frobnicate", names), "");
    EXPECT_EQ(NearestName("-x", names), "");      // too short to guess
    EXPECT_EQ(NearestName("--width", names), ""); // not a misspelling
    EXPECT_EQ(NearestName("--anything", {}), "");
}
