#pragma once
// Which files a conversion accepts, and handing one to the input list.

#include "core/RunState.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace tarvix {

// Every input-table key whose canonical extension is an offered input format.
QStringList BuildAcceptedExtensions();
// What follows the last "." unless a blank or "/" comes first; else empty.
QString ExtensionOf(const QString& path);
// The folder part of path with every occurrence of base removed when base occurs
// in it; empty otherwise.
QString RelativeSubfolder(const QString& path, const QString& base);

// Accepts a non-empty file with an accepted extension into the input list,
// replacing what it held. On a windowed run the window hook is called after the
// list was filled (it fills the input field and proposes an output folder).
bool SetInputFile(RunState& state, const QString& path,
                  const std::function<void(const QString&)>& windowHook = {});

// What a walk through an input folder found: every file below it with an
// accepted extension (any letter case), keyed by path with its subfolder relative
// to the folder ("a/b/", empty at the top), and what it had to leave out.
struct FolderScan {
    QMap<QString, InputEntry> files;
    // "PATH: reason" for each file or folder that could not be taken.
    QStringList problems;
};

// Walks folder (ending with "/") and every subfolder. Symbolic links to folders
// are not followed, so a link loop cannot hold the walk; links to files are
// taken. A subfolder that cannot be read, or a name that is not valid UTF-8, is
// a problem, and the walk goes on.
FolderScan ScanInputFolder(const QString& folder, const QStringList& acceptedExtensions);
// The same for one of several inputs (the folder with or without its "/"): its
// files join into, its problems are added to into's.
void AddInputFolder(const QString& folder, const QStringList& acceptedExtensions, FolderScan& into);

} // namespace tarvix
