#include "uSendFailure.h"

#include <cerrno>
#include <curl/curl.h>

namespace {

QString StripTrailingLineBreaks(QString text)
{
    while (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

QString SendFailureText(const TSmtpOutcome& outcome)
{
    const QString reason = StripTrailingLineBreaks(outcome.ErrorText);
    if (outcome.CurlCode == CURLE_COULDNT_RESOLVE_HOST)
        return QStringLiteral("Nerastas pašto serveris su vardu, nurodytu konfigūracijoje.\r\n(%1)"
                              "\r\n\r\nPasitikrinkite, ar teisingai nustatyti programos siuntimo "
                              "parametrai.")
            .arg(reason);
    if (outcome.OsErrno == ECONNRESET || outcome.OsErrno == EPIPE)
        return QStringLiteral("Ryšys su serveriu nutrūko.\r\n(%1)\r\nPabandykite siųsti dar kartą.")
            .arg(reason);
    if (!outcome.ErrorReply.isEmpty() && outcome.CurlCode != CURLE_OPERATION_TIMEDOUT &&
        outcome.CurlCode != CURLE_ABORTED_BY_CALLBACK)
        return QStringLiteral("Pašto serveris atmetė laišką.\r\n(%1)\r\n\r\nPatikrinkite, ar "
                              "teisingai nustatyti programos siuntimo parametrai.")
            .arg(StripTrailingLineBreaks(outcome.ErrorReply));
    // Refused or broken connections and everything else (time-outs, TLS)
    // share one text.
    return QStringLiteral("Nepavyko išsiųsti laiško dėl susijungimo problemų.\r\n(%1)").arg(reason);
}
