#pragma once
// The common conversion, a texture to a JPEG with no editing step, done without
// ever holding the whole picture: rows are decoded a strip at a time on one
// thread while the encoder takes finished rows on another.

#include "engine/Pipeline.h"

namespace tarvix {

// The dots per metre of a bitmap the image library makes (a test holds it to
// the library's own).
inline constexpr double kImageLibraryDotsPerMeter = 2835.0;

enum class StreamResult {
    Saved,
    Failed,        // with the reason in the result
    NotStreamable, // nothing done: the whole-picture path must convert it
};

// Whether the settings ask for nothing but the JPEG: no step that needs the
// whole picture, and flags the strip encoder writes exactly as the image
// library would.
bool CanStreamToJpeg(const ConversionRequest& request);

// Converts the job's input as the whole-picture path would, writing the same
// bytes; what happened goes into result.
StreamResult StreamToJpeg(const ConversionRequest& request, const FileJob& job, FileResult& result);

} // namespace tarvix
