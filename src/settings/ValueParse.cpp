#include "settings/ValueParse.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tarvix {
namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

int DigitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (u >= u'a' && u <= u'f')
        v = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        v = u - u'A' + 10;
    return v < base ? v : -1;
}

// Accumulating in 32-bit unsigned arithmetic keeps exactly the low 32 bits of
// however large a number was typed.
int32_t ReadDigits(QStringView text, qsizetype i, int base, bool negative) {
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0) break;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

} // namespace

QStringView TrimBlanksView(QStringView text) {
    qsizetype b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    return text.sliced(b, e - b);
}

QString TrimBlanks(QStringView text) {
    return TrimBlanksView(text).toString();
}

QStringView TrimSpaces(QStringView text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == QLatin1Char(' '))
        ++b;
    while (e > b && text[e - 1] == QLatin1Char(' '))
        --e;
    return text.sliced(b, e - b);
}

int32_t ParseOptionInteger(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i < text.size() && text[i] == QLatin1Char('$'))
        return ReadDigits(text, i + 1, 16, negative);
    if (i < text.size() && text[i] == QLatin1Char('%')) return ReadDigits(text, i + 1, 2, negative);
    return ReadDigits(text, i, 10, negative);
}

int32_t ParseConfigInteger(QStringView text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    return ReadDigits(text, i, 10, negative);
}

float ParseReal(QStringView raw) {
    const QStringView text = TrimBlanksView(raw);
    if (text.compare(QLatin1String("NaN"), Qt::CaseInsensitive) == 0)
        return std::numeric_limits<float>::quiet_NaN();
    if (text.compare(QLatin1String("+Infinity"), Qt::CaseInsensitive) == 0 ||
        text.compare(QLatin1String("Infinity"), Qt::CaseInsensitive) == 0)
        return std::numeric_limits<float>::infinity();
    if (text.compare(QLatin1String("-Infinity"), Qt::CaseInsensitive) == 0)
        return -std::numeric_limits<float>::infinity();

    // Take the longest prefix that reads as a decimal number; the C++ parser does
    // not depend on the process locale (a GUI run may have set one).
    std::string digits;
    qsizetype i = 0;
    auto at = [&](qsizetype k) { return k < text.size() ? text[k].unicode() : char16_t(0); };
    if (at(i) == u'+' || at(i) == u'-') digits += char(at(i++));
    bool mantissa = false;
    while (at(i) >= u'0' && at(i) <= u'9')
        digits += char(at(i++)), mantissa = true;
    if (at(i) == u'.') {
        digits += char(at(i++));
        while (at(i) >= u'0' && at(i) <= u'9')
            digits += char(at(i++)), mantissa = true;
    }
    if (!mantissa) return 0.0f;
    bool positiveExponent = true;
    if (at(i) == u'e' || at(i) == u'E') {
        qsizetype k = i + 1;
        std::string exponent = "e";
        if (at(k) == u'+' || at(k) == u'-') {
            positiveExponent = at(k) == u'+';
            exponent += char(at(k++));
        }
        if (at(k) >= u'0' && at(k) <= u'9') {
            while (at(k) >= u'0' && at(k) <= u'9')
                exponent += char(at(k++));
            digits += exponent;
        }
    }
    const char* begin = digits.data();
    if (*begin == '+') ++begin; // from_chars takes no leading plus
    double value = 0.0;
    auto [end, ec] = std::from_chars(begin, digits.data() + digits.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        const bool negative = digits.front() == '-';
        value = positiveExponent ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative) value = -value;
    } else if (ec != std::errc()) {
        return 0.0f;
    }
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

bool IsWholeOptionInteger(QStringView text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^[ \t]*[+-]?(\$[0-9A-Fa-f]+|%[01]+|[0-9]+)[ \t]*$)"));
    return pattern.match(text.toString()).hasMatch();
}

bool IsWholeReal(QStringView raw) {
    const QStringView text = TrimBlanksView(raw);
    for (const char* word : {"NaN", "+Infinity", "Infinity", "-Infinity"})
        if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return true;
    static const QRegularExpression pattern(
        QStringLiteral(R"(^[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$)"));
    return pattern.match(text.toString()).hasMatch();
}

QString NearestName(const QString& word, const QStringList& candidates) {
    const QString a = word.toUpper();
    QString best;
    qsizetype bestDistance = std::numeric_limits<qsizetype>::max();
    for (const QString& candidate : candidates) {
        const QString b = candidate.toUpper();
        // Edit distance with swapped neighbours counting as one slip.
        const qsizetype n = b.size() + 1;
        std::vector<qsizetype> d(size_t((a.size() + 1) * n));
        auto at = [&](qsizetype i, qsizetype j) -> qsizetype& { return d[size_t(i * n + j)]; };
        for (qsizetype i = 0; i <= a.size(); ++i)
            at(i, 0) = i;
        for (qsizetype j = 0; j <= b.size(); ++j)
            at(0, j) = j;
        for (qsizetype i = 1; i <= a.size(); ++i)
            for (qsizetype j = 1; j <= b.size(); ++j) {
                const qsizetype cost = a[i - 1] == b[j - 1] ? 0 : 1;
                at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + cost});
                if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                    at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
            }
        if (at(a.size(), b.size()) < bestDistance) {
            bestDistance = at(a.size(), b.size());
            best = candidate;
        }
    }
    // A slip of a key or two in a name of some length; short names are too
    // alike to guess between.
    const qsizetype allowed = std::min<qsizetype>(3, a.size() / 4);
    return bestDistance > 0 && bestDistance <= allowed ? best : QString();
}

QString FormatReal(float value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("+Infinity") : QStringLiteral("-Infinity");
    return QString::number(static_cast<double>(value), 'f', 6);
}

} // namespace tarvix
