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
    struct TKey
    {
        QByteArray Upper;
        qsizetype Index;
    };
    std::vector<TKey> keys;
    keys.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.push_back({CodePageUpper(entries[i].Name), i});
    std::sort(keys.begin(), keys.end(), [&entries](const TKey& a, const TKey& b) {
        const TListEntry &left = entries[a.Index], &right = entries[b.Index];
        if (const int kind = left.Kind.compare(right.Kind); kind != 0)
            return kind < 0;
        if (a.Upper != b.Upper)
            return a.Upper < b.Upper;
        if (left.Name != right.Name)
            return left.Name < right.Name;
        return a.Index < b.Index;
    });
    QList<TListEntry> sorted;
    sorted.reserve(entries.size());
    for (const TKey& key : keys)
        sorted.append(std::move(entries[key.Index]));
    entries = std::move(sorted);
}
