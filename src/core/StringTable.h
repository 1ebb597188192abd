#pragma once
// Every user-visible text of the windows and the progress lines of the command
// line, looked up by group and key (both without regard to case).

#include <QString>
#include <cstddef>

namespace tarvix {

extern const char16_t kStringTableData[];
extern const std::size_t kStringTableDataLength;

// Builds the lookup structures from the built-in stored form. Idempotent.
void LoadStringTable();
// Builds them from another stored form (used by tests).
void LoadStringTableFrom(const char16_t* data, std::size_t length);

// The value, or "%NO_STRING_ERROR%" when the group or key does not exist.
QString GetText(const QString& group, const QString& key);
// Replaces "%s1%".."%s4%" (any letter case) by the non-empty arguments.
QString FormatText(const QString& text, const QString& s1 = QString(),
                   const QString& s2 = QString(), const QString& s3 = QString(),
                   const QString& s4 = QString());

} // namespace tarvix
