#include "request/InputSelection.h"

#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "platform/Paths.h"

#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace tarvix {

QStringList BuildAcceptedExtensions() {
    QStringList accepted;
    const auto& table = InputFormatTable();
    for (const QString& family : InputExtensions())
        for (auto it = table.constBegin(); it != table.constEnd(); ++it)
            if (it.value().canonical == family) accepted << it.key();
    return accepted;
}

QString ExtensionOf(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == QLatin1Char('.')) return path.mid(i + 1);
        if (c == QLatin1Char(' ') || c == QLatin1Char('/')) break;
    }
    return QString();
}

QString RelativeSubfolder(const QString& path, const QString& base) {
    if (path.isEmpty() || base.isEmpty()) return QString();
    QString folder = FolderOf(path);
    if (!folder.contains(base)) return QString();
    return folder.remove(base);
}

bool SetInputFile(RunState& state, const QString& path,
                  const std::function<void(const QString&)>& windowHook) {
    if (FileSize(path) == 0) return false;
    if (!state.acceptedExtensions.contains(ExtensionOf(path).toLower())) return false;
    state.inputList.clear();
    state.inputList.insert(path, InputEntry{RelativeSubfolder(path, state.cliInputPath)});
    if (state.cliInputGiven) return true;
    if (windowHook) windowHook(path);
    return true;
}

FolderScan ScanInputFolder(const QString& folder, const QStringList& acceptedExtensions) {
    FolderScan scan;
    auto decode = [](const char* name, QString* out) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        *out = utf8(QByteArrayView(name));
        return !utf8.hasError();
    };
    auto shown = [](const QByteArray& path) {
        // A name that is not UTF-8 is shown with its odd bytes as "?".
        return QString::fromUtf8(path).replace(QChar::ReplacementCharacter, QLatin1Char('?'));
    };
    // Pending folders as native bytes with their subfolder text; a stack, not a
    // recursion, so deep nesting costs memory for names only.
    struct Pending {
        QByteArray native;
        QString subfolder;
    };
    std::vector<Pending> pending{{NativePath(folder), QString()}};
    while (!pending.empty()) {
        const Pending at = std::move(pending.back());
        pending.pop_back();
        DIR* dir = ::opendir(at.native.constData());
        if (!dir) {
            scan.problems << shown(at.native) + QStringLiteral(": the folder cannot be read (") +
                                 QString::fromLocal8Bit(std::strerror(errno)) +
                                 QStringLiteral("); skipped");
            continue;
        }
        while (const dirent* entry = ::readdir(dir)) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
            const QByteArray native = at.native + name;
            bool isFolder = entry->d_type == DT_DIR;
            bool isFile = entry->d_type == DT_REG;
            if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
                // A link counts as what it points to, but a link to a folder is
                // never walked into.
                struct stat st {};
                if (::lstat(native.constData(), &st) != 0) continue; // gone meanwhile
                if (S_ISLNK(st.st_mode)) {
                    if (::stat(native.constData(), &st) != 0) continue; // dangling
                    isFile = S_ISREG(st.st_mode);
                } else {
                    isFolder = S_ISDIR(st.st_mode);
                    isFile = S_ISREG(st.st_mode);
                }
            }
            if (!isFolder && !isFile) continue;
            QString text;
            const bool utf8 = decode(name, &text);
            if (isFile && !acceptedExtensions.contains(ExtensionOf(text).toLower())) continue;
            if (!utf8) {
                scan.problems << shown(native) +
                                     (isFolder ? QStringLiteral(": the folder name is not valid "
                                                                "UTF-8; skipped")
                                               : QStringLiteral(": the file name is not valid "
                                                                "UTF-8; skipped"));
                continue;
            }
            if (isFolder)
                pending.push_back({native + '/', at.subfolder + text + QLatin1Char('/')});
            else
                scan.files.insert(folder + at.subfolder + text, InputEntry{at.subfolder});
        }
        ::closedir(dir);
    }
    return scan;
}

void AddInputFolder(const QString& folder, const QStringList& acceptedExtensions,
                    FolderScan& into) {
    const FolderScan scan = ScanInputFolder(
        folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'), acceptedExtensions);
    into.files.insert(scan.files);
    into.problems << scan.problems;
}

} // namespace tarvix
