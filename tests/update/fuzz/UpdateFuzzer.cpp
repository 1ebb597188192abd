// libFuzzer target: whatever a server sends back to the update check, read as
// the check reads it.

#include "UpdateFuzzBody.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tarvix::ReadUpdateAnswer(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
