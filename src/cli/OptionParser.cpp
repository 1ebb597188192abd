#include "cli/OptionParser.h"

#include "settings/Config.h"
#include "settings/IniFile.h"
#include "settings/SettingsTable.h"
#include "settings/ValueParse.h"

namespace tarvix {

ParameterList::ParameterList(QStringList parameters) : parameters_(std::move(parameters)) {
    for (QString& p : parameters_)
        p.remove(QLatin1Char('"'));
}

ParameterList ParameterList::FromArgv(int argc, char** argv) {
    QStringList list;
    list.reserve(argc > 1 ? argc - 1 : 0);
    for (int i = 1; i < argc; ++i)
        list << DecodeUnmarkedText(QByteArrayView(argv[i]));
    return ParameterList(std::move(list));
}

const QString& ParameterList::At(qsizetype k) const {
    static const QString empty;
    return k >= 0 && k < parameters_.size() ? parameters_[k] : empty;
}

QString ParameterList::OptionName(qsizetype k) const {
    const QString name = TrimSpaces(At(k)).toString().toUpper();
    if (name.startsWith(QLatin1String("--"))) {
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        return eq < 0 ? name : name.left(eq);
    }
    if (name.startsWith(QLatin1Char('-'))) return name;
    return QString();
}

QString ParameterList::OptionValue(qsizetype k) const {
    const QString value = TrimSpaces(At(k)).toString();
    if (value.startsWith(QLatin1String("--"))) {
        const qsizetype eq = value.indexOf(QLatin1Char('='));
        if (eq >= 0) return value.mid(eq + 1);
    }
    return value;
}

namespace {

const QString kIncorrectCount = QStringLiteral("Incorrect number of parameters");

bool Is(const QString& name, const char* a, const char* b = nullptr) {
    return name == QLatin1String(a) || (b && name == QLatin1String(b));
}

} // namespace

ParseResult ParseOptions(const ParameterList& params, Settings& settings, RunState& state) {
    ParseResult result;
    for (qsizetype k = 0; k < params.Count(); ++k) {
        const QString name = params.OptionName(k);
        if (name.isEmpty()) continue;

        if (Is(name, "-I", "--INPUT") || Is(name, "-O", "--OUTPUT") ||
            Is(name, "-C", "--CONVERSION")) {
            if (Is(name, "-I", "--INPUT")) state.cliInputGiven = 1;
            if (!name.startsWith(QLatin1String("--"))) ++k; // the value is the next parameter
            const QString value = params.OptionValue(k);
            if (value.isEmpty() || value.startsWith(QLatin1Char('-'))) {
                result.error = kIncorrectCount;
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
            QString value;
            if (def->optionKind == OptionKind::Value) {
                value = params.OptionValue(k);
                if (value.isEmpty() || value.startsWith(QLatin1String("--"))) {
                    result.error = kIncorrectCount;
                    return result;
                }
            }
            ApplyOption(settings, *def, value);
            continue;
        }

        if (name == QLatin1String("--PROFILE")) {
            const QString value = params.OptionValue(k);
            if (value.isEmpty() || value.startsWith(QLatin1String("--"))) {
                result.error = kIncorrectCount;
                return result;
            }
            if (!LoadProfile(value, settings)) {
                result.error = QStringLiteral("Invalid profile file");
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
        // Any other name is ignored: no option reports an unknown name.
    }
    return result;
}

} // namespace tarvix
