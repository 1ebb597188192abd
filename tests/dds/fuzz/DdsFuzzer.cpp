// libFuzzer target over the DDS reader and its decoders: any byte string must be
// either decoded or refused, never crash, hang or touch memory it does not own.

#include "dds/DdsReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString error;
    // One thread keeps runs reproducible; a second pass checks the split decode.
    if (FIBITMAP* dib = tarvix::dds::DecodeMemory(data, size, &error, 1)) FreeImage_Unload(dib);
    if (size > 4096)
        if (FIBITMAP* dib = tarvix::dds::DecodeMemory(data, size, &error, 2)) FreeImage_Unload(dib);
    // The last byte picks a level, a layer, a cube layout, the normal-map
    // rule and a background, so every path of the choices meets every header.
    if (size > 128) {
        const uint8_t pick = data[size - 1];
        tarvix::dds::Options options;
        options.threads = 1;
        options.opaque = pick & 0x80;
        tarvix::dds::Request& r = options.request;
        r.selection.mip = pick & 0x3;
        r.selection.layer = (pick >> 2) & 0x3;
        r.selection.cube = tarvix::dds::CubeLayout((pick >> 4) % 3);
        r.normals = tarvix::dds::NormalMapMode((pick >> 5) % 3);
        if (pick & 0x40) r.background = 0x336699;
        if (FIBITMAP* dib =
                tarvix::dds::Decode(tarvix::dds::MemorySource(data, size), &error, options))
            FreeImage_Unload(dib);
    }
    return 0;
}
