#pragma once

#include "settings/Settings.h"

class QWidget;

namespace tarvix {

// The main window's state for the next start: maximised, or the normal place
// and size; a minimised window stores nothing.
void StoreWindowState(const QWidget& window, Settings& settings);

} // namespace tarvix
