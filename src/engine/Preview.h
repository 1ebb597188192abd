#pragma once
// A conversion shown before it is written: the same pipeline, with the output
// file kept in memory and decoded again.

#include "core/PluginApi.h"
#include "request/ConversionRequest.h"

namespace tarvix {

// Converts input exactly as a run of the request would (its name, its steps,
// its encoder and quality) without touching the disk.
PreviewPicture PreviewFile(const ConversionRequest& request, const QString& input);

} // namespace tarvix
