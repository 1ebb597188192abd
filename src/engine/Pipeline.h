#pragma once
// One input file to one output file: a function of the run's request and the
// file's job, returning what happened.

#include "request/ConversionRequest.h"
#include "request/Naming.h"

#include <QString>
#include <cstdint>
#include <functional>

class QFont;

namespace tarvix {

class RunOrder;

// One file of a run, as the worker hands it to the pipeline.
struct FileJob {
    QString input;
    QString subfolder; // below the run's folder ("a/b/", empty at the top)
    // The file's place in the run's list order, or none for a file converted
    // on its own (it takes the request's first counter and random number).
    RunOrder* order = nullptr;
    size_t index = 0;
    // The text watermark's font of this thread; null: the request's.
    const QFont* font = nullptr;
    // Where a paused run waits, between the steps.
    std::function<void()> betweenSteps;
    // Whether the strip decoder may run on a second thread; off when several
    // files are converted at once and the cores are busy anyway.
    bool decodeAside = true;
    // A preview: the encoded file goes here and nothing is written (no file,
    // no folder); the name is still made and checked as for a conversion.
    QByteArray* memory = nullptr;
};

struct FileResult {
    bool converted = false;
    QString failure; // why not, in plain words (empty when converted)
    // The path it was saved as; for a file that failed, the path it was to be
    // saved as (from what was known when it failed; empty in a counting run).
    QString output;
    int32_t sourceBpp = 0;
    int32_t outputBpp = 0;
    int32_t width = 0, height = 0; // of the picture written
    bool streamed = false;         // decoded and encoded strip by strip
};

// Loads the job's input, runs the enabled steps in their fixed order, names the
// output and saves it.
FileResult ConvertFile(const ConversionRequest& request, const FileJob& job);

// What the placeholders of the file stand for, once its depth and size are in
// result. Asked for once per file: in a run that counts converted files it
// waits for the earlier files (see RunOrder) and draws the file's number.
NameFacts NameFactsFor(const ConversionRequest& request, const FileJob& job,
                       const FileResult& result);

// Makes the output name of the file whose picture is ready and checks that it
// may be written (inside the output folder, not the input itself, not taken by
// another file of the run), creating its subfolder. On success result.output
// holds the path, otherwise result.failure says why.
bool PrepareOutput(const ConversionRequest& request, const FileJob& job, const NameFacts& facts,
                   FileResult& result);
// Makes the job's subfolder below the output folder where "Keep Subfolders"
// asks for one; false with the reason in result otherwise.
bool MakeOutputFolder(const ConversionRequest& request, const FileJob& job, const QString& folder,
                      FileResult& result);

} // namespace tarvix
