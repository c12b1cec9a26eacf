#include "uCommandLineInfo.h"

std::optional<QString> CommandLineInfo(const QStringList& params)
{
    if (params.isEmpty())
        return std::nullopt;
    const QString version = QStringLiteral("KELMIRA " KELMIRA_VERSION_TEXT "\n");
    if (params.first() == QStringLiteral("--version"))
        return version;
    if (params.first() != QStringLiteral("--help"))
        return std::nullopt;
    return version +
           QStringLiteral("Ataskaitų formų darbo vieta: formų peržiūra ir pildymas, siuntimas į "
                          "Centrą, atnaujinimai.\n"
                          "\n"
                          "Naudojimas: kelmira [-i KELIAS]\n"
                          "\n"
                          "  -i KELIAS    nustatymų bazinis kelias: KELIAS su _AI ir _MI prieš\n"
                          "               plėtinį (darbo/kelmira.ini: darbo/kelmira_AI.ini ir\n"
                          "               darbo/kelmira_MI.ini); be jo - programos failo vardas\n"
                          "               su .ini toje pačioje vietoje\n"
                          "  --help       ši pagalba\n"
                          "  --version    programos versija\n");
}
