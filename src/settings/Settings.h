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

struct Settings {
    // Not persisted: where config.ini lives, and the main window's layout measures.
    QString configPath;
    int32_t layoutControlTop = 0;
    int32_t layoutControlHeight = 0;

    // General
    int32_t cfg = 17;
    QString language;
    int32_t updateRange = 2;
    int32_t updateDate = 0;
    int8_t saveWindowPosition = 1;

    // Window
    int8_t isMaximized = 0;
    int32_t x = 100;
    int32_t y = 100;
    int32_t width = 510;
    int32_t height = 260;

    // Interface
    QString uiTheme;
    int32_t uiSize = 2;

    // Input
    QString inputFormat;
    int32_t ddsLoadAs = 0;
    int32_t gifFrameLoading = 0;
    int32_t icoFrameLoading = 0;
    int32_t tiffFrameLoading = 0;
    int32_t rawLoadAs = 0;
    int32_t rawHeaderSize = 0;
    int32_t rawImageWidth = 0;
    int32_t rawImageHeight = 0;
    int32_t rawToneMapping = 2;

    // Output
    QString outputFormat;
    int32_t bmpBpp = 0;
    int32_t bmpCompression = 0;
    int32_t bmpColorTable = 0;
    int32_t ddsBpp = 0;
    int32_t exrBpp = 0;
    int32_t exrCompression = 0;
    int32_t gifBpp = 0;
    int32_t hdrBpp = 0;
    int32_t icoBpp = 0;
    int32_t j2kBpp = 0;
    int32_t jngBpp = 0;
    int32_t jp2Bpp = 0;
    int32_t jpgBpp = 0;
    int32_t jpgQuality = 95;
    int32_t jpgChroma = 0;
    int32_t jpgSaveAs = 0;
    int32_t jxrBpp = 0;
    int32_t pbmBpp = 0;
    int32_t pcxBpp = 0;
    int32_t pfmBpp = 0;
    int32_t pgmBpp = 0;
    int32_t pngBpp = 0;
    int32_t pngCompression = 0;
    int8_t pngInterlaced = 0;
    int32_t ppmBpp = 0;
    int32_t psdBpp = 0;
    int32_t tgaBpp = 0;
    int32_t tgaCompression = 0;
    int32_t tiffBpp = 0;
    int32_t tiffCompression = 0;
    int32_t tiffColorModel = 0;
    int32_t wbmpBpp = 0;
    int32_t webpBpp = 0;
    int32_t xpmBpp = 0;

    // Transform
    int8_t doImageRotation = 0;
    int8_t imageRotationType = 0;
    int32_t imageRotation = 0;
    QString imageRotationBackColor;
    int8_t doImageResize = 0;
    int32_t imageWidth = 0;
    int8_t imageWidthUnit = 0;
    int32_t imageHeight = 0;
    int8_t imageHeightUnit = 0;
    int8_t keepAspectRatio = 1;
    int8_t imageResizeType = 0;
    int8_t imageResizeAlgorithm = 3;
    int8_t doImageFlipHorizontal = 0;
    int8_t doImageFlipVertical = 0;

    // Adjustment
    int8_t doImageColorCorrection = 0;
    int32_t imageBrightness = 0;
    int32_t imageContrast = 0;
    float imageGamma = 1.0f;
    int8_t imageInvert = 0;
    int8_t doImageGreyscale = 0;
    int8_t doImageThreshold = 0;
    int32_t imageThreshold = 0;

    // Frame
    int8_t doFrame = 0;
    int32_t solidLeft = 0;
    int32_t solidRight = 0;
    int32_t solidTop = 0;
    int32_t solidBottom = 0;
    QString solidLeftColor;
    QString solidRightColor;
    QString solidTopColor;
    QString solidBottomColor;
    int32_t solidOpacity = 255;

    // Watermark
    int8_t doWatermark = 0;
    QString text;
    QString fonts;
    QString font;
    int32_t fontSize = 14;
    int32_t fontLeading = 0;
    QString fontColors;
    QString fontColor;
    int8_t fontStyle = 0;
    int8_t fontEffect = 0;
    int8_t textAntialiasing = 0;
    int8_t textAlignment = 0;
    int32_t textPadding = 0;
    int32_t textOpacity = 255;
    QString backColors;
    QString backColor;
    int32_t backOpacity = 1;
    int8_t textBoundary = 0;
    int8_t textPosition = 8;
    int32_t textXOffset = 10;
    int32_t textYOffset = 10;
    int32_t textRotation = 0;
    int8_t textSize = 0;
    int32_t textScale = 10;
    QString image;
    int8_t imageGreyscale = 0;
    int32_t imageOpacity = 255;
    int8_t imageBoundary = 0;
    int8_t imagePosition = 8;
    int32_t imageXOffset = 10;
    int32_t imageYOffset = 10;
    int32_t watermarkImageRotation = 0;
    int8_t imageSize = 0;
    int32_t imageScale = 10;

    // Advanced
    QString filenameMask;
    int8_t fileTimestamp = 0;
    int32_t customTimestamp = 0;
    int8_t outFoldersHistory = 1;
    int8_t outFoldersNumber = 5;
    int8_t keepSubfolders = 1;

    // File
    QString recentOutFolders;
    QString recentFiles;

    // Privacy
    int8_t cleanRecentFiles = 0;

    // Set by an option or a profile for one run; never in config.ini.
    int32_t jobs = 0; // files converted at once; 0: one per processor online
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
