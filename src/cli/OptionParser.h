#pragma once
// The command-line grammar: parameters, option names and values, and the parse
// loop that fills Settings and RunState.

#include "core/RunState.h"
#include "settings/Settings.h"

#include <QString>
#include <QStringList>

namespace tarvix {

class ParameterList {
public:
    // notUtf8: the parameters whose bytes were not valid UTF-8 (read as ISO
    // 8859-1 for everything but a path, which they cannot name).
    explicit ParameterList(QStringList parameters, QList<bool> notUtf8 = {});
    // From argv (the program's own path excluded).
    static ParameterList FromArgv(int argc, char** argv);

    qsizetype Count() const { return parameters_.size(); }
    const QString& At(qsizetype k) const;
    // Upper-cased, trimmed; for "--" forms the part before "="; empty for a
    // parameter that does not begin with "-".
    QString OptionName(qsizetype k) const;
    // Trimmed, case kept; for "--" forms with "=" everything after the first "=".
    // Double quotes are removed unless the value is a path, where a quote is a
    // character of the file name (the shell already removed the quoting).
    QString OptionValue(qsizetype k, bool path = false) const;
    bool NotUtf8(qsizetype k) const { return notUtf8_.value(k, false); }

private:
    QStringList parameters_;
    QList<bool> notUtf8_;
};

struct ParseResult {
    QString error; // empty when parsing succeeded
    bool quiet = false;
    bool pause = false;
    // What the parser ignored or took only in part, one "Warning: " line each:
    // unknown options, values that do not convert, words outside their list,
    // parameters that are no option. The designed result stands.
    QStringList warnings;
    // With an error: one line saying what was wrong and what to type instead.
    QString detail;
};

// Runs the parse loop over every parameter; stops at the first error.
ParseResult ParseOptions(const ParameterList& parameters, Settings& settings, RunState& state);

} // namespace tarvix
