#include "ui/WindowedMain.h"

#include "core/AppInfo.h"
#include "core/StringTable.h"
#include "platform/Console.h"
#include "platform/InstanceSignal.h"
#include "platform/Paths.h"
#include "settings/Config.h"
#include "ui/Dialogs.h"
#include "ui/Icons.h"
#include "ui/MainWindow.h"
#include "ui/SmallWindows.h"
#include "ui/WindowedState.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

namespace tarvix {
namespace {

int g_signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t g_terminated = 0;

bool TerminatedBySignal() {
    return g_terminated != 0;
}

void OnTerminationSignal(int) {
    g_terminated = 1;
    const char byte = 1;
    (void)::write(g_signalPipe[1], &byte, 1);
}

void QuitOnTerminationSignals(QWidget* window) {
    if (::pipe2(g_signalPipe, O_CLOEXEC) != 0) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char byte;
        (void)::read(g_signalPipe[0], &byte, 1);
        // A conversion in progress keeps the window disabled: it finishes first.
        auto attempt = std::make_shared<std::function<void()>>();
        *attempt = [window, attempt] {
            if (window->isEnabled())
                window->close();
            else
                QTimer::singleShot(100, window, *attempt);
        };
        (*attempt)();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace

void AcceptKnocks(QLocalServer& server, MainWindow& window) {
    QObject::connect(&server, &QLocalServer::newConnection, &window, [&server, &window] {
        while (QLocalSocket* peer = server.nextPendingConnection()) {
            // The knock is read once the other start hung up; a peer that
            // never does is dropped after a moment, and only a little is read.
            auto answer = [&window, peer] {
                const QString file = FileOfKnock(peer->read(16384));
                peer->deleteLater();
                window.setWindowState((window.windowState() & ~Qt::WindowMinimized) |
                                      Qt::WindowActive);
                window.show();
                window.raise();
                window.activateWindow();
                if (!file.isEmpty() && window.isEnabled()) window.AcceptInputFile(file);
            };
            QObject::connect(peer, &QLocalSocket::disconnected, &window, answer);
            QTimer::singleShot(2000, peer, [peer] { peer->abort(); });
        }
    });
}

void OpenFileFromArguments(MainWindow& window, int argc, char** argv) {
    if (argc != 2 || !argv[1] || argv[1][0] == '-') return;
    const QString file = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    if (QFileInfo(file).isFile()) window.AcceptInputFile(file);
}

int RunWindowed(int argc, char** argv, Settings& settings, RunState& state) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProductName());
    QApplication::setWindowIcon(ApplicationIcon());
    // Docks and task bars match the window to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.orvella.tarvix"));

    LoadStringTable();
    const OpenUrl open = OpenOnDesktop;
    // The two special starts touch no config.ini.
    const QString first =
        argc > 1 ? QString::fromLocal8Bit(argv[1]).trimmed().toUpper() : QString();
    if (first == QLatin1String("-U")) {
        UninstallDialog dialog(open);
        dialog.exec();
        return 0;
    }
    if (first == QLatin1String("-T")) {
        ResetSettings(settings, false);
        LoadBuiltinIcons();
        LoadTheme(settings, ListThemes(), true, true, true);
        TakeScreenshots(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString(), settings, state);
        return 0;
    }

    const QScreen* screen = QGuiApplication::primaryScreen();
    settings.configPath = ConfigPath();
    QStringList configWarnings;
    LoadConfiguration(settings, settings.configPath, screen ? screen->size() : QSize(),
                      &configWarnings);
    for (const QString& line : configWarnings)
        PrintLine(line);
    if (screen)
        FitWindowToScreen(settings, screen->virtualSiblings().size() > 1
                                        ? screen->virtualGeometry()
                                        : screen->availableGeometry());
    LoadBuiltinIcons();
    const QList<ThemeEntry> themes = ListThemes();
    LoadTheme(settings, themes, true, true, true);
    MainWindow window(settings, state);
    window.SetThemes(themes);
    window.FinishSetup();
    OpenFileFromArguments(window, argc, argv);

    // A second start without parameters asks this one to come to the front.
    QLocalServer server;
    QString problem;
    const QString socket = InstanceSocketPath(&problem);
    if (!socket.isEmpty() && IsOwnSocketOrAbsent(socket, &problem)) {
        QLocalServer::removeServer(socket);
        AcceptKnocks(server, window);
        if (!server.listen(socket)) problem = socket + QStringLiteral(": ") + server.errorString();
    }
    // The window works on; only a second start cannot reach it.
    if (!problem.isEmpty())
        PrintLine(QStringLiteral("Warning: later starts cannot hand files to this window: ") +
                  problem);

    // A session that ends (logout, kill) closes the window as the user would,
    // so the settings are saved.
    QuitOnTerminationSignals(&window);
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    // Once the window is up, the start-up update check when it is due.
    QTimer::singleShot(0, &window, [&window] { window.ScheduledUpdateCheck(); });
    app.exec();

    StoreWindowState(window, settings);
    if (!settings.outFoldersHistory) settings.recentOutFolders.clear();
    if (!SaveConfiguration(settings, settings.configPath)) {
        // The old file stays whole; the user must know this session's settings
        // are not in it. A session ended by a signal has nobody to answer a box.
        const QString text =
            FormatText(GetText(QStringLiteral("Msg"), QStringLiteral("Unable to save file")),
                       settings.configPath);
        PrintLine(QStringLiteral("Warning: ") + text);
        if (!TerminatedBySignal()) ShowWarning(nullptr, text);
    }
    return 0;
}

} // namespace tarvix
