#include "cli/CliRun.h"

#include "core/AppInfo.h"
#include "core/BatchProgress.h"
#include "core/FormatRegistry.h"
#include "core/StringTable.h"
#include "platform/Console.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/ConversionRequest.h"
#include "request/InputSelection.h"
#include "request/OutputDepth.h"
#include "settings/SettingsTable.h"
#include "settings/Vocabulary.h"

#include <QDir>
#include <mutex>
#include <optional>

namespace tarvix {
namespace {

// What the command line says about each file: in debug mode, the designed lines
// round each conversion on standard output; in every mode, a file that fails is
// named with its reason on standard error.
// Files converted at once report from several threads: each file's lines then
// come out together, as one block, when it is done.
class ConsoleObserver : public BatchObserver {
public:
    ConsoleObserver(bool debug, bool together) : debug_(debug), together_(together) {}
    void FileStarted(const QString& input) override {
        if (debug_ && !together_) PrintLine(QStringLiteral("Processing: ") + input);
    }
    void FileFinished(const QString& input, const QString& output, bool converted,
                      const QString& failure) override {
        std::lock_guard guard(lock_);
        if (debug_) {
            if (together_) PrintLine(QStringLiteral("Processing: ") + input);
            PrintLine(QStringLiteral("Saving As: ") + output);
            PrintLine(converted ? QStringLiteral("OK") : QStringLiteral("Not OK"));
        }
        if (!converted)
            PrintLine(QStringLiteral("Error: ") + input + QStringLiteral(": ") +
                      (failure.isEmpty() ? QStringLiteral("conversion failed") : failure));
    }

private:
    const bool debug_;
    const bool together_;
    std::mutex lock_;
};

class Run {
public:
    Run(Settings& settings, RunState& state, bool quiet)
        : s_(settings), st_(state), quiet_(quiet), debug_(state.runMode == RunMode::Debug) {}

    RunOutcome Execute();

private:
    Settings& s_;
    RunState& st_;
    const bool quiet_;
    const bool debug_;
    bool folder_ = false; // the input is a folder: every texture below it
    // Built when the settings are validated, where a font that cannot be made is
    // reported; the input list joins it once imported.
    std::optional<ConversionRequest> request_;

    void Progress(const QString& text) const {
        if (!quiet_) PrintLine(text);
    }
    void Debug(const QString& label, const QString& value) const {
        if (debug_) PrintLine(label + value);
    }
    void Debug(const QString& label, int64_t value) const { Debug(label, QString::number(value)); }
    // The echo of a setting as the table formats it (word, number or text).
    void Echo(const char* label, const char* key, const QString& ext = QString()) const {
        if (!debug_) return;
        const SettingDef* def = FindSetting(QString(), QString::fromLatin1(key));
        PrintLine(QLatin1String(label) + (def ? EchoValue(s_, *def, ext) : QString()));
    }
    // A value against the range the settings table gives it (a NaN is never inside).
    bool InRange(const char* group, const char* key) const {
        const SettingDef* def = FindSetting(QString::fromLatin1(group), QString::fromLatin1(key));
        return def && IsInRange(s_, *def);
    }
    RunOutcome Fail(const char* message) const {
        PrintLine(QStringLiteral("Error: ") + QLatin1String(message));
        return RunOutcome::Error;
    }

    bool ValidateInput();
    bool ValidateOutputFolder();
    bool ValidateOutputFormat(QString* error);
    void EchoTransforms();
    bool ValidateAdjustments(QString* error);
    void EchoFrame();
    bool ValidateWatermark(QString* error);
};

bool Run::ValidateInput() {
    Debug(QStringLiteral("Input: "), st_.cliInputPath);
    QString path = st_.cliInputPath;
    // The folder of a relative input is the one the command was started in.
    if (!path.isEmpty() && !path.startsWith(QLatin1Char('/')))
        path = QDir::currentPath() + QLatin1Char('/') + path;
    if (IsFolder(path)) {
        folder_ = true;
        st_.currentInputFile = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        st_.cliInputPath.clear();
        return true;
    }
    const QString name = FileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == name.size() - 1) {
        st_.cliInputPath.clear();
        return false;
    }
    st_.currentInputFile = path;
    st_.cliInputPath.clear();
    return FileExists(path) && !IsFolder(path) && FileSize(path) > 0;
}

bool Run::ValidateOutputFolder() {
    if (st_.outputFolder.isEmpty()) st_.outputFolder = FolderOf(st_.currentInputFile);
    Debug(QStringLiteral("Output: "), st_.outputFolder);
    return true;
}

RunOutcome Run::Execute() {
    Progress(GetText(QStringLiteral("General"), QStringLiteral("Preparing")));

    if (!ValidateInput()) return Fail("Invalid input file");
    ValidateOutputFolder();

    QString& out = st_.outputFolder;
    // A relative output folder is taken from the folder the command was started
    // in, like every other path a user types.
    if (!out.startsWith(QLatin1Char('/'))) {
        if (out.startsWith(QLatin1String("./"))) out.remove(0, 2);
        out.prepend(QDir::currentPath() + QLatin1Char('/'));
    }
    if (!out.endsWith(QLatin1Char('/'))) out += QLatin1Char('/');
    if (!IsFolder(out)) return Fail("Invalid output folder");

    if (st_.inputExtension.isEmpty()) st_.inputExtension = InputExtensions().value(0);
    if (st_.conversionType.isEmpty()) st_.conversionType = OutputExtensions().value(0);
    Debug(QStringLiteral("Conversion: "), st_.conversionType);
    if (!OutputExtensions().contains(st_.conversionType)) return Fail("Invalid conversion type");

    QString error;
    const QString& in = st_.inputExtension;
    if (in == QLatin1String("dds"))
        Echo("DDS Load As: ", "DDS Load As");
    else if (in == QLatin1String("gif"))
        Echo("GIF Frame Loading: ", "GIF Frame Loading");
    else if (in == QLatin1String("ico"))
        Echo("ICO Frame Loading: ", "ICO Frame Loading");
    else if (in == QLatin1String("tiff"))
        Echo("TIFF Frame Loading: ", "TIFF Frame Loading");
    else if (in == QLatin1String("raw")) {
        Echo("RAW Load As: ", "RAW Load As");
        Echo("RAW Header Size: ", "RAW Header Size");
        Echo("RAW Image Width: ", "RAW Image Width");
        Echo("RAW Image Height: ", "RAW Image Height");
        Echo("RAW Tone Mapping: ", "RAW Tone Mapping");
    }

    if (!ValidateOutputFormat(&error)) return Fail(error.toLatin1().constData());
    EchoTransforms();
    if (s_.doImageResize) {
        Debug(QStringLiteral("Width: "),
              QString::number(s_.imageWidth) + QLatin1Char(' ') +
                  CodeToWord(VocabularyKind::SizeUnit, s_.imageWidthUnit));
        if (s_.imageWidth == 0) return Fail("Invalid width value");
        Debug(QStringLiteral("Height: "),
              QString::number(s_.imageHeight) + QLatin1Char(' ') +
                  CodeToWord(VocabularyKind::SizeUnit, s_.imageHeightUnit));
        if (s_.imageHeight == 0) return Fail("Invalid height value");
        Echo("Keep Aspect Ratio: ", "Keep Aspect Ratio");
        Echo("Image Resize Type: ", "Image Resize Type");
        Echo("Image Resize Algorithm: ", "Image Resize Algorithm");
    }
    Echo("Flip Horizontal: ", "Do Image Flip Horizontal");
    Echo("Flip Vertical: ", "Do Image Flip Vertical");
    if (!ValidateAdjustments(&error)) return Fail(error.toLatin1().constData());
    EchoFrame();
    if (!ValidateWatermark(&error)) return Fail(error.toLatin1().constData());

    Echo("Filename Mask: ", "Filename Mask");
    Echo("File Timestamp: ", "File Timestamp");
    if (s_.fileTimestamp == kTimestampCustom) Echo("Custom Timestamp: ", "Custom Timestamp");
    Echo("Keep Subfolders: ", "Keep Subfolders");
    if (folder_) Echo("Jobs: ", "Jobs");
    if (!InRange("Run", "Jobs")) return Fail("Invalid jobs value");

    Progress(GetText(QStringLiteral("General"), QStringLiteral("Importing")));
    const QString ext = ExtensionOf(st_.currentInputFile).toLower();
    int imported = 0;
    int skipped = 0; // found below a folder but not taken: each named on standard error
    if (folder_) {
        const FolderScan scan = ScanInputFolder(st_.currentInputFile, st_.acceptedExtensions);
        st_.inputList = scan.files;
        imported = int(scan.files.size());
        skipped = int(scan.problems.size());
        for (const QString& problem : scan.problems)
            PrintLine(QStringLiteral("Error: ") + problem);
    } else if (ext != QLatin1String("txt") && ext != QLatin1String("lst")) {
        imported = SetInputFile(st_, st_.currentInputFile) ? 1 : 0;
    }
    Progress(FormatText(GetText(QStringLiteral("Msg"), QStringLiteral("Import complete")),
                        QString::number(imported)));
    if (imported == 0) {
        PrintLine(GetText(QStringLiteral("Msg"), QStringLiteral("Conversion is not complete")));
        PrintLine(GetText(QStringLiteral("Msg"), QStringLiteral("Empty input files")));
        return RunOutcome::Stopped;
    }

    Progress(GetText(QStringLiteral("General"), QStringLiteral("Converting")));
    QString reason;
    const EngineApi* engine = Engine(&reason);
    if (!engine) {
        PrintLine(QStringLiteral("Error: The conversion engine could not be loaded: ") + reason);
        PrintLine(GetText(QStringLiteral("Msg"), QStringLiteral("Conversion is not complete")));
        return RunOutcome::Stopped;
    }
    BatchProgress progress;
    progress.Reset();
    ConsoleObserver observer(debug_, imported > 1);
    request_->inputs = st_.inputList;
    // The main thread has nothing to do while the worker runs, so the worker
    // runs on it.
    engine->batchWorker(*request_, progress, &observer);

    int32_t converted = 0;
    {
        std::lock_guard guard(progress.lock);
        converted = progress.converted;
    }
    request_.reset(); // the run is over; so is its font
    if (converted > 0) {
        Progress(GetText(QStringLiteral("Msg"), QStringLiteral("Conversion complete")));
        Progress(FormatText(GetText(QStringLiteral("Msg"), QStringLiteral("Files converted")),
                            QString::number(converted), QString::number(imported)));
        return converted == imported && skipped == 0 ? RunOutcome::Converted : RunOutcome::Partial;
    }
    PrintLine(GetText(QStringLiteral("Msg"), QStringLiteral("Conversion is not complete")));
    return RunOutcome::Stopped;
}

bool Run::ValidateOutputFormat(QString* error) {
    // Every offered output format that is the run's conversion type gets its
    // echo and its bits-per-pixel check.
    const QString& ext = st_.conversionType;
    const QString upper = ext.toUpper();
    const std::optional<int32_t> bpp = BppSettingFor(ext, s_);
    Debug(upper + QStringLiteral(" BPP: "), bpp.value_or(0));
    if (ext == QLatin1String("bmp")) {
        Echo("BMP Compression: ", "BMP Compression", ext);
        Echo("BMP Color Table: ", "BMP Color Table");
    } else if (ext == QLatin1String("exr")) {
        Echo("EXR Compression: ", "EXR Compression", ext);
    } else if (ext == QLatin1String("jpg")) {
        Echo("JPG Quality: ", "JPG Quality");
        Echo("JPG Chroma Subsampling: ", "JPG Chroma");
        Echo("JPG Save As: ", "JPG Save As");
    } else if (ext == QLatin1String("png")) {
        Echo("PNG Compression: ", "PNG Compression", ext);
        Echo("PNG Interlaced: ", "PNG Interlaced");
    } else if (ext == QLatin1String("tga")) {
        Echo("TGA Compression: ", "TGA Compression", ext);
    } else if (ext == QLatin1String("tiff")) {
        Echo("TIFF Compression: ", "TIFF Compression", ext);
        Echo("TIFF Color Model: ", "TIFF Color Model");
    }
    if (!IsBppAllowed(ext, bpp.value_or(0))) {
        *error = QStringLiteral("Invalid %1-bpp value").arg(ext.toLower());
        return false;
    }
    if (ext == QLatin1String("jpg") && !InRange("Output", "JPG Quality")) {
        *error = QStringLiteral("Invalid jpg-quality value");
        return false;
    }
    return true;
}

void Run::EchoTransforms() {
    if (!s_.doImageRotation) return;
    Echo("Image Rotation Type: ", "Image Rotation Type");
    Debug(QStringLiteral("Image Rotation: "), s_.imageRotation);
    Echo("Image Rotation Back Color: ", "Image Rotation Back Color");
}

bool Run::ValidateAdjustments(QString* error) {
    if (s_.doImageColorCorrection) {
        Debug(QStringLiteral("Brightness: "), s_.imageBrightness);
        if (!InRange("Adjustment", "Image Brightness")) {
            *error = QStringLiteral("Invalid brightness value");
            return false;
        }
        Debug(QStringLiteral("Contrast: "), s_.imageContrast);
        if (!InRange("Adjustment", "Image Contrast")) {
            *error = QStringLiteral("Invalid contrast value");
            return false;
        }
        Echo("Gamma: ", "Image Gamma");
        if (!InRange("Adjustment", "Image Gamma")) {
            *error = QStringLiteral("Invalid gamma value");
            return false;
        }
        Debug(QStringLiteral("Invert: "), s_.imageInvert);
    }
    Debug(QStringLiteral("Greyscale: "), s_.doImageGreyscale);
    if (s_.doImageThreshold) Debug(QStringLiteral("Image Threshold: "), s_.imageThreshold);
    return true;
}

void Run::EchoFrame() {
    Echo("Frame: ", "Do Frame");
    if (s_.doFrame != kFrameSolid) return;
    Debug(QStringLiteral("Frame left: "), s_.solidLeft);
    Debug(QStringLiteral("Frame right: "), s_.solidRight);
    Debug(QStringLiteral("Frame top: "), s_.solidTop);
    Debug(QStringLiteral("Frame bottom: "), s_.solidBottom);
    Debug(QStringLiteral("Frame left color: "), s_.solidLeftColor);
    Debug(QStringLiteral("Frame right color: "), s_.solidRightColor);
    Debug(QStringLiteral("Frame top color: "), s_.solidTopColor);
    Debug(QStringLiteral("Frame bottom color: "), s_.solidBottomColor);
    Debug(QStringLiteral("Frame opacity: "), s_.solidOpacity);
}

bool Run::ValidateWatermark(QString* error) {
    Echo("Watermark: ", "Do Watermark");
    const QString offsets = QStringLiteral("%1/%2");
    if (s_.doWatermark == kWatermarkText) {
        Echo("Watermark text: ", "Text");
        Echo("Watermark font: ", "Font");
        Echo("Watermark font size: ", "Font Size");
        Echo("Watermark font leading: ", "Font Leading");
        Echo("Watermark font color: ", "Font Color");
        Echo("Watermark font style: ", "Font Style");
        Echo("Watermark font effect: ", "Font Effect");
        Echo("Watermark text antialiasing: ", "Text Antialiasing");
        Echo("Watermark text alignment: ", "Text Alignment");
        Echo("Watermark text padding: ", "Text Padding");
        Echo("Watermark text opacity: ", "Text Opacity");
        Echo("Watermark background color: ", "Back Color");
        Echo("Watermark background opacity: ", "Back Opacity");
        Echo("Watermark boundary: ", "Text Boundary");
        Echo("Watermark position: ", "Text Position");
        Debug(QStringLiteral("Watermark offset (x/y): "),
              offsets.arg(s_.textXOffset).arg(s_.textYOffset));
        Echo("Watermark rotation: ", "Text Rotation");
        Echo("Watermark size/mode: ", "Text Size");
    } else if (s_.doWatermark == kWatermarkImage) {
        Echo("Watermark image: ", "Image");
        Echo("Watermark greyscale: ", "Image Greyscale");
        Echo("Watermark opacity: ", "Image Opacity");
        Echo("Watermark boundary: ", "Image Boundary");
        Echo("Watermark position: ", "Image Position");
        Debug(QStringLiteral("Watermark offset (x/y): "),
              offsets.arg(s_.imageXOffset).arg(s_.imageYOffset));
        Debug(QStringLiteral("Watermark rotation: "), s_.watermarkImageRotation);
        Echo("Watermark size/mode: ", "Image Size");
        if (!FileExists(s_.image) || IsFolder(s_.image) || FileSize(s_.image) <= 0) {
            *error = QStringLiteral("Invalid watermark image");
            return false;
        }
    }
    // The run's output parameters, and a text watermark's font.
    request_ = BuildConversionRequest(st_, s_);
    if (!request_) {
        *error = QStringLiteral("Invalid watermark font");
        return false;
    }
    return true;
}

} // namespace

RunOutcome RunConversion(Settings& settings, RunState& state, bool quiet) {
    return Run(settings, state, quiet).Execute();
}

} // namespace tarvix
