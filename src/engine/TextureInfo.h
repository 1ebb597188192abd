#pragma once
// What a texture holds, in words, for "--info".

#include <QString>
#include <QStringList>

namespace tarvix {

// The lines describing the file (size, format, levels, surfaces, alpha, flags,
// bytes, whether it converts with the defaults); read is false when the file's
// header could not be read at all.
QStringList DescribeTexture(const QString& path, bool* read);

} // namespace tarvix
