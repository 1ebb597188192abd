#pragma once
// Process-wide working state of the current request.

#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class QFont;

namespace tarvix {

struct InputEntry {
    QString subfolder; // relative to the folder the run was given
};

// How the process was started: normally, for window screenshots ("-T"), or with
// the command line's debug echo ("-d").
enum class RunMode { Normal, Screenshot, Debug };

struct RunState {
    QString programFolder; // ends with "/"
    QString currentInputFile;
    QString cliInputPath; // set by "-i"
    QString currentOutputFile;
    QString outputFolder;     // ends with "/" once a run has resolved it
    int32_t randomNumber = 1; // 1..99999, for "%rnd%"
    int32_t counter = 1;      // for "%n%"
    QString inputExtension;
    QString conversionType; // the output extension
    int32_t outputBpp = 0;  // target bits per pixel
    int32_t formatCode = 0; // image-library format of the output
    uint8_t autoDepth = 0;
    uint8_t cliInputGiven = 0;
    RunMode runMode = RunMode::Normal;

    // Per file, written by the worker and the pipeline.
    QString currentSubfolder;
    int32_t sourceBpp = 0;
    int32_t outputWidth = 0;
    int32_t outputHeight = 0;
    int32_t saveFlags = 0;
    // Why the last file failed, in plain words (empty after a good one).
    QString failure;
    // Lets the pipeline decode without alpha when the output cannot keep it;
    // cleared only to prove that this changes no output.
    bool allowOpaqueDecode = true;
    // Lets a conversion without editing steps decode and encode at once, strip
    // by strip; cleared only to prove that this changes no output.
    bool allowStreaming = true;
    bool streamed = false; // the last file went that way
    // Whether that conversion may decode on a second thread; off when several
    // files are converted at once and the cores are busy anyway.
    bool decodeAside = true;
    // Called by the pipeline between its steps: where a paused run waits.
    std::function<void()> betweenSteps;
    // Set by a worker that converts several files at once. beforeNaming runs
    // just before the output name is made (where a counter is handed out);
    // claimOutput then takes the name for this file, false when another file
    // of the run has it.
    std::function<void(RunState&)> beforeNaming;
    std::function<bool(const QString& path)> claimOutput;
    // The page the preferences dialog opens on (0 to 8; back to 0 once opened),
    // and what its OK asks the main window to reload: 0 nothing, 1 the theme, 2
    // the toolbar's icon size only.
    int8_t preferencesStartPage = 0;
    int32_t interfaceReload = 0;
    // The text watermark's font: created by the run's set-up, released after it.
    std::shared_ptr<QFont> watermarkFont;

    // The input paths handed to a conversion (at most one) and the extensions an
    // input may have.
    QMap<QString, InputEntry> inputList;
    QStringList acceptedExtensions;
};

// A fresh random number from 1 to 99999.
int32_t DrawRandomNumber();

} // namespace tarvix
