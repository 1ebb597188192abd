#include "cli/OptionParser.h"

#include "cli/OptionCatalog.h"
#include "core/AppInfo.h"
#include "settings/Config.h"
#include "settings/IniFile.h"
#include "settings/SettingsTable.h"
#include "settings/ValueParse.h"
#include "settings/Vocabulary.h"

#include <QFileInfo>

namespace tarvix {

ParameterList::ParameterList(QStringList parameters, QList<bool> notUtf8)
    : parameters_(std::move(parameters)), notUtf8_(std::move(notUtf8)) {}

ParameterList ParameterList::FromArgv(int argc, char** argv) {
    QStringList list;
    QList<bool> notUtf8;
    for (int i = 1; i < argc; ++i) {
        bool utf8 = true;
        list << DecodeUnmarkedText(QByteArrayView(argv[i]), &utf8);
        notUtf8 << !utf8;
    }
    return ParameterList(std::move(list), std::move(notUtf8));
}

const QString& ParameterList::At(qsizetype k) const {
    static const QString empty;
    return k >= 0 && k < parameters_.size() ? parameters_[k] : empty;
}

QString ParameterList::OptionName(qsizetype k) const {
    const QString name = TrimSpaces(At(k)).toString().toUpper().remove(QLatin1Char('"'));
    if (name.startsWith(QLatin1String("--"))) {
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        return eq < 0 ? name : name.left(eq);
    }
    if (name.startsWith(QLatin1Char('-'))) return name;
    return QString();
}

QString ParameterList::OptionValue(qsizetype k, bool path) const {
    QString value = TrimSpaces(At(k)).toString();
    if (!path) value.remove(QLatin1Char('"'));
    if (value.startsWith(QLatin1String("--"))) {
        const qsizetype eq = value.indexOf(QLatin1Char('='));
        if (eq >= 0) return value.mid(eq + 1);
    }
    return value;
}

namespace {

const QString kIncorrectCount = QStringLiteral("Incorrect number of parameters");

// What to type instead, for an option given without its value: most tools take
// "--name value", this one "--name=value".
QString NeedsValue(const ParameterList& params, qsizetype k, const QString& typed) {
    const QString name = typed.section(QLatin1Char('='), 0, 0);
    if (!name.startsWith(QLatin1String("--")))
        return name + QStringLiteral(" needs a value after it: ") + name + QStringLiteral(" VALUE");
    const QString next =
        k + 1 < params.Count() ? TrimSpaces(params.At(k + 1)).toString() : QString();
    const QString example =
        next.isEmpty() || next.startsWith(QLatin1Char('-')) ? QStringLiteral("VALUE") : next;
    return name + QStringLiteral(" needs its value after \"=\": ") + name + QLatin1Char('=') +
           example;
}

// A path whose bytes are not UTF-8 names no file this program can name back:
// read as another encoding it would be another file.
QString NotUtf8Error(const QString& shown) {
    return QStringLiteral("Path not valid UTF-8: ") + shown;
}

bool Is(const QString& name, const char* a, const char* b = nullptr) {
    return name == QLatin1String(a) || (b && name == QLatin1String(b));
}

// Switches that count only as the first parameter.
const char* const kFirstOnly[] = {"-H", "-?", "--HELP", "-V", "--VERSION", "-U", "-T"};

bool IsOneOf(const QString& name, const auto& list) {
    for (const char* n : list)
        if (name == QLatin1String(n)) return true;
    return false;
}

// The option as the user typed it, without a value.
// "JPEG", "DDS": the offered formats as users call them.
QString FormatNames(const QStringList& extensions) {
    QStringList names;
    for (const QString& ext : extensions)
        names << (ext == QLatin1String("jpg") ? QStringLiteral("JPEG") : ext.toUpper());
    return names.join(QStringLiteral(", "));
}

QString Typed(const ParameterList& params, qsizetype k) {
    const QString typed = TrimSpaces(params.At(k)).toString();
    const qsizetype eq =
        typed.startsWith(QLatin1String("--")) ? typed.indexOf(QLatin1Char('=')) : -1;
    return eq < 0 ? typed : typed.left(eq);
}

QString UnknownOptionWarning(const ParameterList& params, qsizetype k, const QString& name) {
    const QString typed = TrimSpaces(params.At(k)).toString();
    if (IsOneOf(name, kFirstOnly))
        return QStringLiteral("Warning: option ") + typed +
               QStringLiteral(" ignored (it counts only as the first parameter)");
    // Every option a user may mean: the table's, the parser's own, the
    // first-position switches and the special modes.
    QStringList known;
    for (const OptionEntry& option : OptionCatalog()) {
        known << option.longName.toUpper();
        if (!option.shortName.isEmpty()) known << option.shortName.toUpper();
    }
    for (const char* n : kFirstOnly)
        known << QString::fromLatin1(n);
    const QString nearest = NearestName(name, known);
    return QStringLiteral("Warning: unknown option ") + typed + QStringLiteral(" ignored") +
           (nearest.isEmpty()
                ? QString()
                : QStringLiteral(" (did you mean ") + nearest.toLower() + QStringLiteral("?)"));
}

} // namespace

ParseResult ParseOptions(const ParameterList& params, Settings& settings, RunState& state) {
    ParseResult result;
    for (qsizetype k = 0; k < params.Count(); ++k) {
        const QString name = params.OptionName(k);
        if (name.isEmpty()) {
            if (!TrimSpaces(params.At(k)).isEmpty())
                result.warnings << QStringLiteral("Warning: parameter ") + params.At(k) +
                                       QStringLiteral(" ignored (it is no option; a run converts "
                                                      "the one file given with -i)");
            continue;
        }

        if (Is(name, "-I", "--INPUT") || Is(name, "-O", "--OUTPUT") ||
            Is(name, "-C", "--CONVERSION")) {
            if (Is(name, "-I", "--INPUT")) state.cliInputGiven = 1;
            const qsizetype at = k;
            if (!name.startsWith(QLatin1String("--"))) ++k; // the value is the next parameter
            const bool isPath = !Is(name, "-C", "--CONVERSION");
            const QString value = params.OptionValue(k, isPath);
            if (isPath && params.NotUtf8(k)) {
                result.error = NotUtf8Error(value);
                return result;
            }
            if (value.isEmpty() || value.startsWith(QLatin1Char('-'))) {
                result.error = kIncorrectCount;
                result.detail = NeedsValue(params, at, TrimSpaces(params.At(at)).toString());
                return result;
            }
            if (Is(name, "-I", "--INPUT"))
                state.cliInputPath = value;
            else if (Is(name, "-O", "--OUTPUT"))
                state.outputFolder = value;
            else
                state.conversionType = value;
            continue;
        }

        if (const SettingDef* def = FindOption(name, false)) {
            // Options of formats the product does not offer are kept, as stored
            // settings may rely on, but do nothing: the user is told so.
            if (def->formatExt) {
                const bool input = QLatin1String(def->group) == QLatin1String("Input");
                const QStringList& offered = input ? InputExtensions() : OutputExtensions();
                if (!offered.contains(QLatin1String(def->formatExt)))
                    result.warnings
                        << QStringLiteral("Warning: %1 has no effect: this program %2 %3")
                               .arg(Typed(params, k),
                                    input ? QStringLiteral("reads") : QStringLiteral("writes"),
                                    FormatNames(offered));
            }
            QString value;
            if (def->optionKind == OptionKind::Value) {
                const bool isPath = name == QLatin1String("--WM-IMAGE");
                value = params.OptionValue(k, isPath);
                if (isPath && params.NotUtf8(k)) {
                    result.error = NotUtf8Error(value);
                    return result;
                }
                if (value.isEmpty() || value.startsWith(QLatin1String("--"))) {
                    result.error = kIncorrectCount;
                    result.detail = NeedsValue(params, k, Typed(params, k));
                    return result;
                }
            }
            const QString problem = ValueProblem(*def, value);
            if (!problem.isEmpty())
                result.warnings << QStringLiteral("Warning: ") + Typed(params, k) +
                                       QStringLiteral(": ") + problem;
            else if (def->optionKind != OptionKind::Value &&
                     TrimSpaces(params.At(k)).contains(QLatin1Char('=')))
                result.warnings
                    << QStringLiteral("Warning: ") + Typed(params, k) +
                           QStringLiteral(" takes no value; \"") +
                           TrimSpaces(params.At(k)).toString().section(QLatin1Char('='), 1) +
                           QStringLiteral("\" ignored");
            ApplyOption(settings, *def, value);
            continue;
        }

        if (name == QLatin1String("--FILE-LIST")) {
            const QString value = params.OptionValue(k, true);
            if (params.NotUtf8(k)) {
                result.error = NotUtf8Error(value);
                return result;
            }
            if (value.isEmpty() || (value.startsWith(QLatin1String("--")))) {
                result.error = kIncorrectCount;
                result.detail = NeedsValue(params, k, Typed(params, k));
                return result;
            }
            state.cliFileList = value;
            state.cliInputGiven = 1;
            continue;
        }

        if (name == QLatin1String("--PROFILE")) {
            const QString value = params.OptionValue(k, true);
            if (params.NotUtf8(k)) {
                result.error = NotUtf8Error(value);
                return result;
            }
            if (value.isEmpty() || value.startsWith(QLatin1String("--"))) {
                result.error = kIncorrectCount;
                result.detail = NeedsValue(params, k, Typed(params, k));
                return result;
            }
            if (!LoadProfile(value, settings, &result.warnings)) {
                result.error = QStringLiteral("Invalid profile file");
                result.detail =
                    !QFileInfo::exists(value)    ? value + QStringLiteral(" does not exist")
                    : !QFileInfo(value).isFile() ? value + QStringLiteral(" is not a regular file")
                                                 : value + QStringLiteral(" cannot be read");
                return result;
            }
            continue;
        }

        if (Is(name, "-D", "--DEBUG"))
            state.runMode = RunMode::Debug;
        else if (Is(name, "-Q", "--QUIET"))
            result.quiet = true;
        else if (Is(name, "-P", "--PAUSE"))
            result.pause = true;
        else // ignored, as scripts may rely on, but named
            result.warnings << UnknownOptionWarning(params, k, name);
    }
    return result;
}

} // namespace tarvix
