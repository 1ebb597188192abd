// Takes screenshots of the main window as a user sees it: empty, with a file
// chosen, during a conversion and after it; then every page of the preferences
// dialog (with the frame and the text watermark switched on, so their rows
// show). Run it on a real display or under
// Xvfb:
//
//   xvfb-run -s "-screen 0 800x480x24" build/tests/tarvix_window_shots OUT-FOLDER INPUT.dds

#include "core/StringTable.h"
#include "request/ConversionRequest.h"
#include "settings/Settings.h"
#include "theme/Themes.h"
#include "ui/Icons.h"
#include "ui/MainWindow.h"
#include "ui/PreferencesDialog.h"
#include "ui/PreviewWindow.h"
#include "ui/ProgressWindow.h"
#include "ui/SmallWindows.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>

using namespace tarvix;

namespace {

void Settle(int ms = 150) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void Shoot(const QString& path, QWidget* fallback) {
    QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (shot.isNull() || QGuiApplication::platformName() == QLatin1String("offscreen"))
        shot = fallback->grab();
    shot.save(path);
    std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(ApplicationIcon());
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUT-FOLDER INPUT.dds\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString input = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    LoadStringTable();
    LoadBuiltinIcons();
    Settings settings;
    ResetSettings(settings, false, QSize(800, 480));
    settings.x = 20;
    settings.y = 20;
    settings.width = 560;
    // A slow edit so the progress window is seen at work.
    settings.doImageResize = 1;
    settings.imageWidth = settings.imageHeight = 400;
    settings.imageWidthUnit = settings.imageHeightUnit = 1;
    settings.imageResizeAlgorithm = 5;
    RunState state;
    ResetRunState(state);
    MainWindow window(settings, state);
    window.FinishSetup();
    Settle();
    Shoot(out + "/1-empty.png", &window);

    window.AcceptInputFile(input);
    Settle();
    Shoot(out + "/2-file-chosen.png", &window);

    bool during = false;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = qobject_cast<ProgressWindow*>(QApplication::activeModalWidget());
        if (!progress) return;
        if (!during && !progress->okButton()->isEnabled() && !progress->label()->text().isEmpty()) {
            during = true;
            QApplication::processEvents();
            Shoot(out + "/3-converting.png", progress);
        } else if (progress->okButton()->isEnabled()) {
            watch.stop();
            Settle(100);
            Shoot(out + "/4-converted.png", progress);
            progress->okButton()->click();
        }
    });
    watch.start();
    window.Dispatch(kCommandConvert);
    Settle();
    Shoot(out + "/5-after.png", &window);

    // The preview beside the window, with a frame and a resize to see.
    settings.doFrame = 1;
    window.Dispatch(kCommandPreview);
    window.previewWindow()->move(60, 60);
    for (int i = 0; i < 100 && window.previewWindow()->Working(); ++i)
        Settle(20);
    Settle(100);
    Shoot(out + "/5-preview.png", window.previewWindow());
    window.previewWindow()->hide();
    settings.doFrame = 0;

    // The main window with each delivered theme at each icon size.
    const QList<ThemeEntry> themes = ListThemes();
    window.SetThemes(themes);
    for (const ThemeEntry& theme : themes)
        for (int size = 0; size < 3; ++size) {
            settings.uiTheme = theme.id;
            settings.uiSize = size;
            window.ApplyPreferences(-1, 1);
            Settle(100);
            Shoot(QStringLiteral("%1/7-theme-%2-%3.png").arg(out, theme.id).arg(size), &window);
        }

    settings.doFrame = 1;
    settings.doWatermark = 1;
    settings.doImageRotation = 1;
    PreferencesDialog dialog(&window, settings);
    dialog.move(60, 60);
    dialog.show();
    for (int page = 0; page < 9; ++page) {
        dialog.ShowPage(page);
        Settle(100);
        Shoot(QStringLiteral("%1/6-preferences-%2.png").arg(out).arg(page), &dialog);
    }
    // The small windows.
    const OpenUrl nowhere = [](const QUrl&) {};
    AboutWindow about(&window, nowhere);
    about.move(60, 60);
    about.show();
    Settle(100);
    Shoot(out + "/8-about.png", &about);
    about.hide();
    CustomConverterDialog finder(&window, nowhere);
    finder.move(60, 60);
    finder.show();
    Settle(100);
    Shoot(out + "/8-converter.png", &finder);
    finder.hide();
    UninstallDialog uninstall(nowhere);
    uninstall.move(60, 60);
    uninstall.show();
    Settle(100);
    Shoot(out + "/8-uninstall.png", &uninstall);
    return 0;
}
