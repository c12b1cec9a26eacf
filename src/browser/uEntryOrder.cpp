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
    // The kind, then the upper-case name: the same order as comparing
    // "dir\0NAME" with "file\0NAME", without building such a text per entry.
    struct TKey
    {
        QString Kind;
        QByteArray Upper;
        qsizetype Index;
    };
    std::vector<TKey> keys;
    keys.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.push_back({entries[i].Kind, CodePageUpper(entries[i].Name), i});
    std::sort(keys.begin(), keys.end(), [&entries](const TKey& a, const TKey& b) {
        if (const int kind = a.Kind.compare(b.Kind); kind != 0)
            return kind < 0;
        if (const int order = a.Upper.compare(b.Upper); order != 0)
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
