#pragma once
// Every persisted setting described once, as data: its group, key, type, default,
// the command-line/profile option that sets it and the word list of its codes.
// Reset, config.ini load and save, profile reading, option parsing and the debug
// echo all walk this one table, so a setting is added in exactly one place.

#include "settings/Settings.h"
#include "settings/Vocabulary.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <span>
#include <variant>

namespace tarvix {

enum class FieldType { Flag, SmallCode, SmallInt, Integer, Real, Text };

enum class DefaultKind {
    Fixed,       // the number or text given in the entry
    Now,         // the current local date-time in seconds
    CentredX,    // centred on the desktop width, else 100
    CentredY,    // centred on the desktop height, else 100
    FirstInput,  // first entry of the input extension list
    FirstOutput, // first entry of the output extension list
    Notice,      // the product notice
    KeepAspect,  // off for the command-line start, on otherwise
};

// How an option acts on its field.
enum class OptionKind {
    None,      // no option sets this field
    Value,     // takes a value after "="; converted by the field's type/vocabulary
    SetFlag,   // presence sets the field to 1
    ClearFlag, // presence sets the field to 0
};

using FieldRef =
    std::variant<int8_t Settings::*, int32_t Settings::*, float Settings::*, QString Settings::*>;

struct SettingDef {
    const char* group = nullptr;
    const char* key = nullptr;
    FieldType type = FieldType::Integer;
    FieldRef field;
    DefaultKind defaultKind = DefaultKind::Fixed;
    int32_t defaultNumber = 0;
    float defaultReal = 0.0f;
    const char* defaultText = "";
    // Per-format keys are written to config.ini only for the offered formats.
    const char* formatExt = nullptr;
    // Option name as compared (upper case, with "--"); a profile key may differ.
    const char* option = nullptr;
    const char* profileKey = nullptr;
    OptionKind optionKind = OptionKind::None;
    VocabularyKind vocabulary = VocabularyKind::None;
    // A second field the option switches on, and the value it gets.
    const char* companionKey = nullptr;
    int companionValue = 0;
    // The values that make sense, inclusive; the preferences dialog offers exactly
    // these and config.ini values outside them are brought back inside on load.
    // Kept for one run only: config.ini neither stores nor reads it.
    bool runOnly = false;
    // The debug echo's label when it is not the key followed by ": ".
    const char* echo = nullptr;
    bool ranged = false;
    double minimum = 0.0;
    double maximum = 0.0;

    // Builder helpers for the table.
    SettingDef opt(const char* name) const;
    SettingDef flagOpt(const char* name, OptionKind kind = OptionKind::SetFlag) const;
    SettingDef words(VocabularyKind kind) const;
    SettingDef also(const char* key, int value) const;
    SettingDef ext(const char* extension) const;
    SettingDef profileAs(const char* name) const;
    SettingDef range(double low, double high) const;
    SettingDef forRunOnly() const;
    SettingDef echoAs(const char* label) const;
};

// All persisted settings, in the order config.ini lists them.
std::span<const SettingDef> SettingsTable();

// Case-insensitive lookups; group may be empty to match the first key of that name.
const SettingDef* FindSetting(const QString& group, const QString& key);
// The entry whose command-line option (or, for a profile, profile key) is name.
const SettingDef* FindOption(QStringView upperName, bool inProfile);

// Every command-line option name of the table (or, for a profile, every key).
QStringList OptionNames(bool inProfile);

// Brings a ranged field back inside its range; a real that is not a number gets
// its default. Returns whether the value changed.
bool ClampToRange(Settings& s, const SettingDef& def);
// Whether a ranged field holds a value inside its range (never a NaN).
bool IsInRange(const Settings& s, const SettingDef& def);

// Reads a field as a number (flags, codes, integers; reals truncate).
int32_t GetNumber(const Settings& s, const SettingDef& def);
float GetReal(const Settings& s, const SettingDef& def);
QString GetText(const Settings& s, const SettingDef& def);
// Stores a number; 8-bit fields keep only the low 8 bits.
void SetNumber(Settings& s, const SettingDef& def, int64_t value);
void SetReal(Settings& s, const SettingDef& def, float value);
void SetText(Settings& s, const SettingDef& def, const QString& value);

// The label of the setting's debug echo line ("JPG Quality: ").
QString EchoLabel(const SettingDef& def);
// The value as the debug echo prints it: the word for a coded field, the decimal
// number, or the text unchanged. ext selects the compression word list.
QString EchoValue(const Settings& s, const SettingDef& def, const QString& ext = QString());

} // namespace tarvix
