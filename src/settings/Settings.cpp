#include "settings/Settings.h"

#include "core/AppInfo.h"
#include "platform/LocalTime.h"
#include "settings/SettingsTable.h"

namespace tarvix {

Settings::Settings() {
    ResetSettings(*this, false);
}

void ResetSettings(Settings& settings, bool forCommandLine, QSize desktop) {
    const int64_t now = LocalNowSeconds();
    for (const SettingDef& def : SettingsTable()) {
        switch (def.defaultKind) {
        case DefaultKind::Fixed:
            if (def.type == FieldType::Text)
                SetText(settings, def, QString::fromUtf8(def.defaultText));
            else if (def.type == FieldType::Real)
                SetReal(settings, def, def.defaultReal);
            else
                SetNumber(settings, def, def.defaultNumber);
            break;
        case DefaultKind::Now:
            SetNumber(settings, def, now);
            break;
        case DefaultKind::CentredX:
            SetNumber(settings, def, desktop.width() > 510 ? (desktop.width() - 510) / 2 : 100);
            break;
        case DefaultKind::CentredY:
            SetNumber(settings, def, desktop.height() > 260 ? (desktop.height() - 260) / 2 : 100);
            break;
        case DefaultKind::FirstInput:
            SetText(settings, def, InputExtensions().value(0));
            break;
        case DefaultKind::FirstOutput:
            SetText(settings, def, OutputExtensions().value(0));
            break;
        case DefaultKind::Notice:
            SetText(settings, def, ProductNotice());
            break;
        case DefaultKind::KeepAspect:
            SetNumber(settings, def, forCommandLine ? 0 : 1);
            break;
        }
    }
}

namespace {
int HexDigit(QChar ch) {
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}
} // namespace

Rgb ColorText(const QString& text) {
    if (text.size() != 6) return Rgb{};
    int channels[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        // Each pair is read like a hexadecimal number: reading stops at the first
        // character that is not a digit, keeping what was read so far.
        for (int i = 0; i < 2; ++i) {
            const int digit = HexDigit(text[2 * c + i]);
            if (digit < 0) break;
            channels[c] = channels[c] * 16 + digit;
        }
    }
    return Rgb{channels[0], channels[1], channels[2]};
}

} // namespace tarvix
