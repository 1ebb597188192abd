#include "request/InputSelection.h"

#include "core/AppInfo.h"
#include "core/FormatRegistry.h"
#include "platform/Paths.h"

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

} // namespace tarvix
