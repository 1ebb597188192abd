#pragma once

#include <FreeImage.h>

namespace tarvix {

// "DDS Load As" 2 (RGBA) exchanges red and blue through a 32-bit copy of the
// pixels; every other code leaves the image as loaded.
FIBITMAP* ApplyLoadAs(FIBITMAP* image, int loadAs);

} // namespace tarvix
