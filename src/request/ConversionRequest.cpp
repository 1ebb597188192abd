#include "request/ConversionRequest.h"

#include "core/FormatRegistry.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/InputSelection.h"
#include "request/OutputDepth.h"
#include "settings/Vocabulary.h"

namespace tarvix {

void ResetRunState(RunState& state) {
    const RunMode runMode = state.runMode;
    state = RunState();
    state.runMode = runMode;
    state.programFolder = ProgramFolder();
    state.randomNumber = DrawRandomNumber();
    state.counter = 1;
    state.acceptedExtensions = BuildAcceptedExtensions();
}

bool BuildConversionRequest(RunState& state, const Settings& settings) {
    const QString& extension = state.conversionType;
    state.formatCode = OutputFormat(extension).formatCode;
    state.outputBpp = BppSettingFor(extension, settings).value_or(0);
    state.autoDepth = state.outputBpp == 0 ? 1 : 0;
    state.saveFlags = SaveFlagsFor(extension, settings);

    state.watermarkFont.reset();
    if (settings.doWatermark != kWatermarkText) return true;
    // Fonts need the font database, and so an application object; only a run
    // that draws text pays for one.
    if (const DrawApi* draw = Drawing()) {
        draw->ensureFontSupport();
        state.watermarkFont = draw->createWatermarkFont(settings);
    }
    return state.watermarkFont != nullptr;
}

} // namespace tarvix
