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

} // namespace tarvix
