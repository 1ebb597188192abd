#pragma once
// The text format of config.ini and profile files: an optional UTF-8 byte-order
// mark line, "[Group]" headers, "Key = Value" lines and "; " comments, CR LF line
// ends. Group names and keys match without regard to case.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <utility>

namespace tarvix {

// Larger files are not configuration we wrote or a profile anyone wrote by hand.
constexpr qint64 kMaxSettingsFileBytes = 16 * 1024 * 1024;

class IniReader {
public:
    // Reads the whole file; nullopt when it cannot be opened as a regular file or
    // is larger than kMaxSettingsFileBytes.
    static std::optional<IniReader> Open(const QString& path);
    static IniReader FromBytes(const QByteArray& bytes);

    // The raw value of a key of a group (leading blanks skipped, trailing kept),
    // looked up in the first section of that group only.
    std::optional<QString> Value(QStringView group, QStringView key) const;
    // Every key line of the first section of the group, in file order.
    QList<std::pair<QString, QString>> Entries(QStringView group) const;
    // The same without copies: key and raw value of each line in turn.
    void ForEach(QStringView group,
                 const std::function<void(QStringView key, QStringView value)>& visit) const;

private:
    // Key lines of the first section of each name only (the others are never
    // looked at), held as places in the text, so memory stays a small multiple
    // of the file's size whatever its lines are.
    struct Line {
        int section; // index into sections_
        qsizetype keyStart, valueStart;
        int keyLength, valueLength;
    };
    QString text_;
    QList<QString> sections_; // distinct names, first occurrence
    QList<Line> lines_;
    int FindSection(QStringView group) const;
    QStringView Key(const Line& line) const {
        return QStringView(text_).sliced(line.keyStart, line.keyLength);
    }
    QStringView ValueOf(const Line& line) const {
        return QStringView(text_).sliced(line.valueStart, line.valueLength);
    }
};

class IniWriter {
public:
    IniWriter();
    void BeginGroup(const QString& name);
    void Add(const QString& key, const QString& value);
    void EndGroup();
    const QByteArray& Bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// Decodes text that carries no byte-order mark: UTF-8 when the bytes are valid
// UTF-8, else ISO 8859-1. (Settings files are decoded this way line by line.)
// wasUtf8, when given, tells which it was.
QString DecodeUnmarkedText(QByteArrayView bytes, bool* wasUtf8 = nullptr);
// The same for the bytes before the first NUL.
QString DecodeUnmarkedTextToNul(const QByteArray& bytes);

// Writes bytes to path through a temporary file in the same folder that is
// renamed over the target, so readers never see a partial file.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace tarvix
