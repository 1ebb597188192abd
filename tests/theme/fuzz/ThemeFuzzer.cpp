// libFuzzer target: a theme archive as a user might drop one into the theme
// folder, read as the program reads it, and the same bytes as a theme.cfg.

#include "theme/ThemeArchive.h"
#include "theme/ThemeConfig.h"

#include <cstddef>
#include <cstdint>

using namespace tarvix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
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
    return 0;
}
