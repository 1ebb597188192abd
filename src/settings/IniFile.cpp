#include "settings/IniFile.h"

#include "settings/ValueParse.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvix {

QString DecodeUnmarkedText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), bytes.size());
}

std::optional<IniReader> IniReader::Open(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    // Opened without blocking and read only when it is a regular file: a FIFO
    // or a device at the path would otherwise hold the program forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxSettingsFileBytes) {
        ::close(fd);
        return std::nullopt;
    }
    // One byte more than the file holds: a file that grew meanwhile is read no
    // further than that, and never past the limit.
    QByteArray bytes(qsizetype(st.st_size) + 1, '\0');
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        filled += n;
    }
    ::close(fd);
    if (filled > kMaxSettingsFileBytes) return std::nullopt;
    bytes.truncate(filled);
    return FromBytes(bytes);
}

IniReader IniReader::FromBytes(const QByteArray& bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    const QString text =
        bytes.startsWith(bom) ? QString::fromUtf8(bytes.mid(3)) : DecodeUnmarkedText(bytes);
    IniReader reader;
    int section = -1;
    for (QStringView raw : QStringView(text).split(QLatin1Char('\n'))) {
        if (raw.endsWith(QLatin1Char('\r'))) raw.chop(1);
        qsizetype i = 0;
        while (i < raw.size() && (raw[i] == QLatin1Char(' ') || raw[i] == QLatin1Char('\t')))
            ++i;
        const QStringView line = raw.sliced(i);
        if (line.isEmpty() || line.front() == QLatin1Char(';')) continue;
        if (line.front() == QLatin1Char('[')) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            reader.sections_.append(
                (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).toString());
            section = int(reader.sections_.size()) - 1;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || section < 0) continue;
        QStringView key = line.first(eq);
        while (!key.isEmpty() &&
               (key.back() == QLatin1Char(' ') || key.back() == QLatin1Char('\t')))
            key.chop(1);
        QStringView value = line.sliced(eq + 1);
        while (!value.isEmpty() &&
               (value.front() == QLatin1Char(' ') || value.front() == QLatin1Char('\t')))
            value = value.sliced(1);
        reader.lines_.append(Line{section, key.toString(), value.toString()});
    }
    return reader;
}

int IniReader::FindSection(QStringView group) const {
    for (int i = 0; i < sections_.size(); ++i)
        if (sections_[i].compare(group, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

std::optional<QString> IniReader::Value(QStringView group, QStringView key) const {
    const int section = FindSection(group);
    if (section < 0) return std::nullopt;
    for (const Line& line : lines_)
        if (line.section == section && line.key.compare(key, Qt::CaseInsensitive) == 0)
            return line.value;
    return std::nullopt;
}

QList<std::pair<QString, QString>> IniReader::Entries(QStringView group) const {
    QList<std::pair<QString, QString>> entries;
    const int section = FindSection(group);
    if (section < 0) return entries;
    for (const Line& line : lines_)
        if (line.section == section) entries.append({line.key, line.value});
    return entries;
}

IniWriter::IniWriter() {
    bytes_ = QByteArray("\xEF\xBB\xBF\r\n");
}

void IniWriter::BeginGroup(const QString& name) {
    bytes_ += '[';
    bytes_ += name.toUtf8();
    bytes_ += "]\r\n";
}

void IniWriter::Add(const QString& key, const QString& value) {
    bytes_ += key.toUtf8();
    bytes_ += " = ";
    bytes_ += value.toUtf8();
    bytes_ += "\r\n";
}

void IniWriter::EndGroup() {
    bytes_ += "; \r\n";
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace tarvix
