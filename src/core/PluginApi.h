#pragma once
// What each private library offers the program: one table of functions, found
// under its export name. The executable starts with none of them loaded; a run
// asks platform/Plugins.h for the table it needs.

#include "core/BatchProgress.h"
#include "core/RunState.h"

#include <QStringList>
#include <memory>

class QFont;
struct FIBITMAP;

namespace tarvix {

struct Settings;
struct ConversionRequest;
struct NameFacts;
struct FileJob;
struct FileResult;

inline constexpr int kPreviewMaxSide = 4096;

// A file converted as a run would convert it, kept in memory.
struct PreviewPicture {
    bool converted = false;
    QString failure;                       // why it would not be converted, in plain words
    QString output;                        // the path it would be saved as
    int outputWidth = 0, outputHeight = 0; // of the picture written
    QByteArray encoded;                    // the output file's bytes
    // The output file decoded again: 32-bit pixels in the byte order of
    // QImage::Format_ARGB32, top row first, width * 4 bytes a row; a picture
    // beyond kPreviewMaxSide is decoded smaller (by the JPEG decoder's own
    // scaling), so a huge texture's preview stays within memory.
    int width = 0, height = 0;
    QByteArray pixels;
};

// The conversion engine (image library and DDS reader).
struct EngineApi {
    // Converts the request's input list from the calling thread; the observer,
    // when given, hears of every file.
    int (*batchWorker)(const ConversionRequest& request, BatchProgress& progress,
                       BatchObserver* observer);
    // A PNG thumbnail of a texture, at most size pixels a side.
    bool (*writeThumbnail)(const QString& input, const QString& output, int size, QString* reason);
    // What a texture holds, in lines; read false when its header cannot be read.
    QStringList (*describeTexture)(const QString& path, bool* read);
    // The request's conversion of one input, written nowhere.
    PreviewPicture (*previewFile)(const ConversionRequest& request, const QString& input);
};

// The conversions on whole pictures (the image library and what it needs):
// every editing step and output format but the streamed JPEG, thumbnails, and
// reading an encoded picture back.
struct ImageApi {
    FileResult (*convertWholePicture)(const ConversionRequest& request, const FileJob& job);
    bool (*writeThumbnail)(const QString& input, const QString& output, int size, QString* reason);
    // 32-bit pixels (QImage::Format_ARGB32 byte order, top row first).
    bool (*decodePicture)(const QByteArray& encoded, int maxSide, int* width, int* height,
                          QByteArray* pixels);
};

// Thumbnails: a texture's level of the size asked for written directly, any
// other handed to the image library.
struct ThumbnailApi {
    bool (*writeThumbnail)(const QString& input, const QString& output, int size, QString* reason);
};

// The drawing of frames and watermarks (2D drawing and fonts).
struct DrawApi {
    FIBITMAP* (*applyFrame)(FIBITMAP* image, int width, int height, const Settings& settings);
    FIBITMAP* (*applyWatermark)(FIBITMAP* image, int width, int height, const NameFacts& facts,
                                const QFont* font, const Settings& settings);
    void (*ensureFontSupport)();
    std::shared_ptr<QFont> (*createWatermarkFont)(const Settings& settings);
};

// The windowed mode: runs the main window until the user quits and returns the
// exit status.
using WindowedEntry = int (*)(int argc, char** argv, Settings& settings, RunState& state);

inline constexpr char kEngineLibrary[] = "engine";
inline constexpr char kImageLibrary[] = "image";
inline constexpr char kThumbnailLibrary[] = "thumbnail";
inline constexpr char kDrawLibrary[] = "draw";
inline constexpr char kUiLibrary[] = "ui";
// The names under which the libraries export their entries (declared below).
inline constexpr char kEngineApiSymbol[] = "tarvix_engine_api";
inline constexpr char kImageApiSymbol[] = "tarvix_image_api";
inline constexpr char kThumbnailApiSymbol[] = "tarvix_thumbnail_api";
inline constexpr char kDrawApiSymbol[] = "tarvix_draw_api";
inline constexpr char kWindowedSymbol[] = "tarvix_run_windowed";

} // namespace tarvix

// The export names. Each is defined by its library; weak here, so a program that
// links the libraries' code in directly (the tests) finds them without loading
// anything.
extern "C" const tarvix::EngineApi* tarvix_engine_api() __attribute__((weak));
extern "C" const tarvix::ImageApi* tarvix_image_api() __attribute__((weak));
extern "C" const tarvix::ThumbnailApi* tarvix_thumbnail_api() __attribute__((weak));
extern "C" const tarvix::DrawApi* tarvix_draw_api() __attribute__((weak));
extern "C" int tarvix_run_windowed(int argc, char** argv, tarvix::Settings& settings,
                                   tarvix::RunState& state) __attribute__((weak));
