#pragma once
// Words and codes of choice-valued options, their dialog labels, and the allowed
// bits per pixel of each output format.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarvix {

constexpr int kVocabularyKinds = 22;

// Upper-cases the word and returns the code of the first equal word of the kind's
// table; 0 for an unknown word (and always for kinds 13 and 14).
int32_t WordToCode(int kind, const QString& word);
// The word of a code; for kind 4 the compression list of the extension decides.
// Empty when no entry matches.
QString CodeToWord(int kind, int32_t code, const QString& extension = QString());
// The "Preferences" string-table keys the dialog shows for each code, in code order.
QStringList DialogLabelKeys(int kind, const QString& extension = QString());

// The comma-separated bits-per-pixel list of an output format ("" when none).
QString BppList(const QString& extension);
bool IsBppAllowed(const QString& extension, int32_t bpp);

} // namespace tarvix
