// What the conversion engine library offers the program.

#include "core/PluginApi.h"
#include "engine/BatchWorker.h"
#include "engine/Preview.h"
#include "engine/TextureInfo.h"
#include "platform/Plugins.h"

namespace {

// Thumbnails are written by a library of their own (libpng), loaded for them.
bool WriteThumbnail(const QString& input, const QString& output, int size, QString* reason) {
    QString error;
    const tarvix::ThumbnailApi* thumbnails = tarvix::Thumbnails(&error);
    if (!thumbnails) {
        if (reason) *reason = QStringLiteral("the thumbnail library could not be loaded: ") + error;
        return false;
    }
    return thumbnails->writeThumbnail(input, output, size, reason);
}

} // namespace

extern "C" const tarvix::EngineApi* tarvix_engine_api() {
    static const tarvix::EngineApi api{&tarvix::BatchWorker, &WriteThumbnail,
                                       &tarvix::DescribeTexture, &tarvix::PreviewFile};
    return &api;
}
