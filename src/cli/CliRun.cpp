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
#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace tarvix {
namespace {

// What the command line says about each file: in debug mode, the designed lines
// round each conversion on standard output; in every mode, a file that fails is
// named with its reason on standard error.
// Files converted at once report from several threads: each file's lines then
// come out together, as one block, when it is done.
class ConsoleObserver : public BatchObserver {
public:
    // total > 0: a line of progress on the terminal, redrawn as files end.
    ConsoleObserver(bool debug, bool together, int total = 0)
        : debug_(debug), together_(together), total_(total) {}
    ~ConsoleObserver() override {
        if (total_ > 0) ClearStatusLine();
    }
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
        if (total_ <= 0) return;
        ++done_;
        failed_ += converted ? 0 : 1;
        const auto now = std::chrono::steady_clock::now();
        // At most ten redraws a second, and the last file's always.
        if (now - drawn_ < std::chrono::milliseconds(100) && done_ < total_) return;
        drawn_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        ShowStatusLine(RunProgressText(done_, total_, failed_, seconds, ErrorColumns()));
    }

private:
    const bool debug_;
    const bool together_;
    const int total_;
    int done_ = 0, failed_ = 0;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point drawn_{};
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
    bool listed_ = false; // the input is a list of files ("--file-list")
    QStringList listLines_;
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
    static const SettingDef& Def(const char* group, const char* key) {
        const SettingDef* def = FindSetting(QString::fromLatin1(group), QString::fromLatin1(key));
        Q_ASSERT(def);
        return *def;
    }
    // The echo of a setting, labelled and formatted as the table says (word,
    // number or text).
    void Echo(const char* group, const char* key, const QString& ext = QString()) const {
        if (!debug_) return;
        const SettingDef& def = Def(group, key);
        PrintLine(EchoLabel(def) + EchoValue(s_, def, ext));
    }
    // A line the table labels whose value joins several settings.
    void EchoJoined(const char* group, const char* key, const QString& value) const {
        if (debug_) PrintLine(EchoLabel(Def(group, key)) + value);
    }
    // A value against the range the settings table gives it (a NaN is never inside).
    bool InRange(const char* group, const char* key) const {
        const SettingDef* def = FindSetting(QString::fromLatin1(group), QString::fromLatin1(key));
        return def && IsInRange(s_, *def);
    }
    // The designed line, then, when known, one indented line that says what
    // was wrong and what to do.
    RunOutcome Fail(const char* message) const {
        PrintLine(QStringLiteral("Error: ") + QLatin1String(message));
        if (!detail_.isEmpty()) PrintErrorDetail(detail_);
        return RunOutcome::Error;
    }
    // "800 is outside 1..100" for a ranged setting.
    void OutOfRange(const char* group, const char* key) {
        const SettingDef& def = Def(group, key);
        const QString value = def.type == FieldType::Real
                                  ? QString::number(double(GetReal(s_, def)), 'g', 6)
                                  : QString::number(GetNumber(s_, def));
        detail_ = QStringLiteral("%1 is outside %2..%3")
                      .arg(value, QString::number(def.minimum), QString::number(def.maximum));
    }
    // Why a file named on the command line cannot be used.
    QString NotATexture(const QString& path) const {
        return path + QStringLiteral(": not a texture: only .%1 files are converted")
                          .arg(st_.acceptedExtensions.join(QStringLiteral(", .")));
    }
    static QString FileProblem(const QString& path) {
        if (!FileExists(path)) return path + QStringLiteral(" does not exist");
        if (IsFolder(path)) return path + QStringLiteral(" is a folder");
        if (FileSize(path) <= 0) return path + QStringLiteral(" is empty");
        return QString();
    }
    QString detail_;

    bool ValidateInput();
    bool ValidateOutputFolder();
    bool ValidateOutputFormat(QString* error);
    void EchoTransforms();
    bool ValidateAdjustments(QString* error);
    void EchoFrame();
    bool ValidateWatermark(QString* error);
};

bool Run::ValidateInput() {
    if (!st_.cliFileList.isEmpty()) {
        // A list is read whole before anything converts: a scheduler's list
        // that cannot be read is the run's error, not a file's.
        Debug(QStringLiteral("File List: "), st_.cliFileList);
        QFile list;
        const bool standardInput = st_.cliFileList == QLatin1String("-");
        const bool open = standardInput ? list.open(stdin, QIODevice::ReadOnly)
                                        : (list.setFileName(FromCurrentFolder(st_.cliFileList)),
                                           list.open(QIODevice::ReadOnly));
        if (!open || (!standardInput && IsFolder(list.fileName()))) {
            detail_ = st_.cliFileList + QStringLiteral(" cannot be read: ") + list.errorString();
            return false;
        }
        for (const QByteArray& raw : list.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) listLines_ << line;
        }
        listed_ = folder_ = true;
        st_.currentInputFile = QDir::currentPath() + QLatin1Char('/');
        return true;
    }
    Debug(QStringLiteral("Input: "), st_.cliInputPath);
    // The folder of a relative input is the one the command was started in.
    const QString path = FromCurrentFolder(st_.cliInputPath);
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
        detail_ = FileExists(path)
                      ? path + QStringLiteral(" has no extension; textures end in .dds")
                      : FileProblem(path);
        return false;
    }
    st_.currentInputFile = path;
    st_.cliInputPath.clear();
    detail_ = FileProblem(path);
    return detail_.isEmpty();
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
    if (!IsFolder(out)) {
        const QString bare = out.chopped(1); // without the "/" a folder gets
        detail_ = FileExists(bare)
                      ? bare + QStringLiteral(" is not a folder")
                      : bare + QStringLiteral(" does not exist; the output folder is not "
                                              "created (mkdir -p %1)")
                                   .arg(bare);
        return Fail("Invalid output folder");
    }
    // Found once, before any file is decoded, rather than once per file after.
    if (::access(NativePath(out).constData(), W_OK | X_OK) != 0) {
        detail_ = out + QStringLiteral(" cannot be written to: ") +
                  QString::fromLocal8Bit(std::strerror(errno));
        return Fail("Invalid output folder");
    }

    if (st_.inputExtension.isEmpty()) st_.inputExtension = InputExtensions().value(0);
    if (st_.conversionType.isEmpty()) st_.conversionType = OutputExtensions().value(0);
    Debug(QStringLiteral("Conversion: "), st_.conversionType);
    if (!OutputExtensions().contains(st_.conversionType)) {
        detail_ = QStringLiteral("%1 is not an output format; there is one: %2 (-c %2)")
                      .arg(st_.conversionType, OutputExtensions().value(0));
        return Fail("Invalid conversion type");
    }

    QString error;
    const QString& in = st_.inputExtension;
    if (in == QLatin1String("dds")) {
        Echo("Input", "DDS Load As");
        Echo("Input", "DDS Mip Level");
        Echo("Input", "DDS Layer");
        Echo("Input", "DDS Cube Layout");
        Echo("Input", "DDS Normal Map");
        Echo("Input", "DDS Alpha");
        if (s_.ddsAlpha == kDdsAlphaBackground) Echo("Input", "DDS Background");
    } else if (in == QLatin1String("gif"))
        Echo("Input", "GIF Frame Loading");
    else if (in == QLatin1String("ico"))
        Echo("Input", "ICO Frame Loading");
    else if (in == QLatin1String("tiff"))
        Echo("Input", "TIFF Frame Loading");
    else if (in == QLatin1String("raw")) {
        Echo("Input", "RAW Load As");
        Echo("Input", "RAW Header Size");
        Echo("Input", "RAW Image Width");
        Echo("Input", "RAW Image Height");
        Echo("Input", "RAW Tone Mapping");
    }

    if (!ValidateOutputFormat(&error)) return Fail(error.toLatin1().constData());
    EchoTransforms();
    if (s_.doImageResize) {
        EchoJoined("Transform", "Image Width",
                   QString::number(s_.imageWidth) + QLatin1Char(' ') +
                       CodeToWord(VocabularyKind::SizeUnit, s_.imageWidthUnit));
        const char* both = " (both in pixels or both in percent)";
        if (s_.imageWidth == 0) {
            detail_ = s_.imageHeight == 0
                          ? QStringLiteral("--width and --height need sizes above 0")
                          : QStringLiteral("--height needs --width as well");
            detail_ += QLatin1String(both);
            return Fail("Invalid width value");
        }
        EchoJoined("Transform", "Image Height",
                   QString::number(s_.imageHeight) + QLatin1Char(' ') +
                       CodeToWord(VocabularyKind::SizeUnit, s_.imageHeightUnit));
        if (s_.imageHeight == 0) {
            detail_ = QStringLiteral("--width needs --height as well") + QLatin1String(both);
            return Fail("Invalid height value");
        }
        Echo("Transform", "Keep Aspect Ratio");
        Echo("Transform", "Image Resize Type");
        Echo("Transform", "Image Resize Algorithm");
    }
    Echo("Transform", "Do Image Flip Horizontal");
    Echo("Transform", "Do Image Flip Vertical");
    if (!ValidateAdjustments(&error)) return Fail(error.toLatin1().constData());
    EchoFrame();
    if (!ValidateWatermark(&error)) return Fail(error.toLatin1().constData());

    Echo("Advanced", "Filename Mask");
    Echo("Advanced", "File Timestamp");
    if (s_.fileTimestamp == kTimestampCustom) Echo("Advanced", "Custom Timestamp");
    Echo("Advanced", "Keep Subfolders");
    // The jobs that will run, not the setting's 0 for "one per processor".
    if (folder_) EchoJoined("Run", "Jobs", QString::number(ResolveJobs(s_, kMaxJobs)));
    if (!InRange("Run", "Jobs")) {
        OutOfRange("Run", "Jobs");
        return Fail("Invalid jobs value");
    }

    Progress(GetText(QStringLiteral("General"), QStringLiteral("Importing")));
    const QString ext = ExtensionOf(st_.currentInputFile).toLower();
    int imported = 0;
    int skipped = 0; // found below a folder but not taken: each named on standard error
    if (listed_) {
        // Each listed path as a folder run would take it; a relative one keeps
        // its folder as its subfolder, so "find . -name '*.dds'" keeps the tree.
        FolderScan found;
        QStringList& problems = found.problems;
        for (const QString& line : listLines_) {
            const QString path = QDir::cleanPath(FromCurrentFolder(line));
            if (IsFolder(path)) {
                AddInputFolder(path, st_.acceptedExtensions, found);
            } else if (const QString problem = FileProblem(path); !problem.isEmpty()) {
                problems << problem;
            } else if (!st_.acceptedExtensions.contains(ExtensionOf(path).toLower())) {
                problems << NotATexture(path);
            } else {
                InputEntry entry;
                const QString& base = st_.currentInputFile;
                if (!line.startsWith(QLatin1Char('/')) && path.startsWith(base))
                    entry.subfolder = FolderOf(path).mid(base.size());
                found.files.insert(path, entry);
            }
        }
        st_.inputList.insert(found.files);
        imported = int(st_.inputList.size());
        skipped = int(problems.size());
        for (const QString& problem : problems)
            PrintLine(QStringLiteral("Error: ") + problem);
    } else if (folder_) {
        const FolderScan scan = ScanInputFolder(st_.currentInputFile, st_.acceptedExtensions);
        st_.inputList = scan.files;
        imported = int(scan.files.size());
        skipped = int(scan.problems.size());
        for (const QString& problem : scan.problems)
            PrintLine(QStringLiteral("Error: ") + problem);
    } else if (ext != QLatin1String("txt") && ext != QLatin1String("lst")) {
        imported = SetInputFile(st_, st_.currentInputFile) ? 1 : 0;
        // A file refused for its extension is named like every other failed file.
        if (!imported && !st_.acceptedExtensions.contains(ext))
            PrintLine(QStringLiteral("Error: ") + NotATexture(st_.currentInputFile));
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
    // Only for a person watching: never in a log, under -q or beside -d's lines.
    const bool progressLine = !quiet_ && !debug_ && imported > 1 && ErrorIsTerminal();
    ConsoleObserver observer(debug_, imported > 1, progressLine ? imported : 0);
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
        Echo("Output", "BMP Compression", ext);
        Echo("Output", "BMP Color Table");
    } else if (ext == QLatin1String("exr")) {
        Echo("Output", "EXR Compression", ext);
    } else if (ext == QLatin1String("jpg")) {
        Echo("Output", "JPG Quality");
        Echo("Output", "JPG Chroma");
        Echo("Output", "JPG Save As");
    } else if (ext == QLatin1String("png")) {
        Echo("Output", "PNG Compression", ext);
        Echo("Output", "PNG Interlaced");
    } else if (ext == QLatin1String("tga")) {
        Echo("Output", "TGA Compression", ext);
    } else if (ext == QLatin1String("tiff")) {
        Echo("Output", "TIFF Compression", ext);
        Echo("Output", "TIFF Color Model");
    }
    if (!IsBppAllowed(ext, bpp.value_or(0))) {
        *error = QStringLiteral("Invalid %1-bpp value").arg(ext.toLower());
        detail_ = QStringLiteral("%1 is not one of 0 (automatic), %2")
                      .arg(bpp.value_or(0))
                      .arg(BppList(ext).replace(QLatin1Char(','), QStringLiteral(", ")));
        return false;
    }
    if (ext == QLatin1String("jpg") && !InRange("Output", "JPG Quality")) {
        *error = QStringLiteral("Invalid jpg-quality value");
        OutOfRange("Output", "JPG Quality");
        return false;
    }
    return true;
}

void Run::EchoTransforms() {
    if (!s_.doImageRotation) return;
    Echo("Transform", "Image Rotation Type");
    Echo("Transform", "Image Rotation");
    Echo("Transform", "Image Rotation Back Color");
}

bool Run::ValidateAdjustments(QString* error) {
    if (s_.doImageColorCorrection) {
        Echo("Adjustment", "Image Brightness");
        if (!InRange("Adjustment", "Image Brightness")) {
            *error = QStringLiteral("Invalid brightness value");
            OutOfRange("Adjustment", "Image Brightness");
            return false;
        }
        Echo("Adjustment", "Image Contrast");
        if (!InRange("Adjustment", "Image Contrast")) {
            *error = QStringLiteral("Invalid contrast value");
            OutOfRange("Adjustment", "Image Contrast");
            return false;
        }
        Echo("Adjustment", "Image Gamma");
        if (!InRange("Adjustment", "Image Gamma")) {
            *error = QStringLiteral("Invalid gamma value");
            OutOfRange("Adjustment", "Image Gamma");
            return false;
        }
        Echo("Adjustment", "Image Invert");
    }
    Echo("Adjustment", "Do Image Greyscale");
    if (s_.doImageThreshold) Echo("Adjustment", "Image Threshold");
    return true;
}

void Run::EchoFrame() {
    Echo("Frame", "Do Frame");
    if (s_.doFrame != kFrameSolid) return;
    Echo("Frame", "Solid Left");
    Echo("Frame", "Solid Right");
    Echo("Frame", "Solid Top");
    Echo("Frame", "Solid Bottom");
    Echo("Frame", "Solid Left Color");
    Echo("Frame", "Solid Right Color");
    Echo("Frame", "Solid Top Color");
    Echo("Frame", "Solid Bottom Color");
    Echo("Frame", "Solid Opacity");
}

bool Run::ValidateWatermark(QString* error) {
    Echo("Watermark", "Do Watermark");
    const QString offsets = QStringLiteral("%1/%2");
    if (s_.doWatermark == kWatermarkText) {
        Echo("Watermark", "Text");
        Echo("Watermark", "Font");
        Echo("Watermark", "Font Size");
        Echo("Watermark", "Font Leading");
        Echo("Watermark", "Font Color");
        Echo("Watermark", "Font Style");
        Echo("Watermark", "Font Effect");
        Echo("Watermark", "Text Antialiasing");
        Echo("Watermark", "Text Alignment");
        Echo("Watermark", "Text Padding");
        Echo("Watermark", "Text Opacity");
        Echo("Watermark", "Back Color");
        Echo("Watermark", "Back Opacity");
        Echo("Watermark", "Text Boundary");
        Echo("Watermark", "Text Position");
        EchoJoined("Watermark", "Text X Offset", offsets.arg(s_.textXOffset).arg(s_.textYOffset));
        Echo("Watermark", "Text Rotation");
        Echo("Watermark", "Text Size");
    } else if (s_.doWatermark == kWatermarkImage) {
        Echo("Watermark", "Image");
        Echo("Watermark", "Image Greyscale");
        Echo("Watermark", "Image Opacity");
        Echo("Watermark", "Image Boundary");
        Echo("Watermark", "Image Position");
        EchoJoined("Watermark", "Image X Offset",
                   offsets.arg(s_.imageXOffset).arg(s_.imageYOffset));
        Echo("Watermark", "Image Rotation");
        Echo("Watermark", "Image Size");
        if (!FileExists(s_.image) || IsFolder(s_.image) || FileSize(s_.image) <= 0) {
            *error = QStringLiteral("Invalid watermark image");
            detail_ = FileProblem(s_.image);
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

QString RunProgressText(int done, int total, int failed, double seconds, int columns) {
    QStringList parts{QStringLiteral("  %1/%2 files").arg(done).arg(total)};
    if (failed > 0) parts << QStringLiteral("%1 failed").arg(failed);
    if (done > 0 && seconds >= 1.0) {
        const double rate = done / seconds;
        parts << (rate >= 10 ? QStringLiteral("%1 files/s").arg(qRound(rate))
                             : QStringLiteral("%1 files/s").arg(rate, 0, 'f', 1));
        if (done < total) {
            const int left = qRound((total - done) / rate);
            parts << (left < 120 ? QStringLiteral("about %1 s left").arg(left)
                                 : QStringLiteral("about %1 min left").arg((left + 30) / 60));
        }
    }
    // Never wrapped: a line that wraps cannot be redrawn in place.
    QString text = parts.join(QStringLiteral(", "));
    while (columns > 0 && text.size() >= columns && parts.size() > 1) {
        parts.removeLast();
        text = parts.join(QStringLiteral(", "));
    }
    if (columns > 0 && text.size() >= columns) text = text.left(std::max(0, columns - 1));
    return text;
}

RunOutcome RunConversion(Settings& settings, RunState& state, bool quiet) {
    return Run(settings, state, quiet).Execute();
}

} // namespace tarvix
