#include "uSelectedItem.h"

bool CanComposeSend(const QList<TSelectedItem>& selection)
{
    return !selection.isEmpty() &&
           selection.front().Kind.compare(QLatin1String("dir"), Qt::CaseInsensitive) != 0;
}
