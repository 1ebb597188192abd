#include "app/Startup.h"

#include "cli/CliRun.h"
#include "cli/Help.h"
#include "cli/OptionParser.h"
#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "core/StringTable.h"
#include "platform/Console.h"
#include "platform/InstanceLock.h"
#include "platform/InstanceSignal.h"
#include "platform/Paths.h"
#include "platform/Plugins.h"
#include "request/ConversionRequest.h"

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
    QString reason;
    if (!windowed) windowed = Windowed(&reason);
    if (!windowed) {
        PrintLine(QStringLiteral("Error: The windowed mode could not be started: ") + reason);
        return kExitNothingConverted;
    }
    return windowed(argc, argv, settings, state);
}

// Returns the exit status, or -1 to go on to the windowed mode.
int HandleCommandLine(int argc, char** argv, Settings& settings, RunState& state) {
    const ParameterList params = ParameterList::FromArgv(argc, argv);
    if (params.Count() == 0) return -1;

    FillFormatRegistry();
    ResetRunState(state);
    ResetSettings(settings, true);
    LoadStringTable();

    const QString first = params.OptionName(0);
    if (first == QLatin1String("-U") || first == QLatin1String("-T")) return -1;
    if (first == QLatin1String("-V") || first == QLatin1String("--VERSION")) {
        PrintVersion();
        return kExitOk;
    }
    if (first == QLatin1String("-H") || first == QLatin1String("-?") ||
        first == QLatin1String("--HELP")) {
        PrintHelp(FileNameOf(QFile::decodeName(argv[0])));
        return kExitOk;
    }

    const ParseResult parsed = ParseOptions(params, settings, state);
    if (!parsed.error.isEmpty()) {
        PrintLine(QStringLiteral("Error: ") + parsed.error);
        if (parsed.pause) WaitForKey();
        return kExitUsageError;
    }
    if (!state.cliInputGiven) return -1;

    if (!parsed.quiet) PrintBanner();
    const RunOutcome outcome = RunConversion(settings, state, parsed.quiet);
    if (parsed.pause) {
        PrintLine(QStringLiteral("Press any key to exit."));
        WaitForKey();
    }
    switch (outcome) {
    case RunOutcome::Converted:
        return kExitOk;
    case RunOutcome::Stopped:
        return kExitNothingConverted;
    case RunOutcome::Error:
        return kExitUsageError;
    }
    return kExitOk;
}

} // namespace

int RunApplication(int argc, char** argv, WindowedEntry windowed) {
    // The lock is taken before the command line is looked at, so any start made
    // while another instance runs ends here.
    static InstanceLock lock;
    if (lock.Acquire(InstanceLock::DefaultPath()) == InstanceLock::Result::HeldByOther) {
        if (argc > 1)
            PrintLine(QStringLiteral("Error: Another instance of ") + ProductName() +
                      QStringLiteral(" is already running"));
        else
            SignalRunningInstance();
        return kExitAlreadyRunning;
    }

    static Settings settings;
    static RunState state;
    const int status = HandleCommandLine(argc, argv, settings, state);
    if (status >= 0) return status;
    return StartWindowed(argc, argv, settings, state, windowed);
}

} // namespace tarvix
