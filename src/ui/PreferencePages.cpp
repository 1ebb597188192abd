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

// A drop-down of the setting's own word list, in the labels the vocabulary
// gives its codes (a compression's list is its format's).
PreferenceRow Choice(const char* caption, const char* group, const char* key) {
    PreferenceRow row = Row(caption, K::Combo, group, key);
    const SettingDef* def = FindSetting(QString::fromLatin1(group), QString::fromLatin1(key));
    Q_ASSERT(def && def->vocabulary != VocabularyKind::None);
    row.words = def->vocabulary;
    row.format = def->formatExt;
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
         {{"dds",
           230,
           {Choice("Load As", IN, "DDS Load As"), Slider("Mip Level", IN, "DDS Mip Level"),
            Slider("Layer", IN, "DDS Layer"), Choice("Cube Layout", IN, "DDS Cube Layout"),
            Choice("Normal Map", IN, "DDS Normal Map"), Choice("Alpha", IN, "DDS Alpha"),
            Row("Background Color", K::Colour, IN, "DDS Background")}},
          {"gif", 0, {Choice("Frame Loading", IN, "GIF Frame Loading")}},
          {"ico", 0, {Choice("Frame Loading", IN, "ICO Frame Loading")}},
          {"raw",
           0,
           {Choice("Load As", IN, "RAW Load As"),
            Number("Header Size", IN, "RAW Header Size", "Bytes"), rawWidth,
            Number("Image Height", IN, "RAW Image Height", "Pixels"),
            Choice("Tone Mapping", IN, "RAW Tone Mapping")}},
          {"tiff", 0, {Choice("Frame Loading", IN, "TIFF Frame Loading")}}}});

    std::vector<PreferenceArea> outputs = {
        OutputArea("bmp", "BMP BPP",
                   {Choice("Compression", OUT, "BMP Compression"),
                    Choice("Color Table", OUT, "BMP Color Table")}),
        OutputArea("dds", "DDS BPP", {}),
        OutputArea("exr", "EXR BPP", {Choice("Compression", OUT, "EXR Compression")}),
        OutputArea("gif", "GIF BPP", {}),
        OutputArea("hdr", "HDR BPP", {}),
        OutputArea("ico", "ICO BPP", {}),
        OutputArea("j2k", "J2K BPP", {}),
        OutputArea("jng", "JNG BPP", {}),
        OutputArea("jp2", "JP2 BPP", {}),
        OutputArea("jpg", "JPG BPP",
                   {Slider("Image Quality", OUT, "JPG Quality"),
                    Choice("Chroma Subsampling", OUT, "JPG Chroma"),
                    Choice("Save As", OUT, "JPG Save As")}),
        OutputArea("jxr", "JXR BPP", {}),
        OutputArea("pbm", "PBM BPP", {}),
        OutputArea("pcx", "PCX BPP", {Items("Compression", nullptr, nullptr, {"RLE"})}),
        OutputArea("pfm", "PFM BPP", {}),
        OutputArea("pgm", "PGM BPP", {}),
        OutputArea("png", "PNG BPP",
                   {Choice("Compression", OUT, "PNG Compression"),
                    Row("Interlaced", K::Check, OUT, "PNG Interlaced")}),
        OutputArea("ppm", "PPM BPP", {}),
        OutputArea("psd", "PSD BPP", {}),
        OutputArea("tga", "TGA BPP", {Choice("Compression", OUT, "TGA Compression")}),
        OutputArea("tiff", "TIFF BPP",
                   {Choice("Compression", OUT, "TIFF Compression"),
                    Choice("Color Model", OUT, "TIFF Color Model")}),
        OutputArea("wbmp", "WBMP BPP", {}),
        OutputArea("webp", "WEBP BPP", {}),
        OutputArea("xpm", "XPM BPP", {}),
    };
    pages.push_back({"Output",
                     0,
                     {Special("Output Format", OUT, "Format", RowSpecial::OutputFormat)},
                     std::move(outputs)});

    PreferenceRow width = Row("Image Width", K::NumberUnit, TR, "Image Width");
    width.unitKey = "Image Width Unit";
    PreferenceRow height = Row("Image Height", K::NumberUnit, TR, "Image Height");
    height.unitKey = "Image Height Unit";
    pages.push_back({"Transform",
                     375,
                     {Row("Image Rotation", K::Check, TR, "Do Image Rotation"),
                      Choice("Rotation Type", TR, "Image Rotation Type"),
                      Slider("Rotation Angle", TR, "Image Rotation"),
                      Row("Background Color", K::Colour, TR, "Image Rotation Back Color"),
                      Row("Image Resize", K::Check, TR, "Do Image Resize"), width, height,
                      Row("Keep Aspect Ratio", K::Check, TR, "Keep Aspect Ratio"),
                      Choice("Resize Type", TR, "Image Resize Type"),
                      Choice("Resize Algorithm", TR, "Image Resize Algorithm"),
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
         {Choice("Frame Type", FR, "Do Frame")},
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
    pages.push_back(
        {"Watermark",
         0,
         {Choice("Watermark Type", WM, "Do Watermark")},
         {{"text",
           610,
           {Row("Text", K::Edit, WM, "Text"),
            Row("Font", K::FontChooser, WM, "Font"),
            Number("Font Size", WM, "Font Size", "Points"),
            Number("Font Leading", WM, "Font Leading", "Pixels"),
            Row("Font Color", K::ColourList, WM, "Font Color"),
            Choice("Font Style", WM, "Font Style"),
            Choice("Font Effect", WM, "Font Effect"),
            Row("Antialiasing", K::Check, WM, "Text Antialiasing"),
            Choice("Text Alignment", WM, "Text Alignment"),
            Number("Text Padding", WM, "Text Padding", "Pixels"),
            Slider("Text Opacity", WM, "Text Opacity"),
            Row("Background Color", K::ColourList, WM, "Back Color"),
            Slider("Background Opacity", WM, "Back Opacity"),
            Choice("Boundary", WM, "Text Boundary"),
            Choice("Position", WM, "Text Position"),
            Number("X-Offset", WM, "Text X Offset", "Pixels"),
            Number("Y-Offset", WM, "Text Y Offset", "Pixels"),
            Slider("Rotation Angle", WM, "Text Rotation"),
            Choice("Size", WM, "Text Size"),
            textScale}},
          {"image",
           310,
           {Row("Image", K::ImageChooser, WM, "Image"),
            Row("Image Greyscale", K::Check, WM, "Image Greyscale"),
            Slider("Opacity", WM, "Image Opacity"), Choice("Boundary", WM, "Image Boundary"),
            Choice("Position", WM, "Image Position"),
            Number("X-Offset", WM, "Image X Offset", "Pixels"),
            Number("Y-Offset", WM, "Image Y Offset", "Pixels"),
            Slider("Rotation Angle", WM, "Image Rotation"), Choice("Size", WM, "Image Size"),
            imageScale}}}});

    pages.push_back({"Advanced",
                     0,
                     {Row("Filename Mask", K::Edit, AV, "Filename Mask"),
                      Choice("File Timestamp", AV, "File Timestamp"),
                      Row("Custom Timestamp", K::DateTime, AV, "Custom Timestamp"),
                      Items("Out Folders History", AV, "Out Folders History",
                            {"Clean On Exit", "Keep Folders"}),
                      Slider("Out Folders Number", AV, "Out Folders Number"),
                      Row("Keep Subfolders", K::Check, AV, "Keep Subfolders")},
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
