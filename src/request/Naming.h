#pragma once
// Output file names from the "Filename Mask" template, and the same placeholders
// in the text of a text watermark.

#include "core/RunState.h"
#include "settings/Settings.h"

#include <QString>

namespace tarvix {

// The output folder, the entry's subfolder when "Keep Subfolders" is on, and the
// expanded mask.
QString OutputPath(const RunState& state, const Settings& settings);
QString OutputFileName(const RunState& state, const Settings& settings);
QString WatermarkText(const RunState& state, const Settings& settings);
// Replaces every occurrence of placeholder (any letter case) by its value.
QString SubstitutePlaceholder(const QString& text, const QString& placeholder,
                              const RunState& state);
// The name without its last extension ("a.b.dds" -> "a.b").
QString StripExtension(const QString& name);

} // namespace tarvix
