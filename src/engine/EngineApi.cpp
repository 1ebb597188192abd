// What the conversion engine library offers the program.

#include "core/PluginApi.h"
#include "engine/BatchWorker.h"
#include "engine/Preview.h"
#include "engine/TextureInfo.h"
#include "engine/Thumbnail.h"

extern "C" const tarvix::EngineApi* tarvix_engine_api() {
    static const tarvix::EngineApi api{&tarvix::BatchWorker, &tarvix::WriteThumbnail,
                                       &tarvix::DescribeTexture, &tarvix::PreviewFile};
    return &api;
}
