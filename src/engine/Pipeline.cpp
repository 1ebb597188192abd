#include "engine/Pipeline.h"

#include "engine/ImageFile.h"
#include "engine/LoadAs.h"
#include "engine/PixelStore.h"
#include "engine/RunOrder.h"
#include "engine/SaveFlags.h"
#include "engine/Steps.h"
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

namespace {

FileResult ConvertWholePicture(const ConversionRequest& request, const FileJob& job) {
    const Settings& settings = request.settings;
    FileResult result;
    auto pausePoint = [&job] {
        if (job.betweenSteps) job.betweenSteps();
    };
    PixelStore store;
    // A JPEG keeps no alpha, so the picture is decoded without it: the same
    // file, with less memory and no conversion to 24 bits.
    const bool opaque =
        request.conversionType == QLatin1String("jpg") && request.options.allowOpaqueDecode;
    FIBITMAP* image =
        LoadInputImage(job.input, &result.failure, &store, opaque, TextureRequest(settings));
    image = ApplyLoadAs(image, settings.ddsLoadAs);
    store.Release(image);

    const unsigned width = image ? FreeImage_GetWidth(image) : 0;
    const unsigned height = image ? FreeImage_GetHeight(image) : 0;
    result.sourceBpp = image ? int32_t(FreeImage_GetBPP(image)) : 0;
    result.outputBpp = request.AutoDepth() ? AutoDepth(request.conversionType, result.sourceBpp)
                                           : request.outputBpp;
    if (width == 0 || height == 0) {
        if (image) FreeImage_Unload(image);
        if (result.failure.isEmpty()) result.failure = QStringLiteral("the image has no pixels");
        return result;
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
    result.width = outWidth;
    result.height = outHeight;
    // Asked for once, as late as it can be: in a counting run it waits for the
    // earlier files.
    std::optional<NameFacts> facts;
    auto factsNow = [&]() -> const NameFacts& {
        if (!facts) facts = NameFactsFor(request, job, result);
        return *facts;
    };
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
            result.failure = QStringLiteral("the drawing library could not be loaded: ") + error;
            return result;
        }
        pausePoint();
        image = draw->applyFrame(image, outWidth, outHeight, settings);
        pausePoint();
        const bool hadPicture = image != nullptr;
        const QFont* font = job.font ? job.font : request.watermarkFont.get();
        const NameFacts none;
        image = draw->applyWatermark(image, outWidth, outHeight,
                                     settings.doWatermark == kWatermarkText ? factsNow() : none,
                                     font, settings);
        if (hadPicture && !image) {
            result.failure =
                settings.doWatermark == kWatermarkImage
                    ? QStringLiteral("the watermark picture could not be loaded: ") + settings.image
                    : QStringLiteral("the watermark could not be drawn");
            return result;
        }
    }
    image = ApplyOutputDepth(image, result.outputBpp, request.conversionType);
    store.Release(image);
    if (!PrepareOutput(request, job, factsNow(), result)) {
        if (image) FreeImage_Unload(image);
        return result;
    }
    result.converted =
        SaveImageFile(request.formatCode, image, result.output,
                      SaveFlagsFor(request.conversionType, settings), &result.failure, job.memory);
    if (image) FreeImage_Unload(image);
    return result;
}

} // namespace

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
    if (!done) result = ConvertWholePicture(request, job);
    if (!result.converted && result.output.isEmpty())
        result.output = WouldBeOutput(request, job, result);
    return result;
}

} // namespace tarvix
