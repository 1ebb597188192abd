// Prints the command line's option list for the manual and the man page, or a
// shell's completion script, from the one option table (run at build time, so
// what is installed lists what the program reads).
//
//   tarvix_list_options                 the option list
//   tarvix_list_options --completion SHELL   bash, zsh or fish

#include "cli/OptionCatalog.h"

#include <cstdio>
#include <cstring>

using namespace tarvix;

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--completion") == 0) {
        const QString script = CompletionScript(QString::fromLatin1(argv[2]));
        if (script.isEmpty()) return 2;
        std::fputs(script.toUtf8().constData(), stdout);
        return 0;
    }
    for (const OptionEntry& option : OptionCatalog()) {
        QString line = option.shortName.isEmpty()
                           ? option.longName
                           : option.shortName + QStringLiteral(", ") + option.longName;
        switch (option.value) {
        case OptionValue::None:
            break;
        case OptionValue::Number:
            line += QStringLiteral("=NUM");
            break;
        case OptionValue::Text:
            line += QStringLiteral("=TEXT");
            break;
        case OptionValue::Words:
            line += QLatin1Char('=') + option.words.join(QLatin1Char('|'));
            break;
        case OptionValue::Texture:
            line += QStringLiteral("=FILE.dds|FOLDER");
            break;
        case OptionValue::Folder:
            line += QStringLiteral("=FOLDER");
            break;
        case OptionValue::File:
            line += QStringLiteral("=FILE");
            break;
        }
        std::printf("  %s\n", qPrintable(line));
    }
    return 0;
}
