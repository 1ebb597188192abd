#include "settings/Vocabulary.h"

#include "core/FormatRegistry.h"

#include <array>
#include <initializer_list>

namespace tarvix {
namespace {

struct Word {
    const char* word;
    int32_t code;
};

struct Table {
    std::initializer_list<Word> words;
    std::initializer_list<const char*> labels; // by code
};

const std::array<Table, kVocabularyKinds>& Tables() {
    static const std::array<Table, kVocabularyKinds> tables{{
        {{{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}}, {"Auto", "BGRA", "RGBA"}},
        {{{"AUTO", 0}, {"8", 1}, {"16", 2}, {"24", 3}, {"48HS", 4}, {"48", 5}},
         {"Auto", "RGB8", "RGB16", "RGB24", "RGB48HS", "RGB48"}},
        {{{"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}},
         {"All Frames", "First Frame", "Middle Frame", "Last Frame", "Random Frame"}},
        {{{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}},
         {"None", "Linear", "Adaptive Logarithmic", "DR Reduction", "Gradient Domain"}},
        {{}, {}}, // Compression: the words of every format's own list (below)
        {{{"AUTO", 0}, {"EXACT", 1}}, {"Auto", "Exact"}},
        {{{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}}, {"RGB", "CMYK"}},
        {{{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}}, {"None", "Low", "Medium", "High"}},
        {{{"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}},
         {"Baseline Standard", "Baseline Simple", "Baseline Optimized", "Progressive"}},
        {{{"SIMPLE", 0}, {"ADVANCED", 1}}, {"Simple Rotation", "Advanced Rotation"}},
        {{{"PIXELS", 0}, {"PERCENT", 1}}, {"Pixels", "Percent"}},
        {{{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}}, {"All Images", "Large Images"}},
        {{{"BOX", 0},
          {"BILINEAR", 1},
          {"BSPLINE", 2},
          {"BICUBIC", 3},
          {"CATMULLROM", 4},
          {"LANCZOS", 5}},
         {"Box", "Bilinear", "Bspline", "Bicubic", "Catmullrom", "Lanczos"}},
        {{{"NONE", 0}, {"SOLID", 1}}, {"None", "Frame Solid"}},
        {{{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}}, {"None", "Watermark Text", "Watermark Image"}},
        {{{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}},
         {"Regular", "Bold", "Italic", "Bold Italic"}},
        // STRIKETHROUGHT is the designed word, kept for stored files; the
        // spelling users type is accepted beside it.
        {{{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}, {"STRIKETHROUGH", 2}},
         {"None", "Underline", "Strikeout"}},
        {{{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}}, {"Align Left", "Align Center", "Align Right"}},
        {{{"IMAGE", 0}, {"FRAME", 1}}, {"Bound Image", "Bound Frame"}},
        {{{"TOPLEFT", 0},
          {"TOPCENTER", 1},
          {"TOPRIGHT", 2},
          {"MIDDLELEFT", 3},
          {"MIDDLECENTER", 4},
          {"MIDDLERIGHT", 5},
          {"BOTTOMLEFT", 6},
          {"BOTTOMCENTER", 7},
          {"BOTTOMRIGHT", 8}},
         {"Top-Left", "Top-Center", "Top-Right", "Middle-Left", "Middle-Center", "Middle-Right",
          "Bottom-Left", "Bottom-Center", "Bottom-Right"}},
        {{{"FIXED", 0}}, {"Fixed"}},
        {{{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}}, {"Current", "Original", "Custom"}},
        {{{"FIRST", 0}, {"CROSS", 1}, {"STRIP", 2}},
         {"First Face", "Horizontal Cross", "Face Strip"}},
        {{{"AUTO", 0}, {"RAW", 1}, {"REBUILD", 2}}, {"Auto", "As Stored", "Rebuild"}},
        {{{"DROP", 0}, {"BACKGROUND", 1}}, {"Drop Alpha", "Over Background"}},
    }};
    return tables;
}

// The meaningful compression codes of each format, in code order: word and label.
struct Compression {
    const char* ext;
    std::initializer_list<Word> words;
    std::initializer_list<const char*> labels;
};

const std::array<Compression, 5>& CompressionLists() {
    static const std::array<Compression, 5> lists{{
        {"bmp", {{"NONE", 0}, {"RLE", 1}}, {"None", "RLE"}},
        {"exr",
         {{"NONE", 0}, {"ZIP", 1}, {"PIZ", 2}, {"PXR24", 3}, {"B44", 4}},
         {"None", "ZIP", "PIZ", "PXR24", "B44"}},
        {"png",
         {{"NONE", 0}, {"ZLIB1", 1}, {"ZLIB6", 2}, {"ZLIB9", 3}},
         {"None", "ZLIB1", "ZLIB6", "ZLIB9"}},
        {"tga", {{"NONE", 0}, {"RLE", 1}}, {"None", "RLE"}},
        {"tiff",
         {{"NONE", 0},
          {"CCITTFAX3", 1},
          {"CCITTFAX4", 2},
          {"PACKBITS", 3},
          {"DEFLATE", 4},
          {"ADOBEDEFLATE", 5},
          {"LZW", 6},
          {"JPEG", 7},
          {"LOGLUV", 8}},
         {"None", "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE", "ADOBEDEFLATE", "LZW", "JPEG",
          "LOGLUV"}},
    }};
    return lists;
}

const Compression* CompressionFor(const QString& extension) {
    for (const Compression& c : CompressionLists())
        if (extension == QLatin1String(c.ext)) return &c;
    return nullptr;
}

const Table* TableOf(VocabularyKind kind) {
    const int index = int(kind);
    return index >= 0 && index < kVocabularyKinds ? &Tables()[size_t(index)] : nullptr;
}

} // namespace

int32_t WordToCode(VocabularyKind kind, const QString& word) {
    const Table* table = TableOf(kind);
    if (!table || kind == VocabularyKind::Frame || kind == VocabularyKind::Watermark) return 0;
    const QString upper = word.toUpper();
    // A compression word of any format is accepted, whatever the output format.
    if (kind == VocabularyKind::Compression) {
        for (const Compression& list : CompressionLists())
            for (const Word& w : list.words)
                if (upper == QLatin1String(w.word)) return w.code;
        return 0;
    }
    for (const Word& w : table->words)
        if (upper == QLatin1String(w.word)) return w.code;
    return 0;
}

QString CodeToWord(VocabularyKind kind, int32_t code, const QString& extension) {
    const Table* table = TableOf(kind);
    if (!table) return QString();
    if (kind == VocabularyKind::Compression) {
        const Compression* list = CompressionFor(extension);
        if (!list) return QString();
        for (const Word& w : list->words)
            if (w.code == code) return QString::fromLatin1(w.word);
        return QString();
    }
    for (const Word& w : table->words)
        if (w.code == code) return QString::fromLatin1(w.word);
    return QString();
}

QStringList Words(VocabularyKind kind) {
    QStringList words;
    auto add = [&words](const std::initializer_list<Word>& list) {
        for (const Word& w : list)
            if (!words.contains(QLatin1String(w.word))) words << QString::fromLatin1(w.word);
    };
    if (kind == VocabularyKind::Compression)
        for (const Compression& list : CompressionLists())
            add(list.words);
    else if (const Table* table = TableOf(kind))
        add(table->words);
    return words;
}

QStringList DialogLabelKeys(VocabularyKind kind, const QString& extension) {
    QStringList keys;
    const Table* table = TableOf(kind);
    if (!table) return keys;
    if (kind == VocabularyKind::Compression) {
        if (const Compression* list = CompressionFor(extension))
            for (const char* label : list->labels)
                keys << QString::fromLatin1(label);
        return keys;
    }
    for (const char* label : table->labels)
        keys << QString::fromLatin1(label);
    return keys;
}

QString BppList(const QString& extension) {
    return OutputFormat(extension).bppList;
}

bool IsBppAllowed(const QString& extension, int32_t bpp) {
    if (bpp == 0) return true;
    const QString list = BppList(extension);
    for (QStringView entry : QStringView(list).split(QLatin1Char(','))) {
        if (entry.toInt() == bpp) return true;
    }
    return false;
}

} // namespace tarvix
