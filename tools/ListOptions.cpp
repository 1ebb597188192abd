// Prints every long option of the settings table with the value it takes, for
// the manual (run at build time, so the manual lists what the program reads).

#include "settings/SettingsTable.h"
#include "settings/Vocabulary.h"

#include <cstdio>

using namespace tarvix;

int main() {
    for (const SettingDef& def : SettingsTable()) {
        if (!def.option) continue;
        QString line = QString::fromLatin1(def.option).toLower();
        if (def.optionKind == OptionKind::Value) {
            if (def.vocabulary != VocabularyKind::None)
                line +=
                    QStringLiteral("=") + Words(def.vocabulary).join(QLatin1Char('|')).toLower();
            else if (def.type == FieldType::Text)
                line += QStringLiteral("=TEXT");
            else
                line += QStringLiteral("=NUM");
        }
        std::printf("  %s\n", qPrintable(line));
    }
    std::printf("  --profile=FILE\n");
    return 0;
}
