#pragma once
// Whether a window can be opened at all. The windowing toolkit aborts the
// process when it cannot reach a display, so the program asks first.

namespace tarvix {

// True when the platform the toolkit will use (QT_QPA_PLATFORM, else X11 or
// Wayland) can be reached: an offscreen or framebuffer platform, a Wayland
// socket, or an X server whose local socket exists (a remote one is trusted).
bool GraphicalSessionAvailable();

} // namespace tarvix
