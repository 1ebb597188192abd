#include "core/AppInfo.h"

#include <cstdlib>

namespace tarvix {

QString VersionText(int number) {
    QString digits = QString::number(number);
    if (digits.size() > 1) digits.insert(1, QLatin1Char('.'));
    if (digits.size() > 3) digits.insert(3, QLatin1Char('.'));
    if (digits.endsWith(QLatin1Char('0'))) digits.truncate(3);
    return digits;
}

QString ProductName() {
    return QStringLiteral("Orvella DDS to JPG");
}

QString AppTitle() {
    return ProductName() + QLatin1Char(' ') + VersionText();
}

QString ProductNotice() {
    return QStringLiteral("Copyright \u00A9 2012-2026 Orvella Software");
}

QString WebSite() {
    const char* overridden = std::getenv("TARVIX_WEB_SITE");
    if (overridden && *overridden) return QString::fromUtf8(overridden);
    return QStringLiteral("http://orvella.example");
}

QString ProductPage() {
    return WebSite() + QStringLiteral("/tarvix/");
}

QString SupportEmail() {
    return QStringLiteral("support@orvella.example");
}

const QStringList& InputExtensions() {
    static const QStringList list{QStringLiteral("dds")};
    return list;
}

const QStringList& OutputExtensions() {
    static const QStringList list{QStringLiteral("jpg")};
    return list;
}

} // namespace tarvix
