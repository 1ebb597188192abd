#pragma once
// Every option the command line takes, in one list: the parser's own and each
// setting's. The help's option list, the man page and the shell completions
// are all made from it.

#include <QList>
#include <QString>
#include <QStringList>

namespace tarvix {

enum class OptionValue {
    None,    // a switch
    Number,  // "--x=NUM"
    Text,    // "--x=TEXT"
    Words,   // one of words
    Texture, // a DDS file or a folder of them
    Folder,
    File,
};

struct OptionEntry {
    QString longName;  // "--jpg-chroma", lower case
    QString shortName; // "-i" for the options that have one; its value is the next parameter
    OptionValue value = OptionValue::None;
    QStringList words; // lower case, for OptionValue::Words
};

QList<OptionEntry> OptionCatalog();

// The completion script of a shell ("bash", "zsh" or "fish"); empty for another.
QString CompletionScript(const QString& shell);

} // namespace tarvix
