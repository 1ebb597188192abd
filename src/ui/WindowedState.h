#pragma once

#include "settings/Settings.h"

#include <QRect>

class QWidget;

namespace tarvix {

// The main window's state for the next start: maximised, or the normal place
// and size; a minimised window stores nothing.
void StoreWindowState(const QWidget& window, Settings& settings);
// A stored place or size that does not fit the available screen area (a screen
// that is gone, a size no screen has) gives way to the first-start placement.
void FitWindowToScreen(Settings& settings, const QRect& available);

} // namespace tarvix
