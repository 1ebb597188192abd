#include "engine/Pipeline.h"

#include "engine/ImageFile.h"
#include "engine/LoadAs.h"
#include "engine/Naming.h"
#include "engine/OutputDepth.h"
#include "engine/Steps.h"

namespace tarvix {

bool ConvertFile(RunState& state, const Settings& settings) {
    state.loadFailure.clear();
    FIBITMAP* image = LoadInputImage(state.currentInputFile, &state.loadFailure);
    image = ApplyLoadAs(image, settings.ddsLoadAs);

    const unsigned width = image ? FreeImage_GetWidth(image) : 0;
    const unsigned height = image ? FreeImage_GetHeight(image) : 0;
    state.sourceBpp = image ? int32_t(FreeImage_GetBPP(image)) : 0;
    if (state.autoDepth) state.outputBpp = AutoDepth(state.conversionType, state.sourceBpp);
    if (width == 0 || height == 0) {
        if (image) FreeImage_Unload(image);
        if (state.loadFailure.isEmpty())
            state.loadFailure = QStringLiteral("the image has no pixels");
        return false;
    }

    image = ApplyRotation(image, settings);
    const int rotatedWidth = image ? int(FreeImage_GetWidth(image)) : 0;
    const int rotatedHeight = image ? int(FreeImage_GetHeight(image)) : 0;
    image = ApplyResize(image, rotatedWidth, rotatedHeight, settings);
    // The size after resizing is the file's size for the naming and watermark
    // placeholders; the frame is drawn inside it.
    const int outWidth = image ? int(FreeImage_GetWidth(image)) : 0;
    const int outHeight = image ? int(FreeImage_GetHeight(image)) : 0;
    state.outputWidth = outWidth;
    state.outputHeight = outHeight;
    ApplyFlips(image, settings);
    image = ApplyColorAdjustment(image, settings);
    image = ApplyGreyscale(image, settings);
    image = ApplyThreshold(image, settings);
    image = ApplyFrame(image, outWidth, outHeight, settings);
    image = ApplyWatermark(image, outWidth, outHeight, state, settings);
    image = ApplyOutputDepth(image, state);
    state.currentOutputFile = OutputPath(state, settings);
    const bool saved =
        SaveImageFile(state.formatCode, image, state.currentOutputFile, state.saveFlags);
    if (image) FreeImage_Unload(image);
    return saved;
}

} // namespace tarvix
