#include "ui/PreferencePages.h"

#include "settings/SettingsTable.h"

#include <cmath>

namespace tarvix {
namespace {

using K = RowKind;
using V = VocabularyKind;

constexpr const char* G = "General";
constexpr const char* UI = "Interface";
constexpr const char* IN = "Input";
constexpr const char* OUT = "Output";
constexpr const char* TR = "Transform";
constexpr const char* AD = "Adjustment";
constexpr const char* FR = "Frame";
constexpr const char* WM = "Watermark";
constexpr const char* AV = "Advanced";

PreferenceRow Row(const char* caption, RowKind kind, const char* group, const char* key) {
    PreferenceRow row;
    row.caption = caption;
    row.kind = kind;
    row.group = group;
    row.key = key;
    return row;
}

PreferenceRow Words(const char* caption, const char* group, const char* key, VocabularyKind kind) {
    PreferenceRow row = Row(caption, K::Combo, group, key);
    row.words = kind;
    return row;
}

PreferenceRow Items(const char* caption, const char* group, const char* key,
                    std::vector<const char*> items) {
    PreferenceRow row = Row(caption, K::Combo, group, key);
    row.items = std::move(items);
    return row;
}

PreferenceRow Number(const char* caption, const char* group, const char* key, const char* unit) {
    PreferenceRow row = Row(caption, K::Number, group, key);
    row.items = {unit};
    return row;
}

// The range is the setting's own, so the dialog offers exactly what a loaded
// config.ini is held to; gamma is edited in hundredths.
PreferenceRow Slider(const char* caption, const char* group, const char* key,
                     SliderScale scale = SliderScale::Plain) {
    PreferenceRow row = Row(caption, K::Slider, group, key);
    const SettingDef* def = FindSetting(QString::fromLatin1(group), QString::fromLatin1(key));
    Q_ASSERT(def && def->ranged);
    const double factor = scale == SliderScale::Gamma ? 100.0 : 1.0;
    row.minimum = int(std::lround(def->minimum * factor));
    row.maximum = int(std::lround(def->maximum * factor));
    row.scale = scale;
    return row;
}

PreferenceRow Special(const char* caption, const char* group, const char* key, RowSpecial special) {
    PreferenceRow row = Row(caption, K::Combo, group, key);
    row.special = special;
    return row;
}

PreferenceArea OutputArea(const char* ext, const char* bppKey, std::vector<PreferenceRow> more) {
    PreferenceRow bpp = Special("Bits Per Pixel", OUT, bppKey, RowSpecial::Bpp);
    bpp.format = ext;
    std::vector<PreferenceRow> rows{bpp};
    for (PreferenceRow& r : more)
        rows.push_back(std::move(r));
    return {QString::fromLatin1(ext), 0, std::move(rows)};
}

std::vector<PreferencePage> BuildPages() {
    std::vector<PreferencePage> pages;

    pages.push_back({"General",
                     0,
                     {Special("Language", G, "Language", RowSpecial::Language),
                      Items("Check For Updates", G, "Update Range",
                            {"Every day", "Every week", "Every month", "Every 3 months",
                             "Every 6 months", "Never"}),
                      Row("Save window position", K::Check, G, "Save Window Position")},
                     {}});

    pages.push_back({"Interface",
                     0,
                     {Special("UI Theme", UI, "UI Theme", RowSpecial::Theme),
                      Items("UI Size", UI, "UI Size", {"Small", "Medium", "Large"})},
                     {}});

    PreferenceRow rawWidth = Number("Image Width", IN, "RAW Image Width", "Pixels");
    pages.push_back(
        {"Input",
         0,
         {Special("Input Format", IN, "Format", RowSpecial::InputFormat)},
         {{"dds", 0, {Words("Load As", IN, "DDS Load As", V::DdsLoadAs)}},
          {"gif", 0, {Words("Frame Loading", IN, "GIF Frame Loading", V::FrameLoading)}},
          {"ico", 0, {Words("Frame Loading", IN, "ICO Frame Loading", V::FrameLoading)}},
          {"raw",
           0,
           {Words("Load As", IN, "RAW Load As", V::RawLoadAs),
            Number("Header Size", IN, "RAW Header Size", "Bytes"), rawWidth,
            Number("Image Height", IN, "RAW Image Height", "Pixels"),
            Words("Tone Mapping", IN, "RAW Tone Mapping", V::RawToneMapping)}},
          {"tiff", 0, {Words("Frame Loading", IN, "TIFF Frame Loading", V::FrameLoading)}}}});

    std::vector<PreferenceArea> outputs = {
        OutputArea("bmp", "BMP BPP",
                   {Items("Compression", OUT, "BMP Compression", {"None", "RLE"}),
                    Items("Color Table", OUT, "BMP Color Table", {"Auto", "Exact"})}),
        OutputArea("dds", "DDS BPP", {}),
        OutputArea(
            "exr", "EXR BPP",
            {Items("Compression", OUT, "EXR Compression", {"None", "ZIP", "PIZ", "PXR24", "B44"})}),
        OutputArea("gif", "GIF BPP", {}),
        OutputArea("hdr", "HDR BPP", {}),
        OutputArea("ico", "ICO BPP", {}),
        OutputArea("j2k", "J2K BPP", {}),
        OutputArea("jng", "JNG BPP", {}),
        OutputArea("jp2", "JP2 BPP", {}),
        OutputArea(
            "jpg", "JPG BPP",
            {Slider("Image Quality", OUT, "JPG Quality"),
             Items("Chroma Subsampling", OUT, "JPG Chroma", {"None", "Low", "Medium", "High"}),
             Items("Save As", OUT, "JPG Save As",
                   {"Baseline Standard", "Baseline Simple", "Baseline Optimized", "Progressive"})}),
        OutputArea("jxr", "JXR BPP", {}),
        OutputArea("pbm", "PBM BPP", {}),
        OutputArea("pcx", "PCX BPP", {Items("Compression", nullptr, nullptr, {"RLE"})}),
        OutputArea("pfm", "PFM BPP", {}),
        OutputArea("pgm", "PGM BPP", {}),
        OutputArea(
            "png", "PNG BPP",
            {Items("Compression", OUT, "PNG Compression", {"None", "ZLIB1", "ZLIB6", "ZLIB9"}),
             Row("Interlaced", K::Check, OUT, "PNG Interlaced")}),
        OutputArea("ppm", "PPM BPP", {}),
        OutputArea("psd", "PSD BPP", {}),
        OutputArea("tga", "TGA BPP",
                   {Items("Compression", OUT, "TGA Compression", {"None", "RLE"})}),
        OutputArea("tiff", "TIFF BPP",
                   {Items("Compression", OUT, "TIFF Compression",
                          {"None", "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE", "ADOBEDEFLATE",
                           "LZW", "JPEG", "LOGLUV"}),
                    Items("Color Model", OUT, "TIFF Color Model", {"RGB", "CMYK"})}),
        OutputArea("wbmp", "WBMP BPP", {}),
        OutputArea("webp", "WEBP BPP", {}),
        OutputArea("xpm", "XPM BPP", {}),
    };
    pages.push_back({"Output",
                     0,
                     {Special("Output Format", OUT, "Format", RowSpecial::OutputFormat)},
                     std::move(outputs)});

    PreferenceRow width = Row("Image Width", K::NumberUnit, TR, "Image Width");
    width.items = {"Pixels", "Percent"};
    width.unitKey = "Image Width Unit";
    PreferenceRow height = Row("Image Height", K::NumberUnit, TR, "Image Height");
    height.items = {"Pixels", "Percent"};
    height.unitKey = "Image Height Unit";
    pages.push_back({"Transform",
                     375,
                     {Row("Image Rotation", K::Check, TR, "Do Image Rotation"),
                      Words("Rotation Type", TR, "Image Rotation Type", V::RotationType),
                      Slider("Rotation Angle", TR, "Image Rotation"),
                      Row("Background Color", K::Colour, TR, "Image Rotation Back Color"),
                      Row("Image Resize", K::Check, TR, "Do Image Resize"), width, height,
                      Row("Keep Aspect Ratio", K::Check, TR, "Keep Aspect Ratio"),
                      Words("Resize Type", TR, "Image Resize Type", V::ResizeType),
                      Words("Resize Algorithm", TR, "Image Resize Algorithm", V::ResizeAlgorithm),
                      Row("Image Flip Horizontal", K::Check, TR, "Do Image Flip Horizontal"),
                      Row("Image Flip Vertical", K::Check, TR, "Do Image Flip Vertical")},
                     {}});

    pages.push_back({"Adjustment",
                     0,
                     {Slider("Image Brightness", AD, "Image Brightness", SliderScale::Offset100),
                      Slider("Image Contrast", AD, "Image Contrast", SliderScale::Offset100),
                      Slider("Image Gamma", AD, "Image Gamma", SliderScale::Gamma),
                      Row("Image Invert", K::Check, AD, "Image Invert"),
                      Row("Image Greyscale", K::Check, AD, "Do Image Greyscale"),
                      Row("Image Threshold", K::Check, AD, "Do Image Threshold"),
                      Slider("Threshold Level", AD, "Image Threshold")},
                     {}});

    pages.push_back(
        {"Frame",
         0,
         {Items("Frame Type", FR, "Do Frame", {"None", "Frame Solid"})},
         {{"solid",
           310,
           {Number("Left", FR, "Solid Left", "Pixels"),
            Number("Right", FR, "Solid Right", "Pixels"), Number("Top", FR, "Solid Top", "Pixels"),
            Number("Bottom", FR, "Solid Bottom", "Pixels"),
            Row("Left Color", K::Colour, FR, "Solid Left Color"),
            Row("Right Color", K::Colour, FR, "Solid Right Color"),
            Row("Top Color", K::Colour, FR, "Solid Top Color"),
            Row("Bottom Color", K::Colour, FR, "Solid Bottom Color"),
            Slider("Opacity", FR, "Solid Opacity")}}}});

    PreferenceRow textScale = Slider("Scale", WM, "Text Scale");
    textScale.hidden = true;
    PreferenceRow imageScale = Slider("Scale", WM, "Image Scale");
    imageScale.hidden = true;
    pages.push_back({"Watermark",
                     0,
                     {Items("Watermark Type", WM, "Do Watermark",
                            {"None", "Watermark Text", "Watermark Image"})},
                     {{"text",
                       610,
                       {Row("Text", K::Edit, WM, "Text"),
                        Row("Font", K::FontChooser, WM, "Font"),
                        Number("Font Size", WM, "Font Size", "Points"),
                        Number("Font Leading", WM, "Font Leading", "Pixels"),
                        Row("Font Color", K::ColourList, WM, "Font Color"),
                        Words("Font Style", WM, "Font Style", V::FontStyle),
                        Words("Font Effect", WM, "Font Effect", V::FontEffect),
                        Row("Antialiasing", K::Check, WM, "Text Antialiasing"),
                        Words("Text Alignment", WM, "Text Alignment", V::TextAlignment),
                        Number("Text Padding", WM, "Text Padding", "Pixels"),
                        Slider("Text Opacity", WM, "Text Opacity"),
                        Row("Background Color", K::ColourList, WM, "Back Color"),
                        Slider("Background Opacity", WM, "Back Opacity"),
                        Words("Boundary", WM, "Text Boundary", V::Boundary),
                        Words("Position", WM, "Text Position", V::Position),
                        Number("X-Offset", WM, "Text X Offset", "Pixels"),
                        Number("Y-Offset", WM, "Text Y Offset", "Pixels"),
                        Slider("Rotation Angle", WM, "Text Rotation"),
                        Words("Size", WM, "Text Size", V::WatermarkSize),
                        textScale}},
                      {"image",
                       310,
                       {Row("Image", K::ImageChooser, WM, "Image"),
                        Row("Image Greyscale", K::Check, WM, "Image Greyscale"),
                        Slider("Opacity", WM, "Image Opacity"),
                        Words("Boundary", WM, "Image Boundary", V::Boundary),
                        Words("Position", WM, "Image Position", V::Position),
                        Number("X-Offset", WM, "Image X Offset", "Pixels"),
                        Number("Y-Offset", WM, "Image Y Offset", "Pixels"),
                        Slider("Rotation Angle", WM, "Image Rotation"),
                        Words("Size", WM, "Image Size", V::WatermarkSize), imageScale}}}});

    PreferenceRow keepSubfolders = Row("Keep Subfolders", K::Check, AV, "Keep Subfolders");
    keepSubfolders.hidden = true;
    pages.push_back({"Advanced",
                     0,
                     {Row("Filename Mask", K::Edit, AV, "Filename Mask"),
                      Words("File Timestamp", AV, "File Timestamp", V::FileTimestamp),
                      Row("Custom Timestamp", K::DateTime, AV, "Custom Timestamp"),
                      Items("Out Folders History", AV, "Out Folders History",
                            {"Clean On Exit", "Keep Folders"}),
                      Slider("Out Folders Number", AV, "Out Folders Number"), keepSubfolders},
                     {}});
    return pages;
}

} // namespace

QString PreferenceRow::Id() const {
    if (!group || !key) return QStringLiteral("Row/") + QString::fromLatin1(caption ? caption : "");
    return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromLatin1(key);
}

const std::vector<PreferencePage>& PreferencePages() {
    static const std::vector<PreferencePage> pages = BuildPages();
    return pages;
}

} // namespace tarvix
