#include "request/ConversionRequest.h"

#include "core/FormatRegistry.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/InputSelection.h"
#include "request/OutputDepth.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace tarvix {

int ResolveJobs(const Settings& settings, qsizetype files) {
    int jobs = settings.jobs;
    if (jobs <= 0) jobs = int(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
    return int(std::clamp<qsizetype>(jobs, 1, std::max<qsizetype>(1, files)));
}

void ResetRunState(RunState& state) {
    const RunMode runMode = state.runMode;
    state = RunState();
    state.runMode = runMode;
    state.programFolder = ProgramFolder();
    state.randomNumber = DrawRandomNumber();
    state.counter = 1;
    state.acceptedExtensions = BuildAcceptedExtensions();
}

std::optional<ConversionRequest>
BuildConversionRequest(const RunState& state, const Settings& settings, ConversionOptions options) {
    ConversionRequest request;
    request.settings = settings;
    request.inputs = state.inputList;
    request.outputFolder = state.outputFolder;
    request.conversionType = state.conversionType;
    request.formatCode = OutputFormat(state.conversionType).formatCode;
    request.outputBpp = BppSettingFor(state.conversionType, settings).value_or(0);
    request.firstCounter = state.counter;
    request.firstRandom = state.randomNumber;
    request.options = options;
    if (settings.doWatermark != kWatermarkText) return request;
    // Fonts need the font database, and so an application object; only a run
    // that draws text pays for one.
    // Every drawing run converts whole pictures with the image library: it is
    // loaded meanwhile, as much of the font set-up is not the loader's work.
    std::thread image;
    try {
        image = std::thread([] { Imaging(); });
    } catch (const std::system_error&) {
    }
    const DrawApi* draw = Drawing();
    if (draw) {
        draw->ensureFontSupport();
        request.watermarkFont = draw->createWatermarkFont(settings);
    }
    if (image.joinable()) image.join();
    if (!request.watermarkFont) return std::nullopt;
    return request;
}

} // namespace tarvix
