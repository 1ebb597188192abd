#pragma once
// The history of recently used output folders: tab-separated, most recent first.

#include "settings/Settings.h"

#include <QString>
#include <cstdint>

namespace tarvix {

// Entry i of the history (from 0), blanks trimmed; empty when there is none.
QString RecentOutputFolder(const Settings& settings, int i);
// Puts folder first, drops an entry equal to it in any letter case and keeps at
// most "Out Folders Number" entries.
void AddRecentOutputFolder(Settings& settings, const QString& folder);
// The fingerprint entries are compared by: CRC-32 of the upper-cased text.
uint32_t FolderFingerprint(const QString& folder);

} // namespace tarvix
