#include "request/OutputDepth.h"

#include "core/FormatRegistry.h"
#include "settings/SettingsTable.h"

namespace tarvix {

int32_t AutoDepth(const QString& extension, int32_t sourceBpp) {
    const QString list = OutputFormat(extension).bppList;
    if (list.isEmpty()) return 0;
    int8_t value = 0;
    for (QStringView entry : QStringView(list).split(QLatin1Char(','))) {
        value = static_cast<int8_t>(entry.toInt());
        if (value >= sourceBpp) return value;
    }
    return value;
}

std::optional<int32_t> BppSettingFor(const QString& extension, const Settings& settings) {
    const QString key = extension.toUpper() + QStringLiteral(" BPP");
    const SettingDef* def = FindSetting(QStringLiteral("Output"), key);
    if (!def || !def->formatExt || extension != QLatin1String(def->formatExt)) return std::nullopt;
    return GetNumber(settings, *def);
}

} // namespace tarvix
