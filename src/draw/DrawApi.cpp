// What the drawing library offers the engine and the program.

#include "core/PluginApi.h"
#include "draw/Draw.h"
#include "draw/WatermarkFont.h"

extern "C" const tarvix::DrawApi* tarvix_draw_api() {
    static const tarvix::DrawApi api{&tarvix::ApplyFrame, &tarvix::ApplyWatermark,
                                     &tarvix::EnsureFontSupport, &tarvix::CreateWatermarkFont};
    return &api;
}
