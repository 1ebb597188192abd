#pragma once
// Small PNG pictures of textures for file managers.

#include "dds/DdsHeader.h"
#include "platform/Paths.h"

#include <QString>
#include <algorithm>

namespace tarvix {

constexpr int kMaxThumbnailSize = 1024;

// The texture's top level, shrunk to fit size x size (aspect kept, never
// enlarged), alpha kept, written as PNG through a temporary file. False, with
// the reason, when the texture cannot be read or the PNG not written.
bool WriteThumbnail(const QString& input, const QString& output, int size, QString* reason);

// False, with the reason, for a size out of range or an output that is the
// input itself; checked before anything is read.
inline bool ThumbnailArgumentsUsable(const QString& input, const QString& output, int size,
                                     QString* reason) {
    if (size < 1 || size > kMaxThumbnailSize) {
        if (reason) *reason = QStringLiteral("thumbnail size out of range");
        return false;
    }
    if (SameFile(input, output)) {
        if (reason) *reason = QStringLiteral("the thumbnail would replace the input file");
        return false;
    }
    return true;
}

// The level a thumbnail of size is made from: the smallest at least as large
// as size (the largest when none is), the one with the least to decode.
inline uint32_t ThumbnailLevel(const dds::Info& info, int size) {
    uint32_t level = 0;
    while (level + 1 < info.surfaces.mipLevels &&
           std::max(info.width >> (level + 1), info.height >> (level + 1)) >= uint32_t(size))
        ++level;
    return level;
}

} // namespace tarvix
