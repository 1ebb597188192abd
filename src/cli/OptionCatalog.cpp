#include "cli/OptionCatalog.h"

#include "core/AppInfo.h"
#include "settings/SettingsTable.h"
#include "settings/Vocabulary.h"

namespace tarvix {

QList<OptionEntry> OptionCatalog() {
    QStringList formats;
    for (const QString& ext : OutputExtensions())
        if (!ext.isEmpty()) formats << ext;
    QList<OptionEntry> all = {
        {"--input", "-i", OptionValue::Texture, {}},
        {"--output", "-o", OptionValue::Folder, {}},
        {"--conversion", "-c", OptionValue::Words, formats},
        {"--file-list", "", OptionValue::File, {}},
        {"--profile", "", OptionValue::File, {}},
        {"--debug", "-d", OptionValue::None, {}},
        {"--quiet", "-q", OptionValue::None, {}},
        {"--pause", "-p", OptionValue::None, {}},
        {"--help", "-h", OptionValue::None, {}},
        {"--version", "-v", OptionValue::None, {}},
        {"--info", "", OptionValue::None, {}},
        {"--thumbnail", "", OptionValue::None, {}},
    };
    for (const SettingDef& def : SettingsTable()) {
        if (!def.option) continue;
        OptionEntry entry{
            QString::fromLatin1(def.option).toLower(), QString(), OptionValue::None, {}};
        if (def.optionKind == OptionKind::Value) {
            if (def.vocabulary != VocabularyKind::None) {
                entry.value = OptionValue::Words;
                for (const QString& word : Words(def.vocabulary))
                    entry.words << word.toLower();
            } else {
                entry.value = def.type == FieldType::Text ? OptionValue::Text : OptionValue::Number;
            }
        }
        all << entry;
    }
    return all;
}

namespace {

QString Bash(const QList<OptionEntry>& options) {
    QStringList names, words, textures, folders, files;
    for (const OptionEntry& o : options) {
        names << (o.value == OptionValue::None ? o.longName : o.longName + QLatin1Char('='));
        if (!o.shortName.isEmpty()) names << o.shortName;
        QStringList forms{o.longName};
        if (!o.shortName.isEmpty()) forms << o.shortName;
        for (const QString& form : forms) {
            if (o.value == OptionValue::Words)
                words
                    << QStringLiteral("        %1) choices=\"%2\" ;;").arg(form, o.words.join(' '));
            else if (o.value == OptionValue::Texture)
                textures << form;
            else if (o.value == OptionValue::Folder)
                folders << form;
            else if (o.value == OptionValue::File)
                files << form;
        }
    }
    QString script =
        QStringLiteral(R"(# bash completion for tarvix, made from its option table when it was built
_tarvix_textures() {
    local f
    while IFS= read -r f; do
        if [[ -d $f ]]; then COMPREPLY+=("$f/")
        elif [[ ${f,,} == *.dds ]]; then COMPREPLY+=("$f"); fi
    done < <(compgen -f -- "$1")
}
_tarvix() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local option="" value="" prefix=""
    COMPREPLY=()
    # "=" usually ends a word for the shell: "--x=" arrives as "--x" "=" "".
    if [[ $cur == "=" ]]; then option=$prev
    elif [[ $prev == "=" && $COMP_CWORD -ge 2 ]]; then option=${COMP_WORDS[COMP_CWORD-2]}; value=$cur
    elif [[ $cur == --*=* ]]; then option=${cur%%=*}; value=${cur#*=}; prefix="$option="
    else option=$prev; value=$cur; fi
    local choices="" kind=""
    case $option in
@WORDS@
        @TEXTURES@) kind=texture ;;
        @FOLDERS@) kind=folder ;;
        @FILES@) kind=file ;;
    esac
    if [[ $cur != -* || -n $prefix || $cur == "=" || $prev == "=" ]]; then
        if [[ -n $choices ]]; then
            COMPREPLY=($(compgen -P "$prefix" -W "$choices" -- "$value")); return
        elif [[ $kind == texture ]]; then _tarvix_textures "$value"; compopt -o nospace 2>/dev/null; return
        elif [[ $kind == folder ]]; then COMPREPLY=($(compgen -d -- "$value")); return
        elif [[ $kind == file ]]; then COMPREPLY=($(compgen -f -- "$value")); return
        fi
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "@NAMES@" -- "$cur"))
        [[ ${COMPREPLY[0]} == *= ]] && compopt -o nospace 2>/dev/null
    fi
}
complete -F _tarvix tarvix
)");
    auto alternatives = [](const QStringList& list) {
        return list.isEmpty() ? QStringLiteral("--no-such-option") : list.join(QLatin1Char('|'));
    };
    script.replace(QLatin1String("@WORDS@"), words.join(QLatin1Char('\n')));
    script.replace(QLatin1String("@TEXTURES@"), alternatives(textures));
    script.replace(QLatin1String("@FOLDERS@"), alternatives(folders));
    script.replace(QLatin1String("@FILES@"), alternatives(files));
    script.replace(QLatin1String("@NAMES@"), names.join(QLatin1Char(' ')));
    return script;
}

QString Zsh(const QList<OptionEntry>& options) {
    QStringList specs;
    for (const OptionEntry& o : options) {
        QString action;
        switch (o.value) {
        case OptionValue::None:
            break;
        case OptionValue::Number:
            action = QStringLiteral(":number: ");
            break;
        case OptionValue::Text:
            action = QStringLiteral(":text: ");
            break;
        case OptionValue::Words:
            action = QStringLiteral(":value:(%1)").arg(o.words.join(' '));
            break;
        case OptionValue::Texture:
            action = QStringLiteral(":texture:_files -g \"*.(#i)dds(-.)\"");
            break;
        case OptionValue::Folder:
            action = QStringLiteral(":folder:_files -/");
            break;
        case OptionValue::File:
            action = QStringLiteral(":file:_files");
            break;
        }
        const QString equals = o.value == OptionValue::None ? QString() : QStringLiteral("=-");
        specs << QStringLiteral("  '%1%2%3'").arg(o.longName, equals, action);
        if (!o.shortName.isEmpty()) specs << QStringLiteral("  '%1%2'").arg(o.shortName, action);
    }
    return QStringLiteral("#compdef tarvix\n# zsh completion for tarvix, made from its option "
                          "table when it was built\n_arguments -s \\\n") +
           specs.join(QStringLiteral(" \\\n")) + QLatin1Char('\n');
}

QString Fish(const QList<OptionEntry>& options) {
    QStringList lines{
        QStringLiteral(
            "# fish completion for tarvix, made from its option table when it was built"),
        QStringLiteral("function __tarvix_textures\n"
                       "    set -l token (string replace -r -- '^--[^=]*=' '' (commandline -ct))\n"
                       "    for f in $token*\n"
                       "        if test -d $f\n"
                       "            echo $f/\n"
                       "        else if string match -qi '*.dds' -- $f\n"
                       "            echo $f\n"
                       "        end\n"
                       "    end\n"
                       "end")};
    for (const OptionEntry& o : options) {
        QString line = QStringLiteral("complete -c tarvix -l %1").arg(o.longName.mid(2));
        if (!o.shortName.isEmpty()) line += QStringLiteral(" -s %1").arg(o.shortName.mid(1));
        switch (o.value) {
        case OptionValue::None:
            line += QStringLiteral(" -f");
            break;
        case OptionValue::Number:
        case OptionValue::Text:
            line += QStringLiteral(" -x");
            break;
        case OptionValue::Words:
            line += QStringLiteral(" -x -a '%1'").arg(o.words.join(' '));
            break;
        case OptionValue::Texture:
            line += QStringLiteral(" -x -a '(__tarvix_textures)'");
            break;
        case OptionValue::Folder:
            line += QStringLiteral(" -x -a '(__fish_complete_directories)'");
            break;
        case OptionValue::File:
            line += QStringLiteral(" -r -F");
            break;
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

QString CompletionScript(const QString& shell) {
    const QList<OptionEntry> options = OptionCatalog();
    if (shell == QLatin1String("bash")) return Bash(options);
    if (shell == QLatin1String("zsh")) return Zsh(options);
    if (shell == QLatin1String("fish")) return Fish(options);
    return QString();
}

} // namespace tarvix
