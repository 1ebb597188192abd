#include "settings/Vocabulary.h"
#include "core/StringTable.h"

#include <gtest/gtest.h>

using namespace tarvix;

TEST(WordToCode, IgnoresCaseAndGivesZeroForUnknownWords) {
    EXPECT_EQ(WordToCode(VocabularyKind::JpgChroma, "high"), 3);
    EXPECT_EQ(WordToCode(VocabularyKind::JpgChroma, "High"), 3);
    EXPECT_EQ(WordToCode(VocabularyKind::JpgChroma, "HIGH"), 3);
    EXPECT_EQ(WordToCode(VocabularyKind::JpgChroma, "hihg"), 0);
    EXPECT_EQ(WordToCode(VocabularyKind::JpgChroma, ""), 0);
    EXPECT_EQ(WordToCode(VocabularyKind::RawLoadAs, "48"), 5);
    EXPECT_EQ(WordToCode(VocabularyKind::RawLoadAs, "48HS"), 4);
    EXPECT_EQ(WordToCode(VocabularyKind::RawLoadAs, "48 HS"), 0);
    EXPECT_EQ(WordToCode(VocabularyKind::FontEffect, "STRIKETHROUGHT"), 2);
    // The spelling users type is accepted beside the designed one; the stored
    // word stays the designed one.
    EXPECT_EQ(WordToCode(VocabularyKind::FontEffect, "strikethrough"), 2);
    EXPECT_EQ(CodeToWord(VocabularyKind::FontEffect, 2), "STRIKETHROUGHT");
    EXPECT_EQ(WordToCode(VocabularyKind::Position, "middlecenter"), 4);
    EXPECT_EQ(WordToCode(VocabularyKind::FileTimestamp, "custom"), 2);
    EXPECT_EQ(WordToCode(VocabularyKind::Frame, "SOLID"), 0); // code-to-word only
    EXPECT_EQ(WordToCode(VocabularyKind::Watermark, "TEXT"), 0);
    EXPECT_EQ(WordToCode(VocabularyKind(99), "X"), 0);
}

TEST(WordToCode, CompressionWordsAreSharedByAllFormats) {
    EXPECT_EQ(WordToCode(VocabularyKind::Compression, "PIZ"),
              2); // as "PNG Compression" it means ZLIB6
    EXPECT_EQ(WordToCode(VocabularyKind::Compression, "RLE"),
              1); // as "TIFF Compression" it means CCITTFAX3
    EXPECT_EQ(WordToCode(VocabularyKind::Compression, "logluv"), 8);
}

TEST(CodeToWord, ByKindAndCompressionListOfTheFormat) {
    EXPECT_EQ(CodeToWord(VocabularyKind::Compression, 2, "tiff"), "CCITTFAX4");
    EXPECT_EQ(CodeToWord(VocabularyKind::Compression, 1, "png"), "ZLIB1");
    EXPECT_EQ(CodeToWord(VocabularyKind::Compression, 1, "exr"), "ZIP");
    EXPECT_EQ(CodeToWord(VocabularyKind::Compression, 1, "bmp"), "RLE");
    EXPECT_EQ(CodeToWord(VocabularyKind::Compression, 0, "jpg"), "");
    EXPECT_EQ(CodeToWord(VocabularyKind::FrameLoading, 7), "");
    EXPECT_EQ(CodeToWord(VocabularyKind::Frame, 1), "SOLID");
    EXPECT_EQ(CodeToWord(VocabularyKind::Watermark, 2), "IMAGE");
    EXPECT_EQ(CodeToWord(VocabularyKind::DdsLoadAs, 0), "AUTO");
    EXPECT_EQ(CodeToWord(VocabularyKind::JpgSaveAs, 3), "PROGRESSIVE");
}

TEST(DialogLabels, EveryLabelExistsInTheStringTable) {
    LoadStringTable();
    for (int kind = 0; kind < kVocabularyKinds; ++kind) {
        if (kind == int(VocabularyKind::Compression)) continue;
        for (const QString& key : DialogLabelKeys(VocabularyKind(kind)))
            EXPECT_NE(GetText("Preferences", key), "%NO_STRING_ERROR%")
                << kind << " " << key.toStdString();
    }
    for (const char* ext : {"bmp", "exr", "png", "tga", "tiff"})
        for (const QString& key : DialogLabelKeys(VocabularyKind::Compression, ext))
            EXPECT_NE(GetText("Preferences", key), "%NO_STRING_ERROR%") << key.toStdString();
    EXPECT_EQ(GetText("Preferences", DialogLabelKeys(VocabularyKind::ResizeAlgorithm)[2]),
              "B-Spline");
    EXPECT_EQ(GetText("Preferences", DialogLabelKeys(VocabularyKind::Compression, "tiff")[4]),
              "Deflate (ZLib)");
    EXPECT_EQ(DialogLabelKeys(VocabularyKind::TiffColorModel).size(), 2); // no item for LAB
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
