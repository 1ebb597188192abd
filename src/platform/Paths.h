#pragma once
// Where things live on this system.

#include <QByteArray>
#include <QString>

namespace tarvix {

// The folder of the running executable, with a trailing "/".
QString ProgramFolder();
// $XDG_CONFIG_HOME (or $HOME/.config)/Orvella/tarvix/config.ini; the folders are
// created when missing.
QString ConfigPath();
// Where the program's data lives (themes in "gfx/", the manual): the folder
// TARVIX_DATA_DIR names, else the program folder when it holds "gfx/" (a build
// tree), else the installed data folder found from the program folder
// ("../share/tarvix/" from "bin/"), else the one the build was configured for.
QString DataFolder();
// $XDG_RUNTIME_DIR, or /tmp when unset.
QString RuntimeFolder();

// The bytes the file system expects for a path.
QByteArray NativePath(const QString& path);

// True for a regular file or anything else that is not a folder and exists.
bool FileExists(const QString& path);
bool IsFolder(const QString& path);
// Size in bytes; -1 when the path does not exist.
qint64 FileSize(const QString& path);

// True when both paths name one existing file (the same device and inode).
bool SameFile(const QString& a, const QString& b);

// Creates the folder and every missing folder above it (as mkdir -p); 0 on
// success, else the errno of the step that failed.
int MakeFolders(const QString& path);

// The folder part of a path: everything up to and including the last "/".
QString FolderOf(const QString& path);
// A path a user typed, made absolute against the current folder.
QString FromCurrentFolder(const QString& path);
// Whether text holds a C0 control character or DEL (which no output name nor
// printed line may carry as it is).
bool IsControlCharacter(QChar c);
bool HasControlCharacter(QStringView text);
// The last path component.
QString FileNameOf(const QString& path);

} // namespace tarvix
