#include "uCommandLine.h"

QString QuoteIfBlank(const QString& param)
{
    if (!param.contains(u' '))
        return param;
    QString inner = param;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

QString JoinParams(const QStringList& params, int n)
{
    QStringList quoted;
    for (qsizetype i = qMax(n, 0); i < params.size(); ++i)
        quoted.append(QuoteIfBlank(params.at(i)));
    return quoted.join(u' ');
}
