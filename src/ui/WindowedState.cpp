#include "ui/WindowedState.h"

#include <QWidget>
#include <algorithm>

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

void FitWindowToScreen(Settings& settings, const QRect& available) {
    if (available.isEmpty()) return;
    const QRect window(settings.x, settings.y, settings.width, settings.height);
    // Its title bar must be reachable: the top strip on the screen, the window
    // no larger than the screen.
    const QRect titleStrip(window.x(), window.y(), window.width(), 30);
    const bool fits =
        settings.width >= 510 && settings.height >= 260 && settings.width <= available.width() &&
        settings.height <= available.height() && available.intersected(titleStrip).width() >= 100 &&
        available.intersected(titleStrip).height() >= 30;
    if (fits) return;
    settings.width = 510;
    settings.height = 260;
    settings.x = available.x() + std::max(0, (available.width() - 510) / 2);
    settings.y = available.y() + std::max(0, (available.height() - 260) / 2);
}

} // namespace tarvix
