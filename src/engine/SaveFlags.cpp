#include "engine/SaveFlags.h"

#include <FreeImage.h>

namespace tarvix {

int32_t SaveFlagsFor(const QString& ext, const Settings& s) {
    if (ext == QLatin1String("bmp")) return s.bmpCompression == 1 ? BMP_SAVE_RLE : 0;
    if (ext == QLatin1String("exr")) {
        switch (s.exrCompression) {
        case 0:
            return EXR_NONE;
        case 1:
            return EXR_ZIP;
        case 2:
            return EXR_PIZ;
        case 3:
            return EXR_PXR24;
        case 4:
            return EXR_B44;
        default:
            return 0;
        }
    }
    if (ext == QLatin1String("jpg")) {
        int32_t flags = s.jpgQuality;
        switch (s.jpgChroma) {
        case 0:
            flags |= JPEG_SUBSAMPLING_444;
            break;
        case 1:
            flags |= JPEG_SUBSAMPLING_422;
            break;
        case 2:
            flags |= JPEG_SUBSAMPLING_420;
            break;
        case 3:
            flags |= JPEG_SUBSAMPLING_411;
            break;
        default:
            break;
        }
        switch (s.jpgSaveAs) {
        case 1:
            flags |= JPEG_BASELINE;
            break;
        case 2:
            flags |= JPEG_OPTIMIZE;
            break;
        case 3:
            flags |= JPEG_PROGRESSIVE;
            break;
        default:
            break;
        }
        return flags;
    }
    if (ext == QLatin1String("jxr")) return JXR_LOSSLESS;
    if (ext == QLatin1String("png")) {
        int32_t flags = 0;
        switch (s.pngCompression) {
        case 0:
            flags = PNG_Z_NO_COMPRESSION;
            break;
        case 1:
            flags = PNG_Z_BEST_SPEED;
            break;
        case 2:
            flags = PNG_Z_DEFAULT_COMPRESSION;
            break;
        case 3:
            flags = PNG_Z_BEST_COMPRESSION;
            break;
        default:
            break;
        }
        if (s.pngInterlaced) flags |= PNG_INTERLACED;
        return flags;
    }
    if (ext == QLatin1String("tga")) return s.tgaCompression == 1 ? TARGA_SAVE_RLE : 0;
    if (ext == QLatin1String("tiff")) {
        int32_t flags = 0;
        switch (s.tiffCompression) {
        case 0:
            flags = TIFF_NONE;
            break;
        case 1:
            flags = TIFF_CCITTFAX3;
            break;
        case 2:
            flags = TIFF_CCITTFAX4;
            break;
        case 3:
            flags = TIFF_PACKBITS;
            break;
        case 4:
            flags = TIFF_DEFLATE;
            break;
        case 5:
            flags = TIFF_ADOBE_DEFLATE;
            break;
        case 6:
            flags = TIFF_LZW;
            break;
        case 7:
            flags = TIFF_JPEG;
            break;
        case 8:
            flags = TIFF_LOGLUV;
            break;
        default:
            break;
        }
        if (s.tiffColorModel == 1) flags |= TIFF_CMYK;
        return flags;
    }
    if (ext == QLatin1String("webp")) return WEBP_LOSSLESS;
    return 0;
}

} // namespace tarvix
