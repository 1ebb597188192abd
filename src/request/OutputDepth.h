#pragma once
// The output format's bits per pixel: the depth a setting asks for, or the one
// chosen from the source's depth.

#include "settings/Settings.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace tarvix {

// The first listed depth of the format at or above the source depth, else the
// last one; 0 for a format without a list.
int32_t AutoDepth(const QString& extension, int32_t sourceBpp);
// The per-format BPP setting of an extension; nullopt for extensions without one.
std::optional<int32_t> BppSettingFor(const QString& extension, const Settings& settings);

} // namespace tarvix
