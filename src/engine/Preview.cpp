#include "engine/Preview.h"

#include "engine/Pipeline.h"

#include "platform/Plugins.h"

namespace tarvix {

PreviewPicture PreviewFile(const ConversionRequest& request, const QString& input) {
    PreviewPicture preview;
    FileJob job;
    job.input = input;
    job.subfolder = request.inputs.value(input).subfolder;
    job.memory = &preview.encoded;
    const FileResult result = ConvertFile(request, job);
    preview.output = result.output;
    preview.outputWidth = result.width;
    preview.outputHeight = result.height;
    if (!result.converted) {
        preview.failure =
            result.failure.isEmpty() ? QStringLiteral("conversion failed") : result.failure;
        preview.encoded.clear();
        return preview;
    }
    // What the user will see when opening the file: its own decoder's picture,
    // with the encoder's losses.
    QString error;
    const ImageApi* image = Imaging(&error);
    if (!image || !image->decodePicture(preview.encoded, kPreviewMaxSide, &preview.width,
                                        &preview.height, &preview.pixels)) {
        preview.failure = image
                              ? QStringLiteral("the written file could not be read back to show it")
                              : QStringLiteral("the image library could not be loaded: ") + error;
        return preview;
    }
    preview.converted = true;
    return preview;
}

} // namespace tarvix
