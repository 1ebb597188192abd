#pragma once
// Bringing the image to the output format's bits per pixel, and the save flags.

#include "core/RunState.h"
#include "settings/Settings.h"

#include <FreeImage.h>
#include <QString>
#include <optional>

namespace tarvix {

// The first listed depth of the format at or above the source depth, else the
// last one; 0 for a format without a list.
int32_t AutoDepth(const QString& extension, int32_t sourceBpp);
// The image library's save flags for the extension from the settings.
int32_t SaveFlagsFor(const QString& extension, const Settings& settings);
// The per-format BPP setting of an extension; nullopt for extensions without one.
std::optional<int32_t> BppSettingFor(const QString& extension, const Settings& settings);

} // namespace tarvix
