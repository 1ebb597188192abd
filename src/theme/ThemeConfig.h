#pragma once
// The text of a theme's "theme.cfg": sections in brackets, "key=value" lines
// ending with CR LF.

#include <QByteArray>
#include <QString>

namespace tarvix {

// The bytes up to the first NUL, as UTF-8 when they are valid UTF-8, else as
// ISO 8859-1.
QString DecodeThemeText(const QByteArray& bytes);

// The value of the first line of the section that begins with key (so a key
// also matches a longer key that starts with it): the text between the line's
// first and second "=", trimmed. Empty when the section or line is missing or
// the line has no CR LF after it. Sections and keys ignore letter case.
QString ThemeValue(const QString& text, const QString& section, const QString& key);

// Blanks, then tabs, then CR, then LF removed from both ends, each once and in
// that order.
QString TrimThemeValue(const QString& text);

} // namespace tarvix
