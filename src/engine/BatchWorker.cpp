#include "engine/BatchWorker.h"

#include "app/Console.h"
#include "engine/Pipeline.h"
#include "platform/FileTimes.h"
#include "platform/LocalTime.h"

namespace tarvix {

void ApplyFileTimestamp(const QString& input, const QString& output, const Settings& settings) {
    // A time that cannot be set is not worth failing a converted file for.
    if (settings.fileTimestamp == 1) {
        const std::time_t original = ModificationTime(input);
        if (original >= 0) SetModificationTime(output, original);
    } else if (settings.fileTimestamp == 2) {
        SetModificationTime(output, FromLocalSeconds(settings.customTimestamp));
    }
}

int BatchWorker(RunState& state, const Settings& settings, BatchProgress& progress) {
    const bool debug = state.cliInputGiven && state.runMode == QLatin1String("DEBUG");
    int32_t index = 0, converted = 0;
    state.betweenSteps = [&progress] { progress.WaitWhilePaused(); };
    for (auto it = state.inputList.constBegin(); it != state.inputList.constEnd(); ++it) {
        progress.WaitWhilePaused();
        if (!progress.running.load()) break;
        ++index;
        state.currentInputFile = it.key();
        state.currentSubfolder = it.value().subfolder;
        {
            std::lock_guard guard(progress.lock);
            progress.index = index;
            progress.path = state.currentInputFile;
        }
        if (debug) PrintLine(QStringLiteral("Processing: ") + state.currentInputFile);
        const bool ok = ConvertFile(state, settings);
        if (debug) {
            PrintLine(QStringLiteral("Saving As: ") + state.currentOutputFile);
            PrintLine(ok ? QStringLiteral("OK") : QStringLiteral("Not OK"));
            if (!ok && !state.loadFailure.isEmpty()) PrintLine(state.loadFailure);
        }
        if (ok) {
            ++converted;
            state.randomNumber = DrawRandomNumber();
            ++state.counter;
            ApplyFileTimestamp(state.currentInputFile, state.currentOutputFile, settings);
        }
    }
    state.betweenSteps = nullptr;
    std::lock_guard guard(progress.lock);
    progress.converted = converted;
    return 0;
}

} // namespace tarvix
