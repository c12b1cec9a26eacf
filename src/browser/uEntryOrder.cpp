#include "uEntryOrder.h"

#include "uCodePage.h"

#include <algorithm>
#include <vector>

int CompareEntries(const TListEntry& a, const TListEntry& b)
{
    if (const int kind = a.Kind.compare(b.Kind); kind != 0)
        return kind;
    const QByteArray left = CodePageUpper(a.Name), right = CodePageUpper(b.Name);
    return left < right ? -1 : (right < left ? 1 : 0);
}

void SortEntries(QList<TListEntry>& entries)
{
    // The kind and the upper-case name in one key: "dir\0NAME", "file\0NAME".
    struct TKey
    {
        QByteArray Order;
        qsizetype Index;
    };
    std::vector<TKey> keys;
    keys.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.push_back({entries[i].Kind.toLatin1() + '\0' + CodePageUpper(entries[i].Name), i});
    std::sort(keys.begin(), keys.end(), [&entries](const TKey& a, const TKey& b) {
        if (const int order = a.Order.compare(b.Order); order != 0)
            return order < 0;
        const QString &left = entries[a.Index].Name, &right = entries[b.Index].Name;
        if (left != right)
            return left < right;
        return a.Index < b.Index;
    });
    QList<TListEntry> sorted;
    sorted.reserve(entries.size());
    for (const TKey& key : keys)
        sorted.append(std::move(entries[key.Index]));
    entries = std::move(sorted);
}
