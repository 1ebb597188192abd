#pragma once
// A conversion request: everything a run converts and how, fixed once before its
// first file by the one builder both front ends call. The engine only reads it;
// what happens to each file comes back as a result of its own.

#include "core/RunState.h"
#include "settings/Settings.h"

#include <QMap>
#include <QString>
#include <memory>
#include <optional>

class QFont;

namespace tarvix {

// Switches that measurements and tests turn off to prove they change no output.
struct ConversionOptions {
    // Decoding without alpha where the output cannot keep it.
    bool allowOpaqueDecode = true;
    // A conversion without editing steps decoded and encoded at once, by strips.
    bool allowStreaming = true;
};

struct ConversionRequest {
    Settings settings;                // as they stood when the run was asked for
    QMap<QString, InputEntry> inputs; // what to convert, in list order
    QString outputFolder;             // ends with "/"
    QString conversionType;           // the output extension
    int32_t formatCode = 0;           // the image library's format of the output
    int32_t outputBpp = 0;            // target bits per pixel; 0: from each file's depth
    int32_t firstCounter = 1;         // "%n%" of the first file converted
    int32_t firstRandom = 1;          // "%rnd%" of the first file converted
    // A text watermark's font, made once for the run (each further thread of the
    // run makes its own from the settings: fonts are not shared across threads).
    std::shared_ptr<const QFont> watermarkFont;
    ConversionOptions options;

    bool AutoDepth() const { return outputBpp == 0; }
};

// The threads a run of this many files uses: "Jobs", or one per processor
// online when it is 0, never more than the files.
int ResolveJobs(const Settings& settings, qsizetype files);

// Clears every field but the run mode, restarts the counter at 1, draws a fresh
// random number, empties the input list and rebuilds the accepted extensions.
void ResetRunState(RunState& state);

// The request for state's input list, output folder (as the front end resolved
// it) and conversion type under these settings. Nothing when a text
// watermark's font cannot be made: the run must not start. Making that font
// loads the drawing library; no other request does.
std::optional<ConversionRequest> BuildConversionRequest(const RunState& state,
                                                        const Settings& settings,
                                                        ConversionOptions options = {});

} // namespace tarvix
