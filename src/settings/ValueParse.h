#pragma once
// The value grammars shared by the command line, profile files and config.ini.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>

namespace tarvix {

// Command-line and profile integers: leading blanks and tabs skipped, optional
// sign, then "$" + hex digits, "%" + binary digits or decimal digits; reading
// stops at the first other character. Returns the low 32 bits of the value.
int32_t ParseOptionInteger(QStringView text);
// config.ini integers: optional sign and decimal digits only.
int32_t ParseConfigInteger(QStringView text);
// A decimal number with "." as separator read as a 32-bit float, or one of
// "+Infinity", "-Infinity", "NaN" in any case; anything else gives 0.
float ParseReal(QStringView text);
// Whether the whole text reads as such a number (blanks and tabs round it
// aside); the parsers above take what they can of any text.
bool IsWholeOptionInteger(QStringView text);
bool IsWholeReal(QStringView text);
// The candidate closest to word in edit distance, ignoring case, when it is close
// enough to be a likely misspelling; empty otherwise.
QString NearestName(const QString& word, const QStringList& candidates);

// The form config.ini stores a real in: six decimals or a special word.
QString FormatReal(float value);

// Removes leading and trailing blanks and tabs.
QString TrimBlanks(QStringView text);
QStringView TrimBlanksView(QStringView text);
// Removes leading and trailing blanks (U+0020) only.
QStringView TrimSpaces(QStringView text);

} // namespace tarvix
