#include "engine/Preview.h"

#include "engine/Pipeline.h"

#include <FreeImage.h>
#include <cstring>

namespace tarvix {

PreviewPicture PreviewFile(const ConversionRequest& request, const QString& input) {
    PreviewPicture preview;
    FileJob job;
    job.input = input;
    job.subfolder = request.inputs.value(input).subfolder;
    job.memory = &preview.encoded;
    const FileResult result = ConvertFile(request, job);
    preview.output = result.output;
    if (!result.converted) {
        preview.failure =
            result.failure.isEmpty() ? QStringLiteral("conversion failed") : result.failure;
        preview.encoded.clear();
        return preview;
    }
    // What the user will see when opening the file: its own decoder's picture,
    // with the encoder's losses.
    FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(preview.encoded.data()),
                                            DWORD(preview.encoded.size()));
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory, 0);
    FIBITMAP* decoded =
        format == FIF_UNKNOWN ? nullptr : FreeImage_LoadFromMemory(format, memory, 0);
    FreeImage_CloseMemory(memory);
    FIBITMAP* rgba = nullptr;
    if (decoded) {
        rgba = FreeImage_GetBPP(decoded) == 32 && FreeImage_GetImageType(decoded) == FIT_BITMAP
                   ? decoded
                   : FreeImage_ConvertTo32Bits(decoded);
        if (!rgba && FreeImage_GetImageType(decoded) != FIT_BITMAP) {
            // High-range pictures are shown as the tone mapping would show them.
            FIBITMAP* mapped = FreeImage_ToneMapping(decoded, FITMO_DRAGO03);
            if (mapped) {
                rgba = FreeImage_ConvertTo32Bits(mapped);
                FreeImage_Unload(mapped);
            }
        }
        if (rgba != decoded) FreeImage_Unload(decoded);
    }
    if (!rgba) {
        preview.failure = QStringLiteral("the written file could not be read back to show it");
        return preview;
    }
    preview.converted = true;
    preview.width = int(FreeImage_GetWidth(rgba));
    preview.height = int(FreeImage_GetHeight(rgba));
    const size_t row = size_t(preview.width) * 4;
    preview.pixels.resize(qsizetype(row * size_t(preview.height)));
    // The image library keeps the bottom row first.
    for (int y = 0; y < preview.height; ++y)
        std::memcpy(preview.pixels.data() + row * size_t(y),
                    FreeImage_GetScanLine(rgba, preview.height - 1 - y), row);
    FreeImage_Unload(rgba);
    return preview;
}

} // namespace tarvix
