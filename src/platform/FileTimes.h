#pragma once
// Modification times of files, in whole seconds.

#include <QString>
#include <ctime>

namespace tarvix {

// -1 when the file cannot be read.
std::time_t ModificationTime(const QString& path);
bool SetModificationTime(const QString& path, std::time_t when);

} // namespace tarvix
