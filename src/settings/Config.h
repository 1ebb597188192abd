#pragma once
// config.ini (windowed mode) and profile files ("--profile=FILE").

#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/SettingsTable.h"

#include <QString>
#include <optional>

namespace tarvix {

// Fills every persisted field from the file, per-key defaults for missing keys;
// all defaults when the file cannot be read. Applies the upgrades of older files.
// desktop centres the window when the file cannot be read (see ResetSettings).
// Values outside their range are brought inside it. warnings, when given, gets a
// line for a file that is there but cannot be read and for each value changed.
void LoadConfiguration(Settings& settings, const QString& path, QSize desktop = QSize(),
                       QStringList* warnings = nullptr);
// The same from a file already read (none: every default).
void ApplyConfiguration(Settings& settings, const std::optional<IniReader>& file,
                        QSize desktop = QSize(), QStringList* warnings = nullptr,
                        const QString& path = QString());
// Replaces the file with the current settings; false when it could not be written
// (the previous file then stays intact).
bool SaveConfiguration(const Settings& settings, const QString& path);
// The exact bytes SaveConfiguration writes.
QByteArray ConfigurationBytes(const Settings& settings);

// Reads the "CLI" group of a profile into the settings; false when the path is
// empty or the file cannot be opened. What it ignores (unknown keys, values that
// do not convert) is described in warnings, one line each, when given.
bool LoadProfile(const QString& path, Settings& settings, QStringList* warnings = nullptr);
// The same from a profile already read; path only names it in warnings.
void ApplyProfile(const IniReader& profile, const QString& path, Settings& settings,
                  QStringList* warnings = nullptr);

// Applies an option that carries a value (or a flag option) to its field and
// companion, as the command line and profiles do.
void ApplyOption(Settings& settings, const SettingDef& def, const QString& value);
// What applying value to the option quietly makes of it, in words ("\"95abc\" is
// not a whole number; 95 used"); empty when the value is taken as it stands.
QString ValueProblem(const SettingDef& def, const QString& value, const QString& extension = {});

} // namespace tarvix
