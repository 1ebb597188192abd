#pragma once
// Small PNG pictures of textures for file managers.

#include <QString>

namespace tarvix {

constexpr int kMaxThumbnailSize = 1024;

// The texture's top level, shrunk to fit size x size (aspect kept, never
// enlarged), alpha kept, written as PNG through a temporary file. False, with
// the reason, when the texture cannot be read or the PNG not written.
bool WriteThumbnail(const QString& input, const QString& output, int size, QString* reason);

} // namespace tarvix
