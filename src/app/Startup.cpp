#include "app/Startup.h"

#include "cli/CliRun.h"
#include "cli/Help.h"
#include "cli/OptionParser.h"
#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "core/StringTable.h"
#include "platform/Console.h"
#include "platform/Display.h"
#include "platform/InstanceLock.h"
#include "platform/InstanceSignal.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/ConversionRequest.h"
#include "request/InputSelection.h"

#include <QDir>
#include <QFile>

namespace tarvix {
namespace {

void PrintBanner() {
    PrintLine(AppTitle());
    QString notice = ProductNotice();
    PrintLine(notice.replace(QChar(0x00A9), QStringLiteral("(c)")));
    PrintLine(ProductPage());
    PrintLine(QStringLiteral(" "));
}

int StartWindowed(int argc, char** argv, Settings& settings, RunState& state,
                  WindowedEntry windowed) {
    // Without a display the toolkit would abort the process with a message about
    // reinstalling; say what is wrong and what works instead.
    if (!GraphicalSessionAvailable()) {
        PrintLine(QStringLiteral("Error: the window needs a graphical session; to convert from a "
                                 "terminal use tarvix -i FILE, see tarvix -h"));
        return kExitUsageError;
    }
    QString reason;
    if (!windowed) windowed = Windowed(&reason);
    if (!windowed) {
        PrintLine(QStringLiteral("Error: The windowed mode could not be started: ") + reason);
        return kExitNothingConverted;
    }
    return windowed(argc, argv, settings, state);
}

// The conversion engine, or null after saying on standard error why it could
// not be loaded.
const EngineApi* LoadEngine() {
    QString reason;
    const EngineApi* engine = Engine(&reason);
    if (!engine)
        PrintLine(QStringLiteral("Error: The conversion engine could not be loaded: ") + reason);
    return engine;
}

// "--thumbnail SIZE INPUT OUTPUT", as file managers call it: no lock, no
// settings, no console output but an error line.
int RunThumbnail(const ParameterList& params) {
    bool ok = false;
    const int size = params.At(1).toInt(&ok);
    if (params.Count() != 4 || !ok || size < 1 || size > 1024) {
        PrintLine(
            QStringLiteral("Error: usage: tarvix --thumbnail SIZE INPUT OUTPUT (SIZE 1 to 1024)"));
        return kExitUsageError;
    }
    const EngineApi* engine = LoadEngine();
    if (!engine) return kExitNothingConverted;
    const QString input = params.At(2);
    QString reason;
    if (!engine->writeThumbnail(input, params.At(3), size, &reason)) {
        PrintLine(QStringLiteral("Error: ") + input + QStringLiteral(": ") + reason);
        return kExitNothingConverted;
    }
    return kExitOk;
}

// "--info FILE...": what each texture (or every texture below a folder) holds,
// without converting. 0 when every header could be read.
int RunInfo(const ParameterList& params) {
    if (params.Count() < 2) {
        PrintLine(QStringLiteral("Error: usage: tarvix --info FILE... (files or folders)"));
        return kExitUsageError;
    }
    const EngineApi* engine = LoadEngine();
    if (!engine) return kExitNothingConverted;
    FillFormatRegistry();
    bool all = true;
    for (qsizetype k = 1; k < params.Count(); ++k) {
        const QString path = FromCurrentFolder(params.At(k));
        QStringList files;
        if (IsFolder(path)) {
            const FolderScan scan =
                ScanInputFolder(path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/'),
                                BuildAcceptedExtensions());
            files = scan.files.keys();
            for (const QString& problem : scan.problems)
                PrintLine(QStringLiteral("Error: ") + problem);
            all = all && scan.problems.isEmpty();
        } else {
            files << path;
        }
        for (const QString& file : files) {
            bool read = false;
            for (const QString& line : engine->describeTexture(file, &read))
                PrintLine(line);
            all = all && read;
        }
    }
    return all ? kExitOk : kExitNothingConverted;
}

// One parameter that is no option and names a file: the desktop's "open with".
QString OpenWithFile(const ParameterList& params) {
    if (params.Count() != 1 || !params.OptionName(0).isEmpty()) return QString();
    const QString path = FromCurrentFolder(params.At(0));
    return FileExists(path) && !IsFolder(path) ? path : QString();
}

bool IsVersionRequest(const QString& first) {
    return first == QLatin1String("-V") || first == QLatin1String("--VERSION");
}

bool IsHelpRequest(const QString& first) {
    return first == QLatin1String("-H") || first == QLatin1String("-?") ||
           first == QLatin1String("--HELP");
}

// Returns the exit status, or -1 to go on to the windowed mode.
int HandleCommandLine(const ParameterList& params, const char* argv0, Settings& settings,
                      RunState& state) {
    if (params.Count() == 0) return -1;

    FillFormatRegistry();
    ResetRunState(state);
    ResetSettings(settings, true);
    LoadStringTable();

    const QString first = params.OptionName(0);
    if (first == QLatin1String("-U") || first == QLatin1String("-T")) return -1;
    if (IsVersionRequest(first)) {
        PrintVersion();
        return kExitOk;
    }
    if (IsHelpRequest(first)) {
        PrintHelp(FileNameOf(QFile::decodeName(argv0)));
        return kExitOk;
    }

    const ParseResult parsed = ParseOptions(params, settings, state);
    for (const QString& warning : parsed.warnings)
        PrintLine(warning);
    if (!parsed.error.isEmpty()) {
        PrintLine(QStringLiteral("Error: ") + parsed.error);
        if (!parsed.detail.isEmpty()) PrintErrorDetail(parsed.detail);
        if (parsed.pause) WaitForKey();
        return kExitUsageError;
    }
    if (!state.cliInputGiven) return -1;

    if (!parsed.quiet) PrintBanner();
    // Standard error carries the program's own "Error: " and "Warning: " lines
    // only: the libraries' chatter (a damaged PNG, a font fallback) is dropped.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const RunOutcome outcome = RunConversion(settings, state, parsed.quiet);
    if (parsed.pause) {
        PrintLine(QStringLiteral("Press any key to exit."));
        WaitForKey();
    }
    switch (outcome) {
    case RunOutcome::Converted:
        return kExitOk;
    case RunOutcome::Partial:
    case RunOutcome::Stopped:
        return kExitNothingConverted;
    case RunOutcome::Error:
        return kExitUsageError;
    }
    return kExitOk;
}

} // namespace

int RunApplication(int argc, char** argv, WindowedEntry windowed) {
    const ParameterList params = ParameterList::FromArgv(argc, argv);
    // The lock is taken before the command line is parsed, so any start made
    // while another instance runs ends here; help and version touch nothing the
    // lock protects and answer anyway.
    const QString first = params.OptionName(0);
    if (first == QLatin1String("--THUMBNAIL")) return RunThumbnail(params);
    if (first == QLatin1String("--INFO")) return RunInfo(params);
    const QString openWith = OpenWithFile(params);
    const bool needsLock = !IsHelpRequest(first) && !IsVersionRequest(first);
    static InstanceLock lock;
    const InstanceLock::Result locked =
        needsLock ? lock.Acquire(InstanceLock::DefaultPath()) : InstanceLock::Result::Acquired;
    if (locked == InstanceLock::Result::NotOurs)
        PrintLine(QStringLiteral("Warning: the lock file ") + InstanceLock::DefaultPath() +
                  QStringLiteral(" belongs to another user; running without the single-instance "
                                 "lock"));
    if (locked == InstanceLock::Result::HeldByOther) {
        if (!openWith.isEmpty())
            SignalRunningInstance(openWith); // the running window takes the file
        else if (argc > 1) {
            PrintLine(QStringLiteral("Error: Another instance of ") + ProductName() +
                      QStringLiteral(" is already running"));
            PrintErrorDetail(
                QStringLiteral("convert many files in one run: tarvix -i FOLDER, or --jobs=N"));
        } else {
            SignalRunningInstance();
        }
        return kExitAlreadyRunning;
    }

    static Settings settings;
    static RunState state;
    // A file opened from the desktop goes straight to the window, which takes it.
    if (!openWith.isEmpty()) return StartWindowed(argc, argv, settings, state, windowed);
    const int status = HandleCommandLine(params, argc > 0 ? argv[0] : "tarvix", settings, state);
    if (status >= 0) return status;
    return StartWindowed(argc, argv, settings, state, windowed);
}

} // namespace tarvix
