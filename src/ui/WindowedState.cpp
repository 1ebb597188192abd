#include "ui/WindowedState.h"

#include <QWidget>

namespace tarvix {

void StoreWindowState(const QWidget& window, Settings& settings) {
    // A minimised window may still carry its maximised flag: minimised wins.
    if (window.isMinimized()) return;
    if (window.isMaximized()) {
        settings.isMaximized = 1;
    } else {
        settings.isMaximized = 0;
        settings.width = window.width();
        settings.height = window.height();
        settings.x = window.x();
        settings.y = window.y();
    }
}

} // namespace tarvix
