// The whole-picture conversion, every step on a bitmap of the image library;
// and what this library offers the engine.

#include "engine/WholePicture.h"

#include "engine/ImageFile.h"
#include "engine/LoadAs.h"
#include "engine/PixelStore.h"
#include "engine/SaveFlags.h"
#include "engine/Steps.h"
#include "engine/Thumbnail.h"
#include "platform/Plugins.h"
#include "request/OutputDepth.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <cstring>
#include <future>
#include <optional>
#include <system_error>

namespace tarvix {

FileResult ConvertWholePicture(const ConversionRequest& request, const FileJob& job) {
    const Settings& settings = request.settings;
    FileResult result;
    auto pausePoint = [&job] {
        if (job.betweenSteps) job.betweenSteps();
    };
    PixelStore store;
    // A run that draws loads the drawing library (QtGui and what it needs,
    // tens of milliseconds of the loader's work) while the picture is decoded
    // and transformed; the first step that draws asks for it and waits on the
    // loading's lock until it is there.
    std::future<void> drawing;
    if (settings.doFrame != kFrameNone || settings.doWatermark != kWatermarkNone) {
        try {
            drawing = std::async(std::launch::async, [] { Drawing(); });
        } catch (const std::system_error&) {
        }
    }
    // A JPEG keeps no alpha, so the picture is decoded without it: the same
    // file, with less memory and no conversion to 24 bits.
    const bool opaque =
        request.conversionType == QLatin1String("jpg") && request.options.allowOpaqueDecode;
    FIBITMAP* image =
        LoadInputImage(job.input, &result.failure, &store, opaque, TextureRequest(settings));
    image = ApplyLoadAs(image, settings.ddsLoadAs);
    store.Release(image);

    const unsigned width = image ? FreeImage_GetWidth(image) : 0;
    const unsigned height = image ? FreeImage_GetHeight(image) : 0;
    result.sourceBpp = image ? int32_t(FreeImage_GetBPP(image)) : 0;
    result.outputBpp = request.AutoDepth() ? AutoDepth(request.conversionType, result.sourceBpp)
                                           : request.outputBpp;
    if (width == 0 || height == 0) {
        if (image) FreeImage_Unload(image);
        if (result.failure.isEmpty()) result.failure = QStringLiteral("the image has no pixels");
        return result;
    }

    pausePoint();
    image = ApplyRotation(image, settings);
    store.Release(image);
    const int rotatedWidth = image ? int(FreeImage_GetWidth(image)) : 0;
    const int rotatedHeight = image ? int(FreeImage_GetHeight(image)) : 0;
    pausePoint();
    image = ApplyResize(image, rotatedWidth, rotatedHeight, settings, &store);
    store.Release(image);
    // The size after resizing is the file's size for the naming and watermark
    // placeholders; the frame is drawn inside it.
    const int outWidth = image ? int(FreeImage_GetWidth(image)) : 0;
    const int outHeight = image ? int(FreeImage_GetHeight(image)) : 0;
    result.width = outWidth;
    result.height = outHeight;
    // Asked for once, as late as it can be: in a counting run it waits for the
    // earlier files.
    std::optional<NameFacts> facts;
    auto factsNow = [&]() -> const NameFacts& {
        if (!facts) facts = NameFactsFor(request, job, result);
        return *facts;
    };
    ApplyFlips(image, settings);
    pausePoint();
    image = ApplyColorAdjustment(image, settings);
    pausePoint();
    image = ApplyGreyscale(image, settings);
    pausePoint();
    image = ApplyThreshold(image, settings);
    if (settings.doFrame != kFrameNone || settings.doWatermark != kWatermarkNone) {
        // Frames and watermarks are drawn by a library of their own, loaded
        // only by the runs that draw.
        QString error;
        const DrawApi* draw = Drawing(&error);
        if (!draw) {
            if (image) FreeImage_Unload(image);
            result.failure = QStringLiteral("the drawing library could not be loaded: ") + error;
            return result;
        }
        pausePoint();
        image = draw->applyFrame(image, outWidth, outHeight, settings);
        pausePoint();
        const bool hadPicture = image != nullptr;
        const QFont* font = job.font ? job.font : request.watermarkFont.get();
        const NameFacts none;
        image = draw->applyWatermark(image, outWidth, outHeight,
                                     settings.doWatermark == kWatermarkText ? factsNow() : none,
                                     font, settings);
        if (hadPicture && !image) {
            result.failure =
                settings.doWatermark == kWatermarkImage
                    ? QStringLiteral("the watermark picture could not be loaded: ") + settings.image
                    : QStringLiteral("the watermark could not be drawn");
            return result;
        }
    }
    image = ApplyOutputDepth(image, result.outputBpp, request.conversionType);
    store.Release(image);
    if (!PrepareOutput(request, job, factsNow(), result)) {
        if (image) FreeImage_Unload(image);
        return result;
    }
    result.converted =
        SaveImageFile(request.formatCode, image, result.output,
                      SaveFlagsFor(request.conversionType, settings), &result.failure, job.memory);
    if (image) FreeImage_Unload(image);
    return result;
}

bool DecodePicture(const QByteArray& encoded, int maxSide, int* width, int* height,
                   QByteArray* pixels) {
    FIMEMORY* memory = FreeImage_OpenMemory(
        reinterpret_cast<BYTE*>(const_cast<char*>(encoded.constData())), DWORD(encoded.size()));
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory, 0);
    // A JPEG larger than maxSide is decoded at the largest of the decoder's
    // own reductions (1/2 to 1/8) that still reaches it.
    int flags = 0;
    if (format == FIF_JPEG && maxSide > 0) {
        FIBITMAP* header = FreeImage_LoadFromMemory(format, memory, FIF_LOAD_NOPIXELS);
        if (header &&
            int(std::max(FreeImage_GetWidth(header), FreeImage_GetHeight(header))) > maxSide)
            flags = maxSide << 16;
        if (header) FreeImage_Unload(header);
        FreeImage_SeekMemory(memory, 0, SEEK_SET);
    }
    FIBITMAP* decoded =
        format == FIF_UNKNOWN ? nullptr : FreeImage_LoadFromMemory(format, memory, flags);
    FreeImage_CloseMemory(memory);
    if (!decoded) return false;
    FIBITMAP* rgba =
        FreeImage_GetBPP(decoded) == 32 && FreeImage_GetImageType(decoded) == FIT_BITMAP
            ? decoded
            : FreeImage_ConvertTo32Bits(decoded);
    if (!rgba && FreeImage_GetImageType(decoded) != FIT_BITMAP) {
        // High-range pictures are shown as the tone mapping would show them.
        if (FIBITMAP* mapped = FreeImage_ToneMapping(decoded, FITMO_DRAGO03)) {
            rgba = FreeImage_ConvertTo32Bits(mapped);
            FreeImage_Unload(mapped);
        }
    }
    if (rgba != decoded) FreeImage_Unload(decoded);
    if (!rgba) return false;
    *width = int(FreeImage_GetWidth(rgba));
    *height = int(FreeImage_GetHeight(rgba));
    const size_t row = size_t(*width) * 4;
    pixels->resize(qsizetype(row * size_t(*height)));
    // The image library keeps the bottom row first.
    for (int y = 0; y < *height; ++y)
        std::memcpy(pixels->data() + row * size_t(y), FreeImage_GetScanLine(rgba, *height - 1 - y),
                    row);
    FreeImage_Unload(rgba);
    return true;
}

} // namespace tarvix

extern "C" const tarvix::ImageApi* tarvix_image_api() {
    static const tarvix::ImageApi api{&tarvix::ConvertWholePicture, &tarvix::WriteThumbnail,
                                      &tarvix::DecodePicture};
    return &api;
}
