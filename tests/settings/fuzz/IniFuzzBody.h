#pragma once
// What the settings-file fuzzer does with one input; the tests replay its
// findings through the same code. A file read as config.ini, written back and
// read again must give the same bytes; read as a profile it must only set
// values.

#include "settings/Config.h"
#include "settings/IniFile.h"

#include <cstdlib>

namespace tarvix {

inline void ReadSettingsBytes(const QByteArray& bytes) {
    Settings first;
    ApplyConfiguration(first, IniReader::FromBytes(bytes));
    const QByteArray written = ConfigurationBytes(first);
    Settings second;
    ApplyConfiguration(second, IniReader::FromBytes(written));
    if (ConfigurationBytes(second) != written) std::abort(); // a save that does not reload
    Settings profiled;
    ResetSettings(profiled, true);
    QStringList warnings;
    ApplyProfile(IniReader::FromBytes(bytes), QStringLiteral("fuzz.ini"), profiled, &warnings);
}

} // namespace tarvix
