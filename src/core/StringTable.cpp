#include "core/StringTable.h"

#include <QList>
#include <QMutex>
#include <algorithm>
#include <array>
#include <atomic>

namespace tarvix {
namespace {

struct GroupRecord {
    QString name; // upper-cased
    int first = 0;
    int last = -1;
    std::array<int, 256> index{}; // first entry number per leading code unit, 0 = none
};

struct Table {
    QList<GroupRecord> groups; // numbered from 1: groups[n - 1]
    QList<QString> keys;       // numbered from 1: keys[n - 1]
    QList<QString> values;
    std::atomic<int> remembered{0};
    bool loaded = false;
};

Table& TheTable() {
    static Table table;
    return table;
}

// Reads the zero-terminated text starting at pos and moves pos past it.
QString NextText(const char16_t* data, std::size_t length, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < length && data[pos] != 0)
        ++pos;
    QString text = QString::fromUtf16(data + start, qsizetype(pos - start));
    if (pos < length) ++pos;
    return text;
}

} // namespace

void LoadStringTableFrom(const char16_t* data, std::size_t length) {
    Table& t = TheTable();
    t.groups.clear();
    t.keys.clear();
    t.values.clear();
    t.remembered = 0;

    // First pass: count groups and entries.
    int groupCount = 0, entryCount = 0;
    for (std::size_t pos = 0; pos < length;) {
        const QString first = NextText(data, length, pos);
        NextText(data, length, pos);
        if (first == QLatin1String("_END_")) break;
        if (first == QLatin1String("_GROUP_"))
            ++groupCount;
        else if (groupCount > 0)
            ++entryCount;
    }
    t.groups.reserve(groupCount);
    t.keys.reserve(entryCount);
    t.values.reserve(entryCount);

    // Second pass: key and value travel together as "KEY\x01value" until sorted.
    for (std::size_t pos = 0; pos < length;) {
        const QString first = NextText(data, length, pos);
        const QString second = NextText(data, length, pos);
        if (first == QLatin1String("_END_")) break;
        if (first == QLatin1String("_GROUP_")) {
            if (!t.groups.isEmpty()) t.groups.back().last = int(t.keys.size());
            GroupRecord group;
            group.name = second.toUpper();
            group.first = int(t.keys.size()) + 1;
            t.groups.append(group);
            continue;
        }
        if (t.groups.isEmpty()) continue;
        t.keys.append(first.toUpper() + QChar(0x0001) + second);
    }
    if (!t.groups.isEmpty()) t.groups.back().last = int(t.keys.size());

    t.values.resize(t.keys.size());
    for (GroupRecord& group : t.groups) {
        if (group.last < group.first) continue;
        auto begin = t.keys.begin() + (group.first - 1);
        auto end = t.keys.begin() + group.last;
        // Ordinal order, code unit by code unit.
        std::sort(begin, end, [](const QString& a, const QString& b) {
            return QStringView(a).compare(QStringView(b), Qt::CaseSensitive) < 0;
        });
        int previousLead = -1;
        for (int n = group.first; n <= group.last; ++n) {
            QString& combined = t.keys[n - 1];
            const qsizetype split = combined.indexOf(QChar(0x0001));
            t.values[n - 1] = combined.mid(split + 1);
            combined.truncate(split);
            const int lead = combined.isEmpty() ? 0 : combined.front().unicode();
            if (lead != previousLead && lead < 256) group.index[lead] = n;
            previousLead = lead;
        }
    }
    t.loaded = true;
}

void LoadStringTable() {
    static QMutex mutex;
    QMutexLocker lock(&mutex);
    if (!TheTable().loaded) LoadStringTableFrom(kStringTableData, kStringTableDataLength);
}

QString GetText(const QString& groupName, const QString& keyName) {
    Table& t = TheTable();
    const QString group = groupName.toUpper();
    const QString key = keyName.toUpper();
    int remembered = t.remembered.load(std::memory_order_relaxed);
    if (remembered < 1 || remembered > t.groups.size() || t.groups[remembered - 1].name != group) {
        remembered = 0;
        for (int n = 1; n <= t.groups.size(); ++n)
            if (t.groups[n - 1].name == group) {
                remembered = n;
                break;
            }
        t.remembered.store(remembered, std::memory_order_relaxed);
    }
    if (remembered == 0) return QStringLiteral("%NO_STRING_ERROR%");
    const GroupRecord& g = t.groups[remembered - 1];
    const int lead = key.isEmpty() ? 0 : key.front().unicode();
    int n = lead < 256 ? g.index[lead] : 0;
    if (key.isEmpty()) n = 0;
    if (n == 0) return QStringLiteral("%NO_STRING_ERROR%");
    for (; n <= g.last; ++n) {
        const int order = QStringView(key).compare(QStringView(t.keys[n - 1]), Qt::CaseSensitive);
        if (order == 0) return t.values[n - 1];
        if (order < 0) break;
    }
    return QStringLiteral("%NO_STRING_ERROR%");
}

QString FormatText(const QString& text, const QString& s1, const QString& s2, const QString& s3,
                   const QString& s4) {
    if (text.isEmpty()) return text;
    QString result = text;
    const QString* args[4] = {&s1, &s2, &s3, &s4};
    for (int k = 0; k < 4; ++k) {
        if (args[k]->isEmpty()) continue;
        result.replace(QStringLiteral("%s%1%").arg(k + 1), *args[k], Qt::CaseInsensitive);
    }
    return result;
}

} // namespace tarvix
