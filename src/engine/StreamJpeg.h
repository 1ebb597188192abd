#pragma once
// The common conversion, a texture to a JPEG with no editing step, done without
// ever holding the whole picture: rows are decoded a strip at a time on one
// thread while the encoder takes finished rows on another.

#include "core/RunState.h"
#include "settings/Settings.h"

namespace tarvix {

enum class StreamResult {
    Saved,
    Failed,        // with the reason in state.failure
    NotStreamable, // nothing done: the whole-picture path must convert it
};

// Whether the settings ask for nothing but the JPEG: no step that needs the
// whole picture, and flags the strip encoder writes exactly as the image
// library would.
bool CanStreamToJpeg(const RunState& state, const Settings& settings);

// Converts state.currentInputFile as ConvertFile would, writing the same bytes.
StreamResult StreamToJpeg(RunState& state, const Settings& settings);

} // namespace tarvix
