#include "engine/BatchWorker.h"

#include "engine/Pipeline.h"
#include "platform/FileTimes.h"
#include "platform/LocalTime.h"
#include "settings/Vocabulary.h"

namespace tarvix {

void ApplyFileTimestamp(const QString& input, const QString& output, const Settings& settings) {
    // A time that cannot be set is not worth failing a converted file for.
    if (settings.fileTimestamp == kTimestampOriginal) {
        const std::time_t original = ModificationTime(input);
        if (original >= 0) SetModificationTime(output, original);
    } else if (settings.fileTimestamp == kTimestampCustom) {
        SetModificationTime(output, FromLocalSeconds(settings.customTimestamp));
    }
}

int BatchWorker(RunState& state, const Settings& settings, BatchProgress& progress,
                BatchObserver* observer) {
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
        if (observer) observer->FileStarted(state.currentInputFile);
        const bool ok = ConvertFile(state, settings);
        if (observer)
            observer->FileFinished(state.currentInputFile, state.currentOutputFile, ok,
                                   ok ? QString() : state.failure);
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
