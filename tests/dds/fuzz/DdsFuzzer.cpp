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
    return 0;
}
