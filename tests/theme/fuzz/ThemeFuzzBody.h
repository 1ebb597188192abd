#pragma once
// What the theme fuzzer does with one input; the tests replay its findings
// through the same code.

#include "theme/ThemeArchive.h"
#include "theme/ThemeConfig.h"

namespace tarvix {

inline void ReadThemeBytes(const QByteArray& bytes) {
    ThemeArchive archive;
    if (archive.OpenBytes(bytes)) {
        const QString config = QStringLiteral("theme.cfg");
        const QString text =
            DecodeThemeText(archive.Read({config}, ThemeArchive::kMaxConfigBytes).value(config));
        ThemeValue(text, QStringLiteral("Theme"), QStringLiteral("Name"));
        ThemeValue(text, QStringLiteral("Icons"), QStringLiteral("New"));
        DecodeThemeText(archive.ReadPrefix(config, 255));
        QSet<QString> names;
        for (auto it = archive.Entries().constBegin();
             it != archive.Entries().constEnd() && names.size() < 64; ++it)
            names.insert(it.key());
        archive.Read(names, ThemeArchive::kMaxPictureBytes);
    }
    const QString text = DecodeThemeText(bytes);
    ThemeValue(text, QStringLiteral("Buttons"), QStringLiteral("Convert"));
    ThemeValue(text, QStringLiteral("[]"), QString());
    TrimThemeValue(text);
}

} // namespace tarvix
