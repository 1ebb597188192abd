// libFuzzer target: a theme archive as a user might drop one into the theme
// folder, read as the program reads it, and the same bytes as a theme.cfg.

#include "ThemeFuzzBody.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tarvix::ReadThemeBytes(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
