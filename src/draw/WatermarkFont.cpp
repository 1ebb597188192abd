#include "draw/WatermarkFont.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QHash>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace tarvix {

namespace {

// The command line speaks for itself: Qt's own notes (about the session, the
// runtime folder, fonts) would only mix into a script's error stream.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

void EnsureFontSupport() {
    if (QCoreApplication::instance()) return;
    qInstallMessageHandler(QuietMessages);
    // A command-line run draws off screen; the object lives until the process ends.
    static int argc = 3;
    static char arg0[] = "tarvix", arg1[] = "-platform", arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

namespace {

// A family is usable when the system has it or a metric-compatible alias of it
// (Arial -> Liberation Sans); one that lands on the generic fallback is not.
// Looked up once per process and family: every further run and thread of the
// window, or of a folder, takes the answer (a font installed meanwhile counts
// from the next start).
bool FamilyResolves(const QString& family) {
    if (family.trimmed().isEmpty()) return false;
    static std::mutex lock;
    static QHash<QString, bool> known;
    std::lock_guard guard(lock);
    if (const auto it = known.constFind(family); it != known.constEnd()) return *it;
    const QString matched = QFontInfo(QFont(family)).family();
    bool resolves = matched.compare(family, Qt::CaseInsensitive) == 0;
    if (!resolves) {
        const QString fallback = QFontInfo(QFont(QStringLiteral("tarvix-no-such-family"))).family();
        resolves = matched.compare(fallback, Qt::CaseInsensitive) != 0;
    }
    known.insert(family, resolves);
    return resolves;
}

} // namespace

std::shared_ptr<QFont> CreateWatermarkFont(const Settings& s) {
    // Beyond a few thousand points a glyph no longer fits any picture.
    if (s.fontSize <= 0 || s.fontSize > 5000) return nullptr;
    if (!FamilyResolves(s.font)) return nullptr;
    auto font = std::make_shared<QFont>(s.font);
    font->setPixelSize((s.fontSize * kWatermarkDpi + 36) / 72);
    font->setBold(s.fontStyle == 1 || s.fontStyle == 3);
    font->setItalic(s.fontStyle == 2 || s.fontStyle == 3);
    font->setUnderline(s.fontEffect == 1);
    font->setStrikeOut(s.fontEffect == 2);
    return font;
}

} // namespace tarvix
