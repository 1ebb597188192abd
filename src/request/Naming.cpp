#include "request/Naming.h"

#include "platform/Paths.h"
#include "settings/Vocabulary.h"

#include <array>
#include <ctime>

namespace tarvix {
namespace {

// In the fixed order of replacement.
constexpr std::array<const char*, 18> kPlaceholders = {
    "%filename%", "%filename[u]%", "%filename[l]%", "%filename[t]%", "%ext%", "%ext[u]%",
    "%ext[t]%",   "%yyyy%",        "%mm%",          "%dd%",          "%hh%",  "%ii%",
    "%ss%",       "%bpp%",         "%width%",       "%height%",      "%rnd%", "%n%"};

QString TitleCase(const QString& text) {
    if (text.isEmpty()) return text;
    return text.left(1).toUpper() + text.mid(1).toLower();
}

QString ZeroFilled(int32_t number) {
    QString digits = QString::number(number).rightJustified(5, QLatin1Char('0'));
    return digits.left(5); // a six-digit number loses its last digit
}

// Each date or time placeholder reads the clock on its own.
std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

QString TwoDigits(int value) {
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

QString PlaceholderValue(int index, const NameFacts& facts) {
    const QString name = StripExtension(FileNameOf(facts.input));
    const QString& ext = facts.extension;
    switch (index) {
    case 0:
        return name;
    case 1:
        return name.toUpper();
    case 2:
        return name.toLower();
    case 3:
        return TitleCase(name);
    case 4:
        return ext;
    case 5:
        return ext.toUpper();
    case 6:
        return TitleCase(ext);
    case 7:
        return QString::number(LocalNow().tm_year + 1900).rightJustified(4, QLatin1Char('0'));
    case 8:
        return TwoDigits(LocalNow().tm_mon + 1);
    case 9:
        return TwoDigits(LocalNow().tm_mday);
    case 10:
        return TwoDigits(LocalNow().tm_hour);
    case 11:
        return TwoDigits(LocalNow().tm_min);
    case 12:
        return TwoDigits(LocalNow().tm_sec);
    case 13:
        return QString::number(facts.bpp);
    case 14:
        return QString::number(facts.width);
    case 15:
        return QString::number(facts.height);
    case 16:
        return ZeroFilled(facts.random);
    case 17:
        return ZeroFilled(facts.counter);
    default:
        return QString();
    }
}

int PlaceholderIndex(const QString& placeholder) {
    for (size_t i = 0; i < kPlaceholders.size(); ++i)
        if (placeholder.compare(QLatin1String(kPlaceholders[i]), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace

QString StripExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString SubstitutePlaceholder(const QString& text, const QString& placeholder,
                              const NameFacts& facts) {
    const int index = PlaceholderIndex(placeholder);
    if (index < 0) return text;
    QString result = text;
    return result.replace(placeholder, PlaceholderValue(index, facts), Qt::CaseInsensitive);
}

QString OutputFileName(const NameFacts& facts, const Settings& settings) {
    QString name = settings.filenameMask.toLower();
    if (name.isEmpty()) name = QStringLiteral("%filename%.%ext%");
    for (const char* placeholder : kPlaceholders) {
        const QString p = QString::fromLatin1(placeholder);
        if (name.contains(p)) name = SubstitutePlaceholder(name, p, facts);
    }
    return name;
}

QString UnsafeOutputName(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("the file name mask gives an empty name");
    if (HasControlCharacter(name))
        return QStringLiteral("the file name mask gives a name with a control character");
    if (name.startsWith(QLatin1Char('/')))
        return QStringLiteral("the file name mask gives an absolute path: ") + name;
    for (QStringView part : QStringView(name).split(QLatin1Char('/')))
        if (part == QLatin1String(".."))
            return QStringLiteral("the file name mask leads out of the output folder: ") + name;
    return QString();
}

QString OutputFolderOf(const QString& outputFolder, const QString& subfolder,
                       const Settings& settings) {
    return settings.keepSubfolders ? outputFolder + subfolder : outputFolder;
}

bool UsesRunNumbers(const Settings& settings) {
    auto numbered = [](const QString& text) {
        return text.contains(QLatin1String("%n%"), Qt::CaseInsensitive) ||
               text.contains(QLatin1String("%rnd%"), Qt::CaseInsensitive);
    };
    return numbered(settings.filenameMask) ||
           (settings.doWatermark == kWatermarkText && numbered(settings.text));
}

QString WatermarkText(const NameFacts& facts, const Settings& settings) {
    QString text = settings.text;
    if (text.count(QLatin1Char('%')) < 2) return text;
    const QString lower = text.toLower();
    for (const char* placeholder : kPlaceholders) {
        const QString p = QString::fromLatin1(placeholder);
        if (lower.contains(p)) text = SubstitutePlaceholder(text, p, facts);
    }
    return text;
}

} // namespace tarvix
