#pragma once
// Loads a private library when a run first needs it: beside the executable in a
// build tree, else from the installed library folder.

#include "core/PluginApi.h"

#include <QString>

namespace tarvix {

// Each returns null (and the reason in error) when its library cannot be loaded.
const EngineApi* Engine(QString* error = nullptr);
const DrawApi* Drawing(QString* error = nullptr);
const ImageApi* Imaging(QString* error = nullptr);
const ThumbnailApi* Thumbnails(QString* error = nullptr);
WindowedEntry Windowed(QString* error = nullptr);

} // namespace tarvix
