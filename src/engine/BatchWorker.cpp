#include "engine/BatchWorker.h"

#include "engine/ImageFile.h"
#include "engine/Pipeline.h"
#include "engine/RunOrder.h"
#include "platform/FileTimes.h"
#include "platform/LocalTime.h"
#include "platform/Plugins.h"
#include "request/Naming.h"
#include "settings/Vocabulary.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
#include <thread>
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

int BatchWorker(const ConversionRequest& request, BatchProgress& progress,
                BatchObserver* observer) {
    const Settings& settings = request.settings;
    std::vector<std::pair<QString, InputEntry>> entries;
    entries.reserve(size_t(request.inputs.size()));
    for (auto it = request.inputs.constBegin(); it != request.inputs.constEnd(); ++it)
        entries.emplace_back(it.key(), it.value());
    const int jobs = ResolveJobs(settings, qsizetype(entries.size()));
    SweepStaleTemporaries(request.outputFolder);
    RunOrder order(entries.size(), request.firstCounter, request.firstRandom,
                   UsesRunNumbers(settings));
    std::atomic<size_t> next{0};
    std::atomic<int32_t> converted{0};

    auto job = [&](bool first) {
        FileJob file;
        file.order = &order;
        file.betweenSteps = [&progress] { progress.WaitWhilePaused(); };
        file.decodeAside = jobs == 1;
        // A font is not to be shared between threads: each further thread makes
        // its own.
        std::shared_ptr<QFont> ownFont;
        if (!first && request.watermarkFont)
            if (const DrawApi* draw = Drawing()) ownFont = draw->createWatermarkFont(settings);
        file.font = ownFont ? ownFont.get() : request.watermarkFont.get();
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
            file.input = entries[i].first;
            file.subfolder = entries[i].second.subfolder;
            file.index = i;
            if (observer) observer->FileStarted(file.input);
            const FileResult result = ConvertFile(request, file);
            if (observer)
                observer->FileFinished(file.input, result.output, result.converted, result.failure);
            if (result.converted) {
                ApplyFileTimestamp(file.input, result.output, settings);
                ++converted;
            }
            order.Settle(i, result.converted);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < jobs; ++t) {
        try {
            threads.emplace_back(job, false);
        } catch (const std::system_error&) {
            break; // fewer threads than asked for: the others share the list
        }
    }
    job(true);
    for (std::thread& t : threads)
        t.join();
    std::lock_guard guard(progress.lock);
    progress.converted = converted;
    return 0;
}

} // namespace tarvix
