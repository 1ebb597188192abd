#pragma once
// When the start-up check is due, and what a fetched version text means.

#include "settings/Settings.h"

#include <QString>
#include <cstdint>

namespace tarvix {

// Where the newest version number is published.
QString VersionFileUrl();

// The days between start-up checks for an "Update Range" code; 0 for "Never".
int UpdateIntervalDays(int code);
// True when "Update Range" asks for checks and more than its interval has
// passed since "Update Date" (local wall-clock seconds, as is now).
bool UpdateCheckDue(const Settings& settings, int64_t now);

enum class UpdateAnswer { ConnectionProblem, NewVersion, UpToDate };
// The number a fetched text starts with (the command line's integer reader:
// "$" hexadecimal, "%" binary), compared with this version.
UpdateAnswer ClassifyVersionText(const QString& text);

} // namespace tarvix
