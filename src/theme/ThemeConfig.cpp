#include "theme/ThemeConfig.h"

#include "settings/IniFile.h"

namespace tarvix {

QString DecodeThemeText(const QByteArray& bytes) {
    return DecodeUnmarkedTextToNul(bytes);
}

QString TrimThemeValue(const QString& text) {
    QString value = text;
    for (QChar c : {QChar(' '), QChar('\t'), QChar('\r'), QChar('\n')}) {
        qsizetype begin = 0, end = value.size();
        while (begin < end && value[begin] == c)
            ++begin;
        while (end > begin && value[end - 1] == c)
            --end;
        value = value.mid(begin, end - begin);
    }
    return value;
}

QString ThemeValue(const QString& text, const QString& section, const QString& key) {
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
    const qsizetype start = text.indexOf(QLatin1Char('[') + section + QLatin1Char(']'), 0, cs);
    if (start < 0) return QString();
    qsizetype stop = text.indexOf(QLatin1Char('['), start + 1);
    if (stop < 0) stop = text.size();
    const qsizetype p = text.indexOf(QStringLiteral("\r\n") + key, start, cs);
    if (p <= start || p >= stop) return QString();
    const qsizetype q = text.indexOf(QStringLiteral("\r\n"), p + 1);
    if (q < 0) return QString(); // the line has no CR LF after it
    const QString line = text.mid(p, q - p);
    return TrimThemeValue(line.section(QLatin1Char('='), 1, 1));
}

} // namespace tarvix
