#include "settings/Vocabulary.h"
#include "app/StringTable.h"

#include <gtest/gtest.h>

using namespace tarvix;

TEST(WordToCode, IgnoresCaseAndGivesZeroForUnknownWords) {
    EXPECT_EQ(WordToCode(7, "high"), 3);
    EXPECT_EQ(WordToCode(7, "High"), 3);
    EXPECT_EQ(WordToCode(7, "HIGH"), 3);
    EXPECT_EQ(WordToCode(7, "hihg"), 0);
    EXPECT_EQ(WordToCode(7, ""), 0);
    EXPECT_EQ(WordToCode(1, "48"), 5);
    EXPECT_EQ(WordToCode(1, "48HS"), 4);
    EXPECT_EQ(WordToCode(1, "48 HS"), 0);
    EXPECT_EQ(WordToCode(16, "STRIKETHROUGHT"), 2);
    EXPECT_EQ(WordToCode(16, "STRIKETHROUGH"), 0);
    EXPECT_EQ(WordToCode(19, "middlecenter"), 4);
    EXPECT_EQ(WordToCode(21, "custom"), 2);
    EXPECT_EQ(WordToCode(13, "SOLID"), 0); // code-to-word only
    EXPECT_EQ(WordToCode(14, "TEXT"), 0);
    EXPECT_EQ(WordToCode(99, "X"), 0);
}

TEST(WordToCode, CompressionWordsAreSharedByAllFormats) {
    EXPECT_EQ(WordToCode(4, "PIZ"), 2); // as "PNG Compression" it means ZLIB6
    EXPECT_EQ(WordToCode(4, "RLE"), 1); // as "TIFF Compression" it means CCITTFAX3
    EXPECT_EQ(WordToCode(4, "logluv"), 8);
}

TEST(CodeToWord, ByKindAndCompressionListOfTheFormat) {
    EXPECT_EQ(CodeToWord(4, 2, "tiff"), "CCITTFAX4");
    EXPECT_EQ(CodeToWord(4, 1, "png"), "ZLIB1");
    EXPECT_EQ(CodeToWord(4, 1, "exr"), "ZIP");
    EXPECT_EQ(CodeToWord(4, 1, "bmp"), "RLE");
    EXPECT_EQ(CodeToWord(4, 0, "jpg"), "");
    EXPECT_EQ(CodeToWord(2, 7), "");
    EXPECT_EQ(CodeToWord(13, 1), "SOLID");
    EXPECT_EQ(CodeToWord(14, 2), "IMAGE");
    EXPECT_EQ(CodeToWord(0, 0), "AUTO");
    EXPECT_EQ(CodeToWord(8, 3), "PROGRESSIVE");
}

TEST(DialogLabels, EveryLabelExistsInTheStringTable) {
    LoadStringTable();
    for (int kind = 0; kind < kVocabularyKinds; ++kind) {
        if (kind == 4) continue;
        for (const QString& key : DialogLabelKeys(kind))
            EXPECT_NE(GetText("Preferences", key), "%NO_STRING_ERROR%")
                << kind << " " << key.toStdString();
    }
    for (const char* ext : {"bmp", "exr", "png", "tga", "tiff"})
        for (const QString& key : DialogLabelKeys(4, ext))
            EXPECT_NE(GetText("Preferences", key), "%NO_STRING_ERROR%") << key.toStdString();
    EXPECT_EQ(GetText("Preferences", DialogLabelKeys(12)[2]), "B-Spline");
    EXPECT_EQ(GetText("Preferences", DialogLabelKeys(4, "tiff")[4]), "Deflate (ZLib)");
    EXPECT_EQ(DialogLabelKeys(6).size(), 2); // no item for LAB
}

TEST(IsBppAllowed, ByTheFormatsList) {
    EXPECT_TRUE(IsBppAllowed("jpg", 8));
    EXPECT_TRUE(IsBppAllowed("jpg", 24));
    EXPECT_FALSE(IsBppAllowed("jpg", 32));
    EXPECT_TRUE(IsBppAllowed("jpg", 0));
    EXPECT_FALSE(IsBppAllowed("pcx", 8));
    EXPECT_TRUE(IsBppAllowed("pcx", 0));
    EXPECT_TRUE(IsBppAllowed("tiff", 96));
    EXPECT_FALSE(IsBppAllowed("png", 16));
    EXPECT_EQ(BppList("png"), "1,4,8,24,32,48");
    EXPECT_EQ(BppList("psd"), "");
}
