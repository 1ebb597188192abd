#include "engine/Pipeline.h"

#include "engine/ImageFile.h"
#include "engine/LoadAs.h"
#include "engine/PixelStore.h"
#include "engine/Steps.h"
#include "engine/StreamJpeg.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/Naming.h"
#include "request/OutputDepth.h"
#include "settings/Vocabulary.h"

#include <cstring>

namespace tarvix {

bool PrepareOutput(RunState& state, const Settings& settings) {
    if (state.beforeNaming) state.beforeNaming(state);
    // Expanded once: the clock placeholders would give the check and the save
    // names a second apart.
    const QString name = OutputFileName(state, settings);
    const QString folder = OutputFolderOf(state, settings);
    state.currentOutputFile = folder + name;
    // The mask comes from the user, a profile or config.ini: its name must stay
    // in the output folder, and the picture must never replace its own texture.
    const QString unsafe = UnsafeOutputName(name);
    if (!unsafe.isEmpty()) {
        state.failure = unsafe;
        return false;
    }
    if (SameFile(state.currentInputFile, state.currentOutputFile)) {
        state.failure =
            QStringLiteral("the output would replace the input file: ") + state.currentOutputFile;
        return false;
    }
    if (state.claimOutput && !state.claimOutput(state.currentOutputFile)) {
        state.failure =
            QStringLiteral("another file of this run is saved as ") + state.currentOutputFile;
        return false;
    }
    // A folder's subfolders are recreated below the output folder as needed.
    if (settings.keepSubfolders && !state.currentSubfolder.isEmpty()) {
        if (const int error = MakeFolders(folder)) {
            state.failure = QStringLiteral("cannot create the folder %1: %2")
                                .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
            return false;
        }
    }
    return true;
}

bool ConvertFile(RunState& state, const Settings& settings) {
    state.streamed = false;
    if (CanStreamToJpeg(state, settings)) {
        const StreamResult streamed = StreamToJpeg(state, settings);
        if (streamed != StreamResult::NotStreamable) return streamed == StreamResult::Saved;
    }
    auto pausePoint = [&state] {
        if (state.betweenSteps) state.betweenSteps();
    };
    state.failure.clear();
    PixelStore store;
    // A JPEG keeps no alpha, so the picture is decoded without it: the same
    // file, with less memory and no conversion to 24 bits.
    const bool opaque = state.conversionType == QLatin1String("jpg") && state.allowOpaqueDecode;
    FIBITMAP* image = LoadInputImage(state.currentInputFile, &state.failure, &store, opaque);
    image = ApplyLoadAs(image, settings.ddsLoadAs);
    store.Release(image);

    const unsigned width = image ? FreeImage_GetWidth(image) : 0;
    const unsigned height = image ? FreeImage_GetHeight(image) : 0;
    state.sourceBpp = image ? int32_t(FreeImage_GetBPP(image)) : 0;
    if (state.autoDepth) state.outputBpp = AutoDepth(state.conversionType, state.sourceBpp);
    if (width == 0 || height == 0) {
        if (image) FreeImage_Unload(image);
        if (state.failure.isEmpty()) state.failure = QStringLiteral("the image has no pixels");
        return false;
    }

    pausePoint();
    image = ApplyRotation(image, settings);
    store.Release(image);
    const int rotatedWidth = image ? int(FreeImage_GetWidth(image)) : 0;
    const int rotatedHeight = image ? int(FreeImage_GetHeight(image)) : 0;
    pausePoint();
    image = ApplyResize(image, rotatedWidth, rotatedHeight, settings);
    store.Release(image);
    // The size after resizing is the file's size for the naming and watermark
    // placeholders; the frame is drawn inside it.
    const int outWidth = image ? int(FreeImage_GetWidth(image)) : 0;
    const int outHeight = image ? int(FreeImage_GetHeight(image)) : 0;
    state.outputWidth = outWidth;
    state.outputHeight = outHeight;
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
            state.failure = QStringLiteral("the drawing library could not be loaded: ") + error;
            return false;
        }
        pausePoint();
        image = draw->applyFrame(image, outWidth, outHeight, settings);
        pausePoint();
        const bool hadPicture = image != nullptr;
        image = draw->applyWatermark(image, outWidth, outHeight, state, settings);
        if (hadPicture && !image) {
            state.failure =
                settings.doWatermark == kWatermarkImage
                    ? QStringLiteral("the watermark picture could not be loaded: ") + settings.image
                    : QStringLiteral("the watermark could not be drawn");
            return false;
        }
    }
    image = ApplyOutputDepth(image, state);
    store.Release(image);
    if (!PrepareOutput(state, settings)) {
        if (image) FreeImage_Unload(image);
        return false;
    }
    const bool saved = SaveImageFile(state.formatCode, image, state.currentOutputFile,
                                     state.saveFlags, &state.failure);
    if (image) FreeImage_Unload(image);
    return saved;
}

} // namespace tarvix
