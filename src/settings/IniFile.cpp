#include "settings/IniFile.h"

#include "settings/ValueParse.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvix {

QString DecodeUnmarkedText(QByteArrayView bytes, bool* wasUtf8) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (wasUtf8) *wasUtf8 = !utf8.hasError();
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(bytes.data(), bytes.size());
}

QString DecodeUnmarkedTextToNul(const QByteArray& bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    return DecodeUnmarkedText(QByteArrayView(bytes).first(nul < 0 ? bytes.size() : nul));
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
    IniReader reader;
    if (bytes.startsWith(bom)) {
        reader.text_ = QString::fromUtf8(bytes.mid(3));
    } else {
        // Line by line: one line in another encoding does not turn the whole
        // file into ISO 8859-1 (and the next save would double-encode the rest).
        reader.text_.reserve(bytes.size());
        qsizetype start = 0;
        while (start <= bytes.size()) {
            qsizetype end = bytes.indexOf('\n', start);
            if (end < 0) end = bytes.size();
            reader.text_ += DecodeUnmarkedText(QByteArrayView(bytes).sliced(start, end - start));
            if (end < bytes.size()) reader.text_ += QLatin1Char('\n');
            start = end + 1;
        }
    }
    const QStringView text(reader.text_);
    QSet<QString> seen;
    int section = -1;
    bool firstOfName = false;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) end = text.size();
        qsizetype b = start, e = end;
        start = end + 1;
        if (e > b && text[e - 1] == QLatin1Char('\r')) --e;
        while (b < e && (text[b] == QLatin1Char(' ') || text[b] == QLatin1Char('\t')))
            ++b;
        if (b == e || text[b] == QLatin1Char(';')) continue;
        const QStringView line = text.sliced(b, e - b);
        if (line.front() == QLatin1Char('[')) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name =
                (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).toString();
            firstOfName = !seen.contains(name.toLower());
            if (firstOfName) {
                seen.insert(name.toLower());
                reader.sections_.append(name);
                section = int(reader.sections_.size()) - 1;
            }
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || section < 0 || !firstOfName) continue;
        qsizetype keyLength = eq;
        while (keyLength > 0 && (line[keyLength - 1] == QLatin1Char(' ') ||
                                 line[keyLength - 1] == QLatin1Char('\t')))
            --keyLength;
        if (keyLength == 0) continue; // no key: nothing can look it up
        qsizetype value = eq + 1;
        while (value < line.size() &&
               (line[value] == QLatin1Char(' ') || line[value] == QLatin1Char('\t')))
            ++value;
        reader.lines_.append(Line{section, b, b + value, int(keyLength), int(line.size() - value)});
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
        if (line.section == section && Key(line).compare(key, Qt::CaseInsensitive) == 0)
            return ValueOf(line).toString();
    return std::nullopt;
}

QList<std::pair<QString, QString>> IniReader::Entries(QStringView group) const {
    QList<std::pair<QString, QString>> entries;
    const int section = FindSection(group);
    if (section < 0) return entries;
    for (const Line& line : lines_)
        if (line.section == section)
            entries.append({Key(line).toString(), ValueOf(line).toString()});
    return entries;
}

void IniReader::ForEach(QStringView group,
                        const std::function<void(QStringView, QStringView)>& visit) const {
    const int section = FindSection(group);
    if (section < 0) return;
    for (const Line& line : lines_)
        if (line.section == section) visit(Key(line), ValueOf(line));
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
