// What the conversion engine library offers the program.

#include "core/PluginApi.h"
#include "engine/BatchWorker.h"
#include "engine/Preview.h"
#include "engine/TextureInfo.h"
#include "platform/Plugins.h"

namespace {

// Thumbnails are written with the image library, loaded for them.
bool WriteThumbnail(const QString& input, const QString& output, int size, QString* reason) {
    QString error;
    const tarvix::ImageApi* image = tarvix::Imaging(&error);
    if (!image) {
        if (reason) *reason = QStringLiteral("the image library could not be loaded: ") + error;
        return false;
    }
    return image->writeThumbnail(input, output, size, reason);
}

} // namespace

extern "C" const tarvix::EngineApi* tarvix_engine_api() {
    static const tarvix::EngineApi api{&tarvix::BatchWorker, &WriteThumbnail,
                                       &tarvix::DescribeTexture, &tarvix::PreviewFile};
    return &api;
}
