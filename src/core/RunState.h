#pragma once
// What a front end knows between runs: where the program lives, what the user
// asked for on the command line or in the window, and the input list it hands to
// the next run. A run itself is fixed in a ConversionRequest (request/) built
// from this state and the settings, and reports per file in a FileResult
// (engine/); neither writes back here.

#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarvix {

struct InputEntry {
    QString subfolder; // relative to the folder the run was given
};

// How the process was started: normally, for window screenshots ("-T"), or with
// the command line's debug echo ("-d").
enum class RunMode { Normal, Screenshot, Debug };

struct RunState {
    QString programFolder;    // ends with "/"
    QString currentInputFile; // the file (or folder) the front end was given
    QString cliInputPath;     // set by "-i"
    QString cliFileList;      // set by "--file-list": a file of paths, "-" standard input
    QString outputFolder;     // ends with "/" once a run has resolved it
    int32_t randomNumber = 1; // 1..99999: "%rnd%" of the run's first converted file
    int32_t counter = 1;      // "%n%" of the run's first converted file
    QString inputExtension;
    QString conversionType; // the output extension
    uint8_t cliInputGiven = 0;
    RunMode runMode = RunMode::Normal;

    // The input paths of the next run, each with its subfolder, and the
    // extensions an input may have.
    QMap<QString, InputEntry> inputList;
    QStringList acceptedExtensions;
};

// A fresh random number from 1 to 99999.
int32_t DrawRandomNumber();

} // namespace tarvix
