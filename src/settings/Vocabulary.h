#pragma once
// Words and codes of choice-valued options, their dialog labels, and the allowed
// bits per pixel of each output format.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarvix {

// Which word table a choice-valued setting uses.
enum class VocabularyKind : int {
    None = -1,
    DdsLoadAs = 0,
    RawLoadAs,
    FrameLoading,
    RawToneMapping,
    Compression, // one table for every format; each format has its own list of codes
    BmpColorTable,
    TiffColorModel,
    JpgChroma,
    JpgSaveAs,
    RotationType,
    SizeUnit,
    ResizeType,
    ResizeAlgorithm,
    Frame,     // code to word only
    Watermark, // code to word only
    FontStyle,
    FontEffect,
    TextAlignment,
    Boundary,
    Position,
    WatermarkSize,
    FileTimestamp,
    DdsCube,
    DdsNormalMap,
    DdsAlpha,
};
constexpr int kVocabularyKinds = 25;

// The codes the program itself tests for.
enum FrameCode : int8_t { kFrameNone = 0, kFrameSolid = 1 };
enum DdsAlphaCode : int8_t { kDdsAlphaDrop = 0, kDdsAlphaBackground = 1 };
enum WatermarkCode : int8_t { kWatermarkNone = 0, kWatermarkText = 1, kWatermarkImage = 2 };
enum RotationTypeCode : int8_t { kRotationSimple = 0, kRotationAdvanced = 1 };
enum BoundaryCode : int8_t { kBoundImage = 0, kBoundFrame = 1 };
enum FileTimestampCode : int8_t {
    kTimestampCurrent = 0,
    kTimestampOriginal = 1,
    kTimestampCustom = 2
};

// Upper-cases the word and returns the code of the first equal word of the kind's
// table; 0 for an unknown word (and always for Frame and Watermark).
int32_t WordToCode(VocabularyKind kind, const QString& word);
// The word of a code; for Compression the list of the extension decides. Empty
// when no entry matches.
QString CodeToWord(VocabularyKind kind, int32_t code, const QString& extension = QString());
// Every word of the kind, each once, in table order.
QStringList Words(VocabularyKind kind);
// The "Preferences" string-table keys the dialog shows for each code, in code order.
QStringList DialogLabelKeys(VocabularyKind kind, const QString& extension = QString());

// The comma-separated bits-per-pixel list of an output format ("" when none).
QString BppList(const QString& extension);
bool IsBppAllowed(const QString& extension, int32_t bpp);

} // namespace tarvix
