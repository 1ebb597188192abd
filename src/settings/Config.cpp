#include "settings/Config.h"

#include "core/AppInfo.h"
#include "platform/LocalTime.h"
#include "settings/IniFile.h"
#include "settings/ValueParse.h"
#include "settings/Vocabulary.h"

#include <QFile>
#include <sys/stat.h>

namespace tarvix {
namespace {

QString FileValue(const Settings& s, const SettingDef& def) {
    switch (def.type) {
    case FieldType::Text:
        return GetText(s, def);
    case FieldType::Real:
        return FormatReal(GetReal(s, def));
    default:
        // The layout version written is always the one this program writes.
        if (QLatin1String(def.key) == QLatin1String("CFG")) return QStringLiteral("17");
        return QString::number(GetNumber(s, def));
    }
}

// The window geometry is kept only when the user asked for it; every other
// key outside the per-format blocks is always written.
bool IsWritten(const Settings& s, const SettingDef& def) {
    return QLatin1String(def.group) != QLatin1String("Window") || s.saveWindowPosition != 0;
}

QString EchoNumber(const Settings& s, const SettingDef& def) {
    return def.type == FieldType::Real ? QString::number(double(GetReal(s, def)))
                                       : QString::number(GetNumber(s, def));
}

} // namespace

QByteArray ConfigurationBytes(const Settings& settings) {
    IniWriter writer;
    const auto table = SettingsTable();
    const char* current = nullptr;
    for (size_t i = 0; i < table.size(); ++i) {
        const SettingDef& def = table[i];
        if (def.runOnly) continue;
        if (!current || qstrcmp(current, def.group) != 0) {
            if (current) writer.EndGroup();
            current = def.group;
            writer.BeginGroup(QString::fromLatin1(current));
        }
        if (def.formatExt) continue; // written in the blocks of the offered formats below
        if (!IsWritten(settings, def)) continue;
        writer.Add(QString::fromLatin1(def.key), FileValue(settings, def));
        // After "Format", each offered format's block follows in list order.
        if (QLatin1String(def.key) == QLatin1String("Format")) {
            const bool input = QLatin1String(def.group) == QLatin1String("Input");
            const QStringList& offered = input ? InputExtensions() : OutputExtensions();
            for (const QString& ext : offered)
                for (const SettingDef& block : table)
                    if (block.formatExt && QLatin1String(block.group) == QLatin1String(def.group) &&
                        ext == QLatin1String(block.formatExt))
                        writer.Add(QString::fromLatin1(block.key), FileValue(settings, block));
        }
    }
    if (current) writer.EndGroup();
    return writer.Bytes();
}

void LoadConfiguration(Settings& settings, const QString& path, QSize desktop,
                       QStringList* warnings) {
    std::optional<IniReader> file = IniReader::Open(path);
    struct stat st {};
    if (!file && warnings && !path.isEmpty() &&
        ::lstat(QFile::encodeName(path).constData(), &st) == 0)
        *warnings << QStringLiteral("Warning: ") + path +
                         QStringLiteral(
                             " cannot be read as a settings file; the defaults are used");
    ApplyConfiguration(settings, file, desktop, warnings, path);
}

void ApplyConfiguration(Settings& settings, const std::optional<IniReader>& file, QSize desktop,
                        QStringList* warnings, const QString& path) {
    ResetSettings(settings, false, desktop);
    if (file) {
        for (const SettingDef& def : SettingsTable()) {
            if (def.runOnly) continue;
            const std::optional<QString> raw =
                file->Value(QString::fromLatin1(def.group), QString::fromLatin1(def.key));
            if (!raw) {
                const QLatin1String key(def.key);
                if (key == QLatin1String("CFG")) SetNumber(settings, def, 0);
                if (key == QLatin1String("X") || key == QLatin1String("Y"))
                    SetNumber(settings, def, 100);
                continue;
            }
            switch (def.type) {
            case FieldType::Text:
                SetText(settings, def, TrimBlanks(*raw));
                break;
            case FieldType::Real:
                SetReal(settings, def, ParseReal(*raw));
                break;
            default:
                SetNumber(settings, def, ParseConfigInteger(*raw));
                break;
            }
            // The window would otherwise convert with values the command line
            // refuses (a quality of -1 ends up in the encoder's flag word).
            if (ClampToRange(settings, def) && warnings)
                *warnings << QStringLiteral("Warning: %1: %2 = %3 is outside %4 to %5; %6 used")
                                 .arg(path.isEmpty() ? QStringLiteral("config.ini") : path,
                                      QString::fromLatin1(def.key), TrimBlanks(*raw),
                                      QString::number(def.minimum), QString::number(def.maximum),
                                      EchoNumber(settings, def));
        }
    }
    if (settings.cfg < 11 && !settings.filenameMask.contains(QLatin1String("%ext%")))
        settings.filenameMask += QLatin1String(".%ext%");
    if (settings.cfg < 14 && settings.rawLoadAs != 0) settings.rawLoadAs += 2;
}

bool SaveConfiguration(const Settings& settings, const QString& path) {
    if (path.isEmpty()) return false;
    return WriteFileAtomically(path, ConfigurationBytes(settings));
}

void ApplyOption(Settings& settings, const SettingDef& def, const QString& value) {
    switch (def.optionKind) {
    case OptionKind::None:
        return;
    case OptionKind::SetFlag:
        SetNumber(settings, def, 1);
        break;
    case OptionKind::ClearFlag:
        SetNumber(settings, def, 0);
        break;
    case OptionKind::Value:
        if (def.vocabulary != VocabularyKind::None)
            SetNumber(settings, def, WordToCode(def.vocabulary, TrimBlanks(value)));
        else if (def.type == FieldType::Text)
            SetText(settings, def, value);
        else if (def.type == FieldType::Real)
            SetReal(settings, def, ParseReal(value));
        else
            SetNumber(settings, def, ParseOptionInteger(value));
        break;
    }
    if (def.companionKey)
        if (const SettingDef* companion =
                FindSetting(QString::fromLatin1(def.group), QString::fromLatin1(def.companionKey)))
            SetNumber(settings, *companion, def.companionValue);
}

QString ValueProblem(const SettingDef& def, const QString& value, const QString& extension) {
    if (def.optionKind != OptionKind::Value) return QString();
    const QString quoted = QLatin1Char('"') + value + QLatin1Char('"');
    if (def.vocabulary != VocabularyKind::None) {
        const QString word = TrimBlanks(value).toUpper();
        const QStringList words = Words(def.vocabulary);
        if (words.contains(word)) return QString();
        QString fallback = CodeToWord(def.vocabulary, 0, extension);
        if (fallback.isEmpty()) fallback = QStringLiteral("0");
        return quoted + QStringLiteral(" is not one of ") + words.join(QStringLiteral(", ")) +
               QStringLiteral("; ") + fallback + QStringLiteral(" used");
    }
    if (def.type == FieldType::Text) return QString();
    if (def.type == FieldType::Real) {
        if (IsWholeReal(value)) return QString();
        return quoted + QStringLiteral(" is not a number; ") +
               QString::number(double(ParseReal(value))) + QStringLiteral(" used");
    }
    if (IsWholeOptionInteger(value)) return QString();
    return quoted + QStringLiteral(" is not a whole number; ") +
           QString::number(ParseOptionInteger(value)) + QStringLiteral(" used");
}

bool LoadProfile(const QString& path, Settings& settings, QStringList* warnings) {
    const std::optional<IniReader> file = IniReader::Open(path);
    if (!file) return false;
    ApplyProfile(*file, path, settings, warnings);
    return true;
}

void ApplyProfile(const IniReader& profile, const QString& path, Settings& settings,
                  QStringList* warnings) {
    // A profile of a million bad lines gets a few warnings and a count, not a
    // million lines on the terminal.
    constexpr int kMaxWarnings = 20;
    int problems = 0;
    auto warn = [&](const auto& text) {
        if (warnings && ++problems <= kMaxWarnings)
            *warnings << QStringLiteral("Warning: profile ") + path + QStringLiteral(": ") + text();
    };
    const QStringList known = OptionNames(true);
    profile.ForEach(u"CLI", [&](QStringView key, QStringView rawValue) {
        const SettingDef* def = FindOption(key.toString().toUpper(), true);
        if (!def) {
            warn([&] {
                const QString nearest = NearestName(key.toString(), known);
                return QStringLiteral("unknown key ") + key.toString() +
                       QStringLiteral(" ignored") +
                       (nearest.isEmpty()
                            ? QString()
                            : QStringLiteral(" (did you mean ") + nearest + QStringLiteral("?)"));
            });
            return;
        }
        QString value = TrimBlanks(rawValue);
        if (def->field == FieldRef(&Settings::filenameMask)) {
            while (value.startsWith(QLatin1Char('"')))
                value.remove(0, 1);
            while (value.endsWith(QLatin1Char('"')))
                value.chop(1);
        }
        const QString problem = ValueProblem(*def, value);
        if (!problem.isEmpty())
            warn([&] { return key.toString() + QStringLiteral(": ") + problem; });
        ApplyOption(settings, *def, value);
    });
    if (warnings && problems > kMaxWarnings)
        *warnings << QStringLiteral("Warning: profile ") + path +
                         QStringLiteral(": %1 more lines ignored or changed")
                             .arg(problems - kMaxWarnings);
}

} // namespace tarvix
