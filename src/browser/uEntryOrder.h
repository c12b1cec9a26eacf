#pragma once

#include "uExplorerEntry.h"

#include <QList>

// The order of a listing: folders ("dir") before files ("file"), then the
// names in upper case in the single-byte code page by byte value, so that
// letters with diacritics follow "Z". Negative when a goes first.
int CompareEntries(const TListEntry& a, const TListEntry& b);

// Sorts in that order. Names equal in upper case keep the order of their
// exact texts, so a listing does not depend on the order the disk gives.
void SortEntries(QList<TListEntry>& entries);
