#include "engine/Pipeline.h"

#include "engine/ImageFile.h"
#include "engine/LoadAs.h"
#include "engine/Naming.h"
#include "engine/OutputDepth.h"

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

    state.outputWidth = int32_t(width);
    state.outputHeight = int32_t(height);

    image = ApplyOutputDepth(image, state);
    state.currentOutputFile = OutputPath(state, settings);
    const bool saved =
        SaveImageFile(state.formatCode, image, state.currentOutputFile, state.saveFlags);
    if (image) FreeImage_Unload(image);
    return saved;
}

} // namespace tarvix
