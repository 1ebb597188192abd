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
// The folder part of OutputPath: the output folder and, with "Keep Subfolders",
// the entry's subfolder.
QString OutputFolderOf(const RunState& state, const Settings& settings);
QString OutputFileName(const RunState& state, const Settings& settings);
QString WatermarkText(const RunState& state, const Settings& settings);
// Replaces every occurrence of placeholder (any letter case) by its value.
QString SubstitutePlaceholder(const QString& text, const QString& placeholder,
                              const RunState& state);
// Why a file name from the mask may not be used, or empty when it may: it must
// stay inside the output folder (no ".." component, not absolute) and hold no
// NUL or other control character.
QString UnsafeOutputName(const QString& name);
// The name without its last extension ("a.b.dds" -> "a.b").
QString StripExtension(const QString& name);

} // namespace tarvix
