#include "engine/Thumbnail.h"

#include "engine/ImageFile.h"

#include <FreeImage.h>
#include <algorithm>
#include <cmath>

namespace tarvix {

bool WriteThumbnail(const QString& input, const QString& output, int size, QString* reason) {
    if (size < 1 || size > kMaxThumbnailSize) {
        if (reason) *reason = QStringLiteral("thumbnail size out of range");
        return false;
    }
    FIBITMAP* image = LoadInputImage(input, reason);
    if (!image) return false;
    const unsigned w = FreeImage_GetWidth(image), h = FreeImage_GetHeight(image);
    if (w > unsigned(size) || h > unsigned(size)) {
        const double scale = std::min(double(size) / w, double(size) / h);
        const int tw = std::max(1, int(std::lround(w * scale)));
        const int th = std::max(1, int(std::lround(h * scale)));
        FIBITMAP* small = FreeImage_Rescale(image, tw, th, FILTER_BILINEAR);
        FreeImage_Unload(image);
        image = small;
        if (!image) {
            if (reason) *reason = QStringLiteral("the picture could not be scaled");
            return false;
        }
    }
    const bool saved = SaveImageFile(FIF_PNG, image, output, PNG_Z_BEST_SPEED, reason);
    FreeImage_Unload(image);
    return saved;
}

} // namespace tarvix
