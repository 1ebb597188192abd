#include "engine/BatchWorker.h"

#include "engine/Pipeline.h"
#include "platform/FileTimes.h"
#include "platform/LocalTime.h"
#include "platform/Plugins.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <unordered_set>
#include <utility>
#include <vector>

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

namespace {

// The output names the files of one run have taken: a second file that would
// be saved under a name already taken fails instead of replacing the first.
class OutputClaims {
public:
    bool Claim(const QString& path) {
        std::lock_guard guard(lock_);
        return taken_.insert(path).second;
    }

private:
    std::mutex lock_;
    std::unordered_set<QString> taken_;
};

// One file of the list converted with a state of its own; true when saved.
bool ConvertEntry(RunState& local, const QString& path, const InputEntry& entry,
                  const Settings& settings, BatchObserver* observer) {
    local.currentInputFile = path;
    local.currentSubfolder = entry.subfolder;
    local.currentOutputFile.clear(); // a file that fails early has no name of its own
    if (observer) observer->FileStarted(path);
    const bool ok = ConvertFile(local, settings);
    if (observer)
        observer->FileFinished(path, local.currentOutputFile, ok, ok ? QString() : local.failure);
    if (ok) ApplyFileTimestamp(path, local.currentOutputFile, settings);
    return ok;
}

int ResolveJobs(const Settings& settings, qsizetype files) {
    int jobs = settings.jobs;
    if (jobs <= 0) jobs = int(std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
    return int(std::clamp<qsizetype>(jobs, 1, std::max<qsizetype>(1, files)));
}

} // namespace

int BatchWorker(RunState& state, const Settings& settings, BatchProgress& progress,
                BatchObserver* observer) {
    OutputClaims claims;
    const int jobs = ResolveJobs(settings, state.inputList.size());
    std::atomic<int32_t> converted{0};
    if (jobs == 1) {
        // One file after the other on this thread, as the window converts.
        int32_t index = 0;
        state.betweenSteps = [&progress] { progress.WaitWhilePaused(); };
        state.claimOutput = [&claims](const QString& path) { return claims.Claim(path); };
        for (auto it = state.inputList.constBegin(); it != state.inputList.constEnd(); ++it) {
            progress.WaitWhilePaused();
            if (!progress.running.load()) break;
            ++index;
            {
                std::lock_guard guard(progress.lock);
                progress.index = index;
                progress.path = it.key();
            }
            if (ConvertEntry(state, it.key(), it.value(), settings, observer)) {
                ++converted;
                state.randomNumber = DrawRandomNumber();
                ++state.counter;
            }
        }
        state.betweenSteps = nullptr;
        state.claimOutput = nullptr;
    } else {
        // Several files at once, each with a state of its own. A file's counter
        // is its place in the list, so the names follow the list whatever order
        // the files finish in.
        std::vector<std::pair<QString, InputEntry>> entries;
        entries.reserve(size_t(state.inputList.size()));
        for (auto it = state.inputList.constBegin(); it != state.inputList.constEnd(); ++it)
            entries.emplace_back(it.key(), it.value());
        std::atomic<size_t> next{0};
        const int32_t firstCounter = state.counter;
        const int32_t firstRandom = state.randomNumber;
        auto job = [&] {
            RunState local = state;
            local.betweenSteps = [&progress] { progress.WaitWhilePaused(); };
            local.claimOutput = [&claims](const QString& path) { return claims.Claim(path); };
            local.decodeAside = false;
            // A font is not to be shared between threads: each job makes its own.
            if (state.watermarkFont)
                if (const DrawApi* draw = Drawing())
                    local.watermarkFont = draw->createWatermarkFont(settings);
            for (;;) {
                progress.WaitWhilePaused();
                if (!progress.running.load()) break;
                const size_t i = next.fetch_add(1);
                if (i >= entries.size()) break;
                {
                    std::lock_guard guard(progress.lock);
                    progress.index = std::max(progress.index, int32_t(i + 1));
                    progress.path = entries[i].first;
                }
                local.counter = firstCounter + int32_t(i);
                local.randomNumber = i == 0 ? firstRandom : DrawRandomNumber();
                if (ConvertEntry(local, entries[i].first, entries[i].second, settings, observer))
                    ++converted;
            }
        };
        std::vector<std::thread> threads;
        for (int t = 1; t < jobs; ++t) {
            try {
                threads.emplace_back(job);
            } catch (const std::system_error&) {
                break; // fewer threads than asked for: the others share the list
            }
        }
        job();
        for (std::thread& t : threads)
            t.join();
    }
    std::lock_guard guard(progress.lock);
    progress.converted = converted;
    return 0;
}

} // namespace tarvix
