#include "settings/SettingsTable.h"

#include "settings/Vocabulary.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvix {

SettingDef SettingDef::opt(const char* name) const {
    SettingDef d = *this;
    d.option = name;
    d.optionKind = OptionKind::Value;
    return d;
}

SettingDef SettingDef::flagOpt(const char* name, OptionKind kind) const {
    SettingDef d = *this;
    d.option = name;
    d.optionKind = kind;
    return d;
}

SettingDef SettingDef::words(VocabularyKind kind) const {
    SettingDef d = *this;
    d.vocabulary = kind;
    return d;
}

SettingDef SettingDef::also(const char* key, int value) const {
    SettingDef d = *this;
    d.companionKey = key;
    d.companionValue = value;
    return d;
}

SettingDef SettingDef::ext(const char* extension) const {
    SettingDef d = *this;
    d.formatExt = extension;
    return d;
}

SettingDef SettingDef::profileAs(const char* name) const {
    SettingDef d = *this;
    d.profileKey = name;
    return d;
}

SettingDef SettingDef::range(double low, double high) const {
    SettingDef d = *this;
    d.ranged = true;
    d.minimum = low;
    d.maximum = high;
    return d;
}

SettingDef SettingDef::echoAs(const char* label) const {
    SettingDef d = *this;
    d.echo = label;
    return d;
}

SettingDef SettingDef::forRunOnly() const {
    SettingDef d = *this;
    d.runOnly = true;
    return d;
}

namespace {

SettingDef Byte(const char* group, const char* key, int8_t Settings::*field, FieldType type,
                int def) {
    SettingDef d;
    d.group = group;
    d.key = key;
    d.type = type;
    d.field = field;
    d.defaultNumber = def;
    return d;
}

SettingDef Flag(const char* group, const char* key, int8_t Settings::*field, int def) {
    return Byte(group, key, field, FieldType::Flag, def);
}

SettingDef Code(const char* group, const char* key, int8_t Settings::*field, int def,
                VocabularyKind kind) {
    return Byte(group, key, field, FieldType::SmallCode, def).words(kind);
}

SettingDef Int(const char* group, const char* key, int32_t Settings::*field, int32_t def,
               DefaultKind kind = DefaultKind::Fixed) {
    SettingDef d;
    d.group = group;
    d.key = key;
    d.type = FieldType::Integer;
    d.field = field;
    d.defaultNumber = def;
    d.defaultKind = kind;
    return d;
}

SettingDef Real(const char* group, const char* key, float Settings::*field, float def) {
    SettingDef d;
    d.group = group;
    d.key = key;
    d.type = FieldType::Real;
    d.field = field;
    d.defaultReal = def;
    return d;
}

SettingDef Text(const char* group, const char* key, QString Settings::*field, const char* def,
                DefaultKind kind = DefaultKind::Fixed) {
    SettingDef d;
    d.group = group;
    d.key = key;
    d.type = FieldType::Text;
    d.field = field;
    d.defaultText = def;
    d.defaultKind = kind;
    return d;
}

// A per-format bits-per-pixel setting with its "--XXX-BPP" option.
SettingDef Bpp(const char* key, int32_t Settings::*field, const char* ext, const char* option) {
    return Int("Output", key, field, 0).ext(ext).opt(option);
}

constexpr const char* kColors = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";

using S = Settings;

std::vector<SettingDef> BuildTable() {
    const char* G = "General";
    const char* W = "Window";
    const char* UI = "Interface";
    const char* IN = "Input";
    const char* OUT = "Output";
    const char* TR = "Transform";
    const char* AD = "Adjustment";
    const char* FR = "Frame";
    const char* WM = "Watermark";
    const char* AV = "Advanced";
    return {
        Int(G, "CFG", &S::cfg, 17),
        Text(G, "Language", &S::language, "en"),
        Int(G, "Update Range", &S::updateRange, 2).range(0, 5),
        Int(G, "Update Date", &S::updateDate, 0, DefaultKind::Now),
        Flag(G, "Save Window Position", &S::saveWindowPosition, 1),

        Flag(W, "IsMaximized", &S::isMaximized, 0),
        Int(W, "Width", &S::width, 510),
        Int(W, "Height", &S::height, 260),
        Int(W, "X", &S::x, 100, DefaultKind::CentredX),
        Int(W, "Y", &S::y, 100, DefaultKind::CentredY),

        Text(UI, "UI Theme", &S::uiTheme, "handdrawn"),
        Int(UI, "UI Size", &S::uiSize, 2).range(0, 2),

        Text(IN, "Format", &S::inputFormat, "", DefaultKind::FirstInput),
        Int(IN, "DDS Load As", &S::ddsLoadAs, 0)
            .ext("dds")
            .opt("--DDS-LOAD-AS")
            .words(VocabularyKind::DdsLoadAs),
        // Which picture of a texture, and what becomes of its channels.
        Int(IN, "DDS Mip Level", &S::ddsMipLevel, 0).ext("dds").opt("--DDS-MIP").range(0, 15),
        Int(IN, "DDS Layer", &S::ddsLayer, 0).ext("dds").opt("--DDS-LAYER").range(0, 2047),
        Code(IN, "DDS Cube Layout", &S::ddsCubeLayout, 0, VocabularyKind::DdsCube)
            .ext("dds")
            .opt("--DDS-CUBE"),
        Code(IN, "DDS Normal Map", &S::ddsNormalMap, 0, VocabularyKind::DdsNormalMap)
            .ext("dds")
            .opt("--DDS-NORMAL-MAP"),
        Code(IN, "DDS Alpha", &S::ddsAlpha, 0, VocabularyKind::DdsAlpha)
            .ext("dds")
            .opt("--DDS-ALPHA"),
        Text(IN, "DDS Background", &S::ddsBackground, "FFFFFF").ext("dds").opt("--DDS-BACKGROUND"),
        Int(IN, "GIF Frame Loading", &S::gifFrameLoading, 0)
            .ext("gif")
            .opt("--GIF-FRAME-LOADING")
            .words(VocabularyKind::FrameLoading),
        Int(IN, "ICO Frame Loading", &S::icoFrameLoading, 0)
            .ext("ico")
            .opt("--ICO-FRAME-LOADING")
            .words(VocabularyKind::FrameLoading),
        Int(IN, "RAW Load As", &S::rawLoadAs, 0)
            .ext("raw")
            .opt("--RAW-LOAD-AS")
            .words(VocabularyKind::RawLoadAs),
        Int(IN, "RAW Header Size", &S::rawHeaderSize, 0).ext("raw").opt("--RAW-HEADER-SIZE"),
        Int(IN, "RAW Image Width", &S::rawImageWidth, 0).ext("raw").opt("--RAW-WIDTH"),
        Int(IN, "RAW Image Height", &S::rawImageHeight, 0).ext("raw").opt("--RAW-HEIGHT"),
        Int(IN, "RAW Tone Mapping", &S::rawToneMapping, 2)
            .ext("raw")
            .opt("--RAW-TONE-MAPPING")
            .words(VocabularyKind::RawToneMapping),
        Int(IN, "TIFF Frame Loading", &S::tiffFrameLoading, 0)
            .ext("tiff")
            .opt("--TIFF-FRAME-LOADING")
            .words(VocabularyKind::FrameLoading),

        Text(OUT, "Format", &S::outputFormat, "", DefaultKind::FirstOutput),
        Bpp("BMP BPP", &S::bmpBpp, "bmp", "--BMP-BPP"),
        Int(OUT, "BMP Compression", &S::bmpCompression, 0)
            .ext("bmp")
            .opt("--BMP-COMPRESSION")
            .words(VocabularyKind::Compression),
        Int(OUT, "BMP Color Table", &S::bmpColorTable, 0)
            .ext("bmp")
            .opt("--BMP-COLOR-TABLE")
            .words(VocabularyKind::BmpColorTable),
        Bpp("DDS BPP", &S::ddsBpp, "dds", "--DDS-BPP"),
        Bpp("EXR BPP", &S::exrBpp, "exr", "--EXR-BPP"),
        Int(OUT, "EXR Compression", &S::exrCompression, 0)
            .ext("exr")
            .opt("--EXR-COMPRESSION")
            .words(VocabularyKind::Compression),
        Bpp("GIF BPP", &S::gifBpp, "gif", "--GIF-BPP"),
        Bpp("HDR BPP", &S::hdrBpp, "hdr", "--HDR-BPP"),
        Bpp("ICO BPP", &S::icoBpp, "ico", "--ICO-BPP"),
        Bpp("J2K BPP", &S::j2kBpp, "j2k", "--J2K-BPP"),
        Bpp("JNG BPP", &S::jngBpp, "jng", "--JNG-BPP"),
        Bpp("JP2 BPP", &S::jp2Bpp, "jp2", "--JP2-BPP"),
        Bpp("JPG BPP", &S::jpgBpp, "jpg", "--JPG-BPP"),
        Int(OUT, "JPG Quality", &S::jpgQuality, 95).ext("jpg").opt("--JPG-QUALITY").range(1, 100),
        Int(OUT, "JPG Chroma", &S::jpgChroma, 0)
            .ext("jpg")
            .opt("--JPG-CHROMA")
            .words(VocabularyKind::JpgChroma)
            .echoAs("JPG Chroma Subsampling: "),
        Int(OUT, "JPG Save As", &S::jpgSaveAs, 0)
            .ext("jpg")
            .opt("--JPG-SAVE-AS")
            .words(VocabularyKind::JpgSaveAs),
        Bpp("JXR BPP", &S::jxrBpp, "jxr", "--JXR-BPP"),
        Bpp("PBM BPP", &S::pbmBpp, "pbm", "--PBM-BPP"),
        Bpp("PCX BPP", &S::pcxBpp, "pcx", "--PCX-BPP"),
        Bpp("PFM BPP", &S::pfmBpp, "pfm", "--PFM-BPP"),
        Bpp("PGM BPP", &S::pgmBpp, "pgm", "--PGM-BPP"),
        Bpp("PNG BPP", &S::pngBpp, "png", "--PNG-BPP"),
        Int(OUT, "PNG Compression", &S::pngCompression, 0)
            .ext("png")
            .opt("--PNG-COMPRESSION")
            .words(VocabularyKind::Compression),
        Flag(OUT, "PNG Interlaced", &S::pngInterlaced, 0).ext("png").flagOpt("--PNG-INTERLACED"),
        Bpp("PPM BPP", &S::ppmBpp, "ppm", "--PPM-BPP"),
        Bpp("PSD BPP", &S::psdBpp, "psd", "--PSD-BPP"),
        Bpp("TGA BPP", &S::tgaBpp, "tga", "--TGA-BPP"),
        Int(OUT, "TGA Compression", &S::tgaCompression, 0)
            .ext("tga")
            .opt("--TGA-COMPRESSION")
            .words(VocabularyKind::Compression),
        Bpp("TIFF BPP", &S::tiffBpp, "tiff", "--TIFF-BPP"),
        Int(OUT, "TIFF Compression", &S::tiffCompression, 0)
            .ext("tiff")
            .opt("--TIFF-COMPRESSION")
            .words(VocabularyKind::Compression),
        Int(OUT, "TIFF Color Model", &S::tiffColorModel, 0)
            .ext("tiff")
            .opt("--TIFF-COLOR-MODEL")
            .words(VocabularyKind::TiffColorModel),
        Bpp("WBMP BPP", &S::wbmpBpp, "wbmp", "--WBMP-BPP"),
        Bpp("WEBP BPP", &S::webpBpp, "webp", "--WEBP-BPP"),
        Bpp("XPM BPP", &S::xpmBpp, "xpm", "--XPM-BPP"),

        Flag(TR, "Do Image Rotation", &S::doImageRotation, 0),
        Code(TR, "Image Rotation Type", &S::imageRotationType, 0, VocabularyKind::RotationType)
            .opt("--ROTATION-TYPE"),
        Int(TR, "Image Rotation", &S::imageRotation, 0)
            .opt("--ROTATION")
            .range(0, 360)
            .also("Do Image Rotation", 1),
        Text(TR, "Image Rotation Back Color", &S::imageRotationBackColor, "000000")
            .opt("--ROTATION-BACK-COLOR"),
        Flag(TR, "Do Image Resize", &S::doImageResize, 0),
        Int(TR, "Image Width", &S::imageWidth, 0)
            .opt("--WIDTH")
            .also("Do Image Resize", 1)
            .echoAs("Width: "),
        Code(TR, "Image Width Unit", &S::imageWidthUnit, 0, VocabularyKind::SizeUnit)
            .opt("--WIDTH-UNIT"),
        Int(TR, "Image Height", &S::imageHeight, 0)
            .opt("--HEIGHT")
            .also("Do Image Resize", 1)
            .echoAs("Height: "),
        Code(TR, "Image Height Unit", &S::imageHeightUnit, 0, VocabularyKind::SizeUnit)
            .opt("--HEIGHT-UNIT"),
        [] {
            SettingDef d = Flag("Transform", "Keep Aspect Ratio", &S::keepAspectRatio, 1)
                               .flagOpt("--KEEP-ASPECT-RATIO");
            d.defaultKind = DefaultKind::KeepAspect;
            return d;
        }(),
        Code(TR, "Image Resize Type", &S::imageResizeType, 0, VocabularyKind::ResizeType)
            .opt("--RESIZE-TYPE"),
        Code(TR, "Image Resize Algorithm", &S::imageResizeAlgorithm, 3,
             VocabularyKind::ResizeAlgorithm)
            .opt("--RESIZE-ALGORITHM"),
        Flag(TR, "Do Image Flip Horizontal", &S::doImageFlipHorizontal, 0)
            .flagOpt("--FLIP-HORIZONTAL")
            .echoAs("Flip Horizontal: "),
        Flag(TR, "Do Image Flip Vertical", &S::doImageFlipVertical, 0)
            .flagOpt("--FLIP-VERTICAL")
            .echoAs("Flip Vertical: "),

        Flag(AD, "Do Image Color Correction", &S::doImageColorCorrection, 0),
        Int(AD, "Image Brightness", &S::imageBrightness, 0)
            .opt("--BRIGHTNESS")
            .range(-100, 100)
            .also("Do Image Color Correction", 1)
            .echoAs("Brightness: "),
        Int(AD, "Image Contrast", &S::imageContrast, 0)
            .opt("--CONTRAST")
            .range(-100, 100)
            .also("Do Image Color Correction", 1)
            .echoAs("Contrast: "),
        Real(AD, "Image Gamma", &S::imageGamma, 1.0f)
            .opt("--GAMMA")
            .range(0.01, 9.99)
            .also("Do Image Color Correction", 1)
            .echoAs("Gamma: "),
        Flag(AD, "Image Invert", &S::imageInvert, 0)
            .flagOpt("--INVERT")
            .also("Do Image Color Correction", 1)
            .echoAs("Invert: "),
        Flag(AD, "Do Image Greyscale", &S::doImageGreyscale, 0)
            .flagOpt("--GREYSCALE")
            .echoAs("Greyscale: "),
        Flag(AD, "Do Image Threshold", &S::doImageThreshold, 0),
        Int(AD, "Image Threshold", &S::imageThreshold, 0)
            .opt("--THRESHOLD")
            .range(0, 255)
            .also("Do Image Threshold", 1),

        Code(FR, "Do Frame", &S::doFrame, 0, VocabularyKind::Frame).echoAs("Frame: "),
        Int(FR, "Solid Left", &S::solidLeft, 0)
            .opt("--FR-SOLID-LEFT")
            .also("Do Frame", 1)
            .echoAs("Frame left: "),
        Int(FR, "Solid Right", &S::solidRight, 0)
            .opt("--FR-SOLID-RIGHT")
            .also("Do Frame", 1)
            .echoAs("Frame right: "),
        Int(FR, "Solid Top", &S::solidTop, 0)
            .opt("--FR-SOLID-TOP")
            .also("Do Frame", 1)
            .echoAs("Frame top: "),
        Int(FR, "Solid Bottom", &S::solidBottom, 0)
            .opt("--FR-SOLID-BOTTOM")
            .also("Do Frame", 1)
            .echoAs("Frame bottom: "),
        Text(FR, "Solid Left Color", &S::solidLeftColor, "000000")
            .opt("--FR-SOLID-LEFT-COLOR")
            .echoAs("Frame left color: "),
        Text(FR, "Solid Right Color", &S::solidRightColor, "000000")
            .opt("--FR-SOLID-RIGHT-COLOR")
            .echoAs("Frame right color: "),
        Text(FR, "Solid Top Color", &S::solidTopColor, "000000")
            .opt("--FR-SOLID-TOP-COLOR")
            .echoAs("Frame top color: "),
        Text(FR, "Solid Bottom Color", &S::solidBottomColor, "000000")
            .opt("--FR-SOLID-BOTTOM-COLOR")
            .echoAs("Frame bottom color: "),
        Int(FR, "Solid Opacity", &S::solidOpacity, 255)
            .opt("--FR-SOLID-OPACITY")
            .range(1, 255)
            .profileAs("--WM-SOLID-OPACITY")
            .echoAs("Frame opacity: "),

        Code(WM, "Do Watermark", &S::doWatermark, 0, VocabularyKind::Watermark)
            .echoAs("Watermark: "),
        Text(WM, "Text", &S::text, "", DefaultKind::Notice)
            .opt("--WM-TEXT")
            .also("Do Watermark", 1)
            .echoAs("Watermark text: "),
        Text(WM, "Fonts", &S::fonts, "Arial,Tahoma,Verdana"),
        Text(WM, "Font", &S::font, "Arial").opt("--WM-FONT").echoAs("Watermark font: "),
        Int(WM, "Font Size", &S::fontSize, 14)
            .opt("--WM-FONT-SIZE")
            .echoAs("Watermark font size: "),
        Int(WM, "Font Leading", &S::fontLeading, 0)
            .opt("--WM-FONT-LEADING")
            .echoAs("Watermark font leading: "),
        Text(WM, "Font Colors", &S::fontColors, kColors),
        Text(WM, "Font Color", &S::fontColor, "FFFFFF")
            .opt("--WM-FONT-COLOR")
            .echoAs("Watermark font color: "),
        Code(WM, "Font Style", &S::fontStyle, 0, VocabularyKind::FontStyle)
            .opt("--WM-FONT-STYLE")
            .echoAs("Watermark font style: "),
        Code(WM, "Font Effect", &S::fontEffect, 0, VocabularyKind::FontEffect)
            .opt("--WM-FONT-EFFECT")
            .echoAs("Watermark font effect: "),
        Flag(WM, "Text Antialiasing", &S::textAntialiasing, 0)
            .flagOpt("--WM-TEXT-ANTIALIASING")
            .echoAs("Watermark text antialiasing: "),
        Code(WM, "Text Alignment", &S::textAlignment, 0, VocabularyKind::TextAlignment)
            .opt("--WM-TEXT-ALIGNMENT")
            .echoAs("Watermark text alignment: "),
        Int(WM, "Text Padding", &S::textPadding, 0)
            .opt("--WM-TEXT-PADDING")
            .echoAs("Watermark text padding: "),
        Int(WM, "Text Opacity", &S::textOpacity, 255)
            .opt("--WM-TEXT-OPACITY")
            .range(1, 255)
            .echoAs("Watermark text opacity: "),
        Text(WM, "Back Colors", &S::backColors, kColors),
        Text(WM, "Back Color", &S::backColor, "000000")
            .opt("--WM-BACK-COLOR")
            .echoAs("Watermark background color: "),
        Int(WM, "Back Opacity", &S::backOpacity, 1)
            .opt("--WM-BACK-OPACITY")
            .range(1, 255)
            .echoAs("Watermark background opacity: "),
        Code(WM, "Text Boundary", &S::textBoundary, 0, VocabularyKind::Boundary)
            .opt("--WM-TEXT-BOUNDARY")
            .echoAs("Watermark boundary: "),
        Code(WM, "Text Position", &S::textPosition, 8, VocabularyKind::Position)
            .opt("--WM-TEXT-POSITION")
            .echoAs("Watermark position: "),
        Int(WM, "Text X Offset", &S::textXOffset, 10)
            .opt("--WM-TEXT-X-OFFSET")
            .echoAs("Watermark offset (x/y): "),
        Int(WM, "Text Y Offset", &S::textYOffset, 10).opt("--WM-TEXT-Y-OFFSET"),
        Int(WM, "Text Rotation", &S::textRotation, 0)
            .opt("--WM-TEXT-ROTATION")
            .range(0, 360)
            .echoAs("Watermark rotation: "),
        Code(WM, "Text Size", &S::textSize, 0, VocabularyKind::WatermarkSize)
            .opt("--WM-TEXT-SIZE")
            .echoAs("Watermark size/mode: "),
        Int(WM, "Text Scale", &S::textScale, 10).range(1, 200),
        Text(WM, "Image", &S::image, "")
            .opt("--WM-IMAGE")
            .also("Do Watermark", 2)
            .echoAs("Watermark image: "),
        Flag(WM, "Image Greyscale", &S::imageGreyscale, 0)
            .flagOpt("--WM-IMAGE-GREYSCALE")
            .echoAs("Watermark greyscale: "),
        Int(WM, "Image Opacity", &S::imageOpacity, 255)
            .opt("--WM-IMAGE-OPACITY")
            .range(1, 255)
            .echoAs("Watermark opacity: "),
        Code(WM, "Image Boundary", &S::imageBoundary, 0, VocabularyKind::Boundary)
            .opt("--WM-IMAGE-BOUNDARY")
            .echoAs("Watermark boundary: "),
        Code(WM, "Image Position", &S::imagePosition, 8, VocabularyKind::Position)
            .opt("--WM-IMAGE-POSITION")
            .echoAs("Watermark position: "),
        Int(WM, "Image X Offset", &S::imageXOffset, 10)
            .opt("--WM-IMAGE-X-OFFSET")
            .echoAs("Watermark offset (x/y): "),
        Int(WM, "Image Y Offset", &S::imageYOffset, 10).opt("--WM-IMAGE-Y-OFFSET"),
        Int(WM, "Image Rotation", &S::watermarkImageRotation, 0)
            .opt("--WM-IMAGE-ROTATION")
            .range(0, 360)
            .echoAs("Watermark rotation: "),
        Code(WM, "Image Size", &S::imageSize, 0, VocabularyKind::WatermarkSize)
            .opt("--WM-IMAGE-SIZE")
            .echoAs("Watermark size/mode: "),
        Int(WM, "Image Scale", &S::imageScale, 10).range(1, 200),

        Text(AV, "Filename Mask", &S::filenameMask, "%filename%.%ext%").opt("--FILENAME-MASK"),
        Code(AV, "File Timestamp", &S::fileTimestamp, 0, VocabularyKind::FileTimestamp)
            .opt("--FILE-TIMESTAMP"),
        Int(AV, "Custom Timestamp", &S::customTimestamp, 0, DefaultKind::Now)
            .opt("--FILE-TIMESTAMP-CUSTOM"),
        Flag(AV, "Out Folders History", &S::outFoldersHistory, 1),
        Byte(AV, "Out Folders Number", &S::outFoldersNumber, FieldType::SmallInt, 5).range(1, 50),
        Flag(AV, "Keep Subfolders", &S::keepSubfolders, 1)
            .flagOpt("--NO-SUBFOLDERS", OptionKind::ClearFlag),

        Text("File", "Recent Out Folders", &S::recentOutFolders, ""),
        Text("File", "Recent Files", &S::recentFiles, ""),

        Flag("Privacy", "Clean Recent Files", &S::cleanRecentFiles, 0),

        Int("Run", "Jobs", &S::jobs, 0).opt("--JOBS").range(0, kMaxJobs).forRunOnly(),
    };
}

bool SameName(QStringView a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

std::span<const SettingDef> SettingsTable() {
    static const std::vector<SettingDef> table = BuildTable();
    return table;
}

const SettingDef* FindSetting(const QString& group, const QString& key) {
    for (const SettingDef& def : SettingsTable()) {
        if ((group.isEmpty() || SameName(group, def.group)) && SameName(key, def.key)) return &def;
    }
    return nullptr;
}

const SettingDef* FindOption(QStringView upperName, bool inProfile) {
    for (const SettingDef& def : SettingsTable()) {
        if (!def.option) continue;
        const char* name = (inProfile && def.profileKey) ? def.profileKey : def.option;
        if (upperName == QLatin1String(name)) return &def;
    }
    return nullptr;
}

QStringList OptionNames(bool inProfile) {
    QStringList names;
    for (const SettingDef& def : SettingsTable()) {
        if (!def.option) continue;
        names << QString::fromLatin1((inProfile && def.profileKey) ? def.profileKey : def.option);
    }
    return names;
}

int32_t GetNumber(const Settings& s, const SettingDef& def) {
    if (auto p = std::get_if<int8_t Settings::*>(&def.field)) return s.**p;
    if (auto p = std::get_if<int32_t Settings::*>(&def.field)) return s.**p;
    if (auto p = std::get_if<float Settings::*>(&def.field)) return static_cast<int32_t>(s.**p);
    return 0;
}

float GetReal(const Settings& s, const SettingDef& def) {
    if (auto p = std::get_if<float Settings::*>(&def.field)) return s.**p;
    return static_cast<float>(GetNumber(s, def));
}

QString GetText(const Settings& s, const SettingDef& def) {
    if (auto p = std::get_if<QString Settings::*>(&def.field)) return s.**p;
    return QString();
}

void SetNumber(Settings& s, const SettingDef& def, int64_t value) {
    if (auto p = std::get_if<int8_t Settings::*>(&def.field))
        s.** p = static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
    else if (auto p = std::get_if<int32_t Settings::*>(&def.field))
        s.** p = static_cast<int32_t>(static_cast<uint32_t>(value & 0xFFFFFFFF));
    else if (auto p = std::get_if<float Settings::*>(&def.field))
        s.** p = static_cast<float>(value);
}

void SetReal(Settings& s, const SettingDef& def, float value) {
    if (auto p = std::get_if<float Settings::*>(&def.field)) s.** p = value;
}

void SetText(Settings& s, const SettingDef& def, const QString& value) {
    if (auto p = std::get_if<QString Settings::*>(&def.field)) s.** p = value;
}

bool ClampToRange(Settings& s, const SettingDef& def) {
    if (!def.ranged) return false;
    if (def.type == FieldType::Real) {
        const float value = GetReal(s, def);
        const float low = float(def.minimum), high = float(def.maximum);
        const float kept = std::isnan(value) ? def.defaultReal : std::clamp(value, low, high);
        if (kept == value) return false;
        SetReal(s, def, kept);
        return true;
    }
    const int32_t value = GetNumber(s, def);
    const int32_t kept = std::clamp(value, int32_t(def.minimum), int32_t(def.maximum));
    if (kept == value) return false;
    SetNumber(s, def, kept);
    return true;
}

bool IsInRange(const Settings& s, const SettingDef& def) {
    if (!def.ranged) return true;
    if (def.type == FieldType::Real) {
        // Compared in the field's own precision, so the bounds themselves pass.
        const float value = GetReal(s, def);
        return value >= float(def.minimum) && value <= float(def.maximum);
    }
    const int32_t value = GetNumber(s, def);
    return value >= int32_t(def.minimum) && value <= int32_t(def.maximum);
}

QString EchoLabel(const SettingDef& def) {
    return def.echo ? QString::fromLatin1(def.echo)
                    : QString::fromLatin1(def.key) + QStringLiteral(": ");
}

QString EchoValue(const Settings& s, const SettingDef& def, const QString& ext) {
    switch (def.type) {
    case FieldType::Text:
        return GetText(s, def);
    case FieldType::Real:
        return QString::number(GetReal(s, def), 'f', 2);
    default:
        if (def.vocabulary != VocabularyKind::None) {
            const QString extension =
                ext.isEmpty() && def.formatExt ? QString::fromLatin1(def.formatExt) : ext;
            return CodeToWord(def.vocabulary, GetNumber(s, def), extension);
        }
        return QString::number(GetNumber(s, def));
    }
}

} // namespace tarvix
