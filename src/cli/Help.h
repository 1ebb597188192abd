#pragma once

#include <QString>

namespace tarvix {

// The usage text; exeName is the file-name part of the executable's path.
void PrintHelp(const QString& exeName);
void PrintVersion();

} // namespace tarvix
