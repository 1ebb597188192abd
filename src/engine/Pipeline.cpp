#include "engine/Pipeline.h"

#include "engine/RunOrder.h"
#include "engine/StreamJpeg.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/OutputDepth.h"
#include "settings/Vocabulary.h"

#include <cstring>
#include <optional>

namespace tarvix {

NameFacts NameFactsFor(const ConversionRequest& request, const FileJob& job,
                       const FileResult& result) {
    NameFacts facts;
    facts.input = job.input;
    facts.extension = request.conversionType;
    facts.bpp = result.outputBpp;
    facts.width = result.width;
    facts.height = result.height;
    if (job.order) {
        const RunOrder::Numbers numbers = job.order->NumbersFor(job.index);
        facts.counter = numbers.counter;
        facts.random = numbers.random;
    } else {
        facts.counter = request.firstCounter;
        facts.random = request.firstRandom;
    }
    return facts;
}

bool PrepareOutput(const ConversionRequest& request, const FileJob& job, const NameFacts& facts,
                   FileResult& result) {
    const Settings& settings = request.settings;
    // Expanded once: the clock placeholders would give the check and the save
    // names a second apart.
    const QString name = OutputFileName(facts, settings);
    const QString folder = OutputFolderOf(request.outputFolder, job.subfolder, settings);
    result.output = folder + name;
    // The mask comes from the user, a profile or config.ini: its name must stay
    // in the output folder, and the picture must never replace its own texture.
    const QString unsafe = UnsafeOutputName(name);
    if (!unsafe.isEmpty()) {
        // Most often the control character comes from the texture's own name.
        result.failure = HasControlCharacter(name) && HasControlCharacter(FileNameOf(job.input))
                             ? QStringLiteral("the name of the input file holds a control "
                                              "character, which an output name may not")
                             : unsafe;
        return false;
    }
    if (SameFile(job.input, result.output)) {
        result.failure =
            QStringLiteral("the output would replace the input file: ") + result.output;
        return false;
    }
    if (job.order && !job.order->Claim(job.index, result.output)) {
        result.failure = QStringLiteral("another file of this run is saved as ") + result.output;
        return false;
    }
    if (job.memory) return true;
    return MakeOutputFolder(request, job, folder, result);
}

bool MakeOutputFolder(const ConversionRequest& request, const FileJob& job, const QString& folder,
                      FileResult& result) {
    // A folder's subfolders are recreated below the output folder as needed.
    if (request.settings.keepSubfolders && !job.subfolder.isEmpty()) {
        if (const int error = MakeFolders(folder)) {
            result.failure = QStringLiteral("cannot create the folder %1: %2")
                                 .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
            return false;
        }
    }
    return true;
}

// The path a file that failed before it was named would have been saved as, for
// the messages: what the mask gives with what is known (a size not yet known
// reads 0). None in a counting run, where the number is not the file's to take.
QString WouldBeOutput(const ConversionRequest& request, const FileJob& job,
                      const FileResult& result) {
    if (job.order && job.order->Numbered()) return QString();
    // Outside a counting run the facts take no number and wait for nothing.
    const QString name = OutputFileName(NameFactsFor(request, job, result), request.settings);
    if (!UnsafeOutputName(name).isEmpty()) return QString();
    return OutputFolderOf(request.outputFolder, job.subfolder, request.settings) + name;
}

FileResult ConvertFile(const ConversionRequest& request, const FileJob& job) {
    FileResult result;
    bool done = false;
    if (CanStreamToJpeg(request))
        done = StreamToJpeg(request, job, result) != StreamResult::NotStreamable;
    if (!done) {
        // Every other conversion needs the whole picture, and the image library
        // with it: loaded only for those.
        QString error;
        if (const ImageApi* image = Imaging(&error))
            result = image->convertWholePicture(request, job);
        else
            result.failure = QStringLiteral("the image library could not be loaded: ") + error;
    }
    if (!result.converted && result.output.isEmpty())
        result.output = WouldBeOutput(request, job, result);
    return result;
}

} // namespace tarvix
