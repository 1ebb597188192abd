#include "draw/Png.h"

#include <png.h>

namespace tarvix {

QImage DecodePng(const QByteArray& bytes, int maxSide) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.constData(), size_t(bytes.size())))
        return QImage();
    if (maxSide > 0 &&
        (image.width > png_uint_32(maxSide) || image.height > png_uint_32(maxSide))) {
        png_image_free(&image);
        return QImage();
    }
    // BGRA in memory is QImage's straight ARGB32 on little-endian machines.
    image.format = PNG_FORMAT_BGRA;
    QImage out(int(image.width), int(image.height), QImage::Format_ARGB32);
    if (out.isNull() || !png_image_finish_read(&image, nullptr, out.bits(),
                                               png_int_32(out.bytesPerLine()), nullptr)) {
        png_image_free(&image);
        return QImage();
    }
    return out;
}

} // namespace tarvix
