#include "platform/Plugins.h"

#include "platform/Paths.h"

#include <QFile>
#include <dlfcn.h>
#include <mutex>

#ifndef TARVIX_PLUGIN_DIR
#define TARVIX_PLUGIN_DIR "/usr/local/lib/tarvix"
#endif
#ifndef TARVIX_PLUGIN_RELATIVE
#define TARVIX_PLUGIN_RELATIVE "../lib/tarvix"
#endif

namespace tarvix {
namespace {

// Beside the executable (a build tree), else where an install puts them
// relative to the executable, else where the build was configured to install.
void* Load(const char* name, QString* error) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    const QString file = QStringLiteral("libtarvix-%1.so").arg(QLatin1String(name));
    QString reason;
    for (const QString& folder :
         {ProgramFolder(), ProgramFolder() + QStringLiteral(TARVIX_PLUGIN_RELATIVE "/"),
          QStringLiteral(TARVIX_PLUGIN_DIR "/")}) {
        const QByteArray path = QFile::encodeName(folder + file);
        if (!QFile::exists(folder + file)) continue;
        if (void* handle = ::dlopen(path.constData(), RTLD_NOW | RTLD_GLOBAL)) return handle;
        reason = QString::fromLocal8Bit(::dlerror());
    }
    if (error) *error = reason.isEmpty() ? QStringLiteral("%1 not found").arg(file) : reason;
    return nullptr;
}

template <typename T> T Symbol(const char* library, const char* name, QString* error) {
    void* handle = Load(library, error);
    if (!handle) return nullptr;
    void* symbol = ::dlsym(handle, name);
    if (!symbol && error) *error = QString::fromLocal8Bit(::dlerror());
    return reinterpret_cast<T>(symbol);
}

// A library's table: the one linked in (the tests), else the loaded library's.
template <typename Api>
const Api* Table(const Api* (*linked)(), const char* library, const char* symbol, QString* error) {
    if (linked) return linked();
    using Get = const Api* (*)();
    const Get get = Symbol<Get>(library, symbol, error);
    return get ? get() : nullptr;
}

} // namespace

const EngineApi* Engine(QString* error) {
    return Table(tarvix_engine_api, kEngineLibrary, kEngineApiSymbol, error);
}

const DrawApi* Drawing(QString* error) {
    return Table(tarvix_draw_api, kDrawLibrary, kDrawApiSymbol, error);
}

const ImageApi* Imaging(QString* error) {
    return Table(tarvix_image_api, kImageLibrary, kImageApiSymbol, error);
}

const ThumbnailApi* Thumbnails(QString* error) {
    return Table(tarvix_thumbnail_api, kThumbnailLibrary, kThumbnailApiSymbol, error);
}

WindowedEntry Windowed(QString* error) {
    if (tarvix_run_windowed) return tarvix_run_windowed;
    return Symbol<WindowedEntry>(kUiLibrary, kWindowedSymbol, error);
}

} // namespace tarvix
