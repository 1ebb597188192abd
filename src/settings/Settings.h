#pragma once
// The one record of every user option, named after its configuration key.
// Flags, small codes and small integers are genuinely 8-bit: a value read from a
// file or the command line keeps only its low 8 bits, as stored files expect.

#include <QSize>
#include <QString>
#include <cstdint>

namespace tarvix {

// The most files one run converts at once.
inline constexpr int32_t kMaxJobs = 256;

// Every persisted field's default stands in the settings table alone: a new
// record holds those defaults (as ResetSettings gives them to a windowed start).
struct Settings {
    Settings();

    // Not persisted: where config.ini lives, and the main window's layout measures.
    QString configPath;
    int32_t layoutControlTop{};
    int32_t layoutControlHeight{};

    // General
    int32_t cfg{};
    QString language;
    int32_t updateRange{};
    int32_t updateDate{};
    int8_t saveWindowPosition{};

    // Window
    int8_t isMaximized{};
    int32_t x{};
    int32_t y{};
    int32_t width{};
    int32_t height{};

    // Interface
    QString uiTheme;
    int32_t uiSize{};

    // Input
    QString inputFormat;
    int32_t ddsLoadAs{};
    int32_t ddsMipLevel{};
    int32_t ddsLayer{};
    int8_t ddsCubeLayout{};
    int8_t ddsNormalMap{};
    int8_t ddsAlpha{};
    QString ddsBackground;
    int32_t gifFrameLoading{};
    int32_t icoFrameLoading{};
    int32_t tiffFrameLoading{};
    int32_t rawLoadAs{};
    int32_t rawHeaderSize{};
    int32_t rawImageWidth{};
    int32_t rawImageHeight{};
    int32_t rawToneMapping{};

    // Output
    QString outputFormat;
    int32_t bmpBpp{};
    int32_t bmpCompression{};
    int32_t bmpColorTable{};
    int32_t ddsBpp{};
    int32_t exrBpp{};
    int32_t exrCompression{};
    int32_t gifBpp{};
    int32_t hdrBpp{};
    int32_t icoBpp{};
    int32_t j2kBpp{};
    int32_t jngBpp{};
    int32_t jp2Bpp{};
    int32_t jpgBpp{};
    int32_t jpgQuality{};
    int32_t jpgChroma{};
    int32_t jpgSaveAs{};
    int32_t jxrBpp{};
    int32_t pbmBpp{};
    int32_t pcxBpp{};
    int32_t pfmBpp{};
    int32_t pgmBpp{};
    int32_t pngBpp{};
    int32_t pngCompression{};
    int8_t pngInterlaced{};
    int32_t ppmBpp{};
    int32_t psdBpp{};
    int32_t tgaBpp{};
    int32_t tgaCompression{};
    int32_t tiffBpp{};
    int32_t tiffCompression{};
    int32_t tiffColorModel{};
    int32_t wbmpBpp{};
    int32_t webpBpp{};
    int32_t xpmBpp{};

    // Transform
    int8_t doImageRotation{};
    int8_t imageRotationType{};
    int32_t imageRotation{};
    QString imageRotationBackColor;
    int8_t doImageResize{};
    int32_t imageWidth{};
    int8_t imageWidthUnit{};
    int32_t imageHeight{};
    int8_t imageHeightUnit{};
    int8_t keepAspectRatio{};
    int8_t imageResizeType{};
    int8_t imageResizeAlgorithm{};
    int8_t doImageFlipHorizontal{};
    int8_t doImageFlipVertical{};

    // Adjustment
    int8_t doImageColorCorrection{};
    int32_t imageBrightness{};
    int32_t imageContrast{};
    float imageGamma{};
    int8_t imageInvert{};
    int8_t doImageGreyscale{};
    int8_t doImageThreshold{};
    int32_t imageThreshold{};

    // Frame
    int8_t doFrame{};
    int32_t solidLeft{};
    int32_t solidRight{};
    int32_t solidTop{};
    int32_t solidBottom{};
    QString solidLeftColor;
    QString solidRightColor;
    QString solidTopColor;
    QString solidBottomColor;
    int32_t solidOpacity{};

    // Watermark
    int8_t doWatermark{};
    QString text;
    QString fonts;
    QString font;
    int32_t fontSize{};
    int32_t fontLeading{};
    QString fontColors;
    QString fontColor;
    int8_t fontStyle{};
    int8_t fontEffect{};
    int8_t textAntialiasing{};
    int8_t textAlignment{};
    int32_t textPadding{};
    int32_t textOpacity{};
    QString backColors;
    QString backColor;
    int32_t backOpacity{};
    int8_t textBoundary{};
    int8_t textPosition{};
    int32_t textXOffset{};
    int32_t textYOffset{};
    int32_t textRotation{};
    int8_t textSize{};
    int32_t textScale{};
    QString image;
    int8_t imageGreyscale{};
    int32_t imageOpacity{};
    int8_t imageBoundary{};
    int8_t imagePosition{};
    int32_t imageXOffset{};
    int32_t imageYOffset{};
    int32_t watermarkImageRotation{};
    int8_t imageSize{};
    int32_t imageScale{};

    // Advanced
    QString filenameMask;
    int8_t fileTimestamp{};
    int32_t customTimestamp{};
    int8_t outFoldersHistory{};
    int8_t outFoldersNumber{};
    int8_t keepSubfolders{};

    // File
    QString recentOutFolders;
    QString recentFiles;

    // Privacy
    int8_t cleanRecentFiles{};

    // Set by an option or a profile for one run; never in config.ini.
    int32_t jobs{}; // files converted at once; 0: one per processor online
};

// Stores every persisted field's default. Only "Keep Aspect Ratio" depends on
// forCommandLine. The window is centred on a desktop of the given size; an empty
// size (no display, as on the command line) places it at 100, 100.
void ResetSettings(Settings& settings, bool forCommandLine, QSize desktop = QSize());

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Six hexadecimal digits, red, green, blue; any other length is black.
Rgb ColorText(const QString& text);

} // namespace tarvix
