#pragma once
// The text watermark's font. Needs the font database, so a command-line run
// creates an offscreen application object first (EnsureFontSupport).

#include "settings/Settings.h"

#include <QFont>
#include <memory>

namespace tarvix {

// Screen resolution used for point sizes, fixed so every machine draws alike.
constexpr int kWatermarkDpi = 96;

// Creates the application object fonts need when there is none yet.
void EnsureFontSupport();
// The font of "Font", "Font Size", "Font Style" and "Font Effect"; null when
// the family resolves only to the generic fallback or the size is unusable.
std::shared_ptr<QFont> CreateWatermarkFont(const Settings& settings);

} // namespace tarvix
