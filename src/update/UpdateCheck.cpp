#include "update/UpdateCheck.h"

#include "core/AppInfo.h"
#include "settings/ValueParse.h"

namespace tarvix {

QString VersionFileUrl() {
    return WebSite() + QStringLiteral("/files/tarvix.dat");
}

int UpdateIntervalDays(int code) {
    switch (code) {
    case 0:
        return 1;
    case 1:
        return 7;
    case 2:
        return 30;
    case 3:
        return 90;
    case 4:
        return 180;
    case 5:
        return 0;
    default:
        return 30;
    }
}

bool UpdateCheckDue(const Settings& settings, int64_t now) {
    const int days = UpdateIntervalDays(settings.updateRange);
    if (days == 0) return false;
    return now > int64_t(settings.updateDate) + int64_t(days) * 86400;
}

UpdateAnswer ClassifyVersionText(const QString& text) {
    const int32_t version = ParseOptionInteger(text);
    if (version == 0) return UpdateAnswer::ConnectionProblem;
    return version > kVersionNumber ? UpdateAnswer::NewVersion : UpdateAnswer::UpToDate;
}

} // namespace tarvix
