#pragma once
// The image library's save flags of an output format, from the settings.

#include "settings/Settings.h"

#include <QString>
#include <cstdint>

namespace tarvix {

int32_t SaveFlagsFor(const QString& extension, const Settings& settings);

} // namespace tarvix
