#pragma once
// Output file names from the "Filename Mask" template, and the same placeholders
// in the text of a text watermark.

#include "settings/Settings.h"

#include <QString>
#include <cstdint>

namespace tarvix {

// What the placeholders of one file's name and watermark text stand for.
struct NameFacts {
    QString input;     // the texture's path
    QString extension; // the output extension
    int32_t bpp = 0, width = 0, height = 0;
    int32_t random = 1;  // "%rnd%"
    int32_t counter = 1; // "%n%"
};

// The output folder and, with "Keep Subfolders", the entry's subfolder.
QString OutputFolderOf(const QString& outputFolder, const QString& subfolder,
                       const Settings& settings);
QString OutputFileName(const NameFacts& facts, const Settings& settings);
QString WatermarkText(const NameFacts& facts, const Settings& settings);
// Replaces every occurrence of placeholder (any letter case) by its value.
QString SubstitutePlaceholder(const QString& text, const QString& placeholder,
                              const NameFacts& facts);
// Whether a file's name or text watermark depends on the files converted before
// it in the run ("%n%", "%rnd%"): such a file is named only once every earlier
// file of the list has converted or failed.
bool UsesRunNumbers(const Settings& settings);
// Why a file name from the mask may not be used, or empty when it may: it must
// stay inside the output folder (no ".." component, not absolute) and hold no
// NUL or other control character.
QString UnsafeOutputName(const QString& name);
// The name without its last extension ("a.b.dds" -> "a.b").
QString StripExtension(const QString& name);

} // namespace tarvix
