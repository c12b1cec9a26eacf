#include "uUpdateStatusTexts.h"

#include "uDownloadTaskStore.h"
#include "uIniFile.h"
#include "uServerList.h"
#include "uShared.h"

#include <QLocale>

namespace {

constexpr std::array<const char*, UpdateCheckStatusCount> StatusNames = {
    "NotStarted", "InProgress",     "Nothing", "UpdatesFound",
    "Updated",    "UpdatesPending", "Failed",  "Disabled"};

constexpr std::array<int, UpdateCheckStatusCount> ImageIndexes = {-1, 0, -1, 1, 2, 3, 4, -1};

size_t Index(TUpdateCheckStatus status)
{
    return static_cast<size_t>(status);
}

} // namespace

QString StatusName(TUpdateCheckStatus status)
{
    return QLatin1String(StatusNames.at(Index(status)));
}

TStatusTexts BuiltInStatusTexts()
{
    const QString site = DefaultUpdateHost;
    return {
        QStringLiteral("Atnaujinimai netikrinti|Dar nepatikrinta, ar yra programos atnaujinimų."),
        QStringLiteral("Tikrinama|Jungiamasi prie %1, tikrinant, ar yra programos "
                       "atnaujinimų\r\n\r\nPrašom palaukite, kol patikrinimas bus atliktas; "
                       "jeigu užkarda ar antispaminė programa rodo įspėjimą apie interneto "
                       "ryšį, prašom, leiskite programai jungtis prie interneto.")
            .arg(site),
        QStringLiteral("Atnaujinimų nerasta|Nėra programos atnaujinimų serveryje."),
        QStringLiteral("Siunčiami atnaujinimai|Siunčiami programos atnaujinimai iš "
                       "%1\r\n\r\nLeiskite programai baigti siųstis bylas, tuo metu galite "
                       "peržiūrinėti ataskaitas.")
            .arg(site),
        QStringLiteral("Atnaujinimai įdiegti|Programos atnaujinimai sėkmingai parsiųsti ir "
                       "įdiegti\r\n\r\nGalite tęsti darbą."),
        QStringLiteral("Atnaujinimai parsiųsti|Parsiųsti programos atnaujinimai, kuriuos įdiegti "
                       "bus galima tik perstartavus programą\r\n\r\nPrašom uždarykite programos "
                       "langą bei ataskaitų formas Excelyje, jeigu tokių yra atidaryta. "
                       "Startuokite programą iš naujo.") +
            QStringLiteral("\r\nStartavus programą iš naujo, užkarda arba antivirusinė programa "
                           "gali parodyti įspėjimą, kad programa mėgina startuoti kitą procesą; "
                           "leiskite jai tai padaryti."),
        QStringLiteral("Nepavyko parsisiųsti arba įdiegti atnaujinimų|Įvyko klaidų siunčiantis "
                       "arba diegiant failus. Jeigu esate tikri, kad interneto ryšys veikia ir "
                       "Kelmiros programos neblokavo užkarda ar antivirusinė programa, prašom "
                       "praneškite ") +
            QStringLiteral("Virmanos konsultantams."),
        QStringLiteral("Atnaujinimai neteikiami|Jums programos atnaujinimai teikiami kitokiu "
                       "būdu nei per Virmanos serverį."),
    };
}

TStatusTexts LoadStatusTexts(const TIniFile& mi)
{
    TStatusTexts texts = BuiltInStatusTexts();
    for (size_t i = 0; i < texts.size(); ++i) {
        const QString value = mi.ReadString(
            UpdatesSection, QStringLiteral("SUpdateCheckStatus") + QLatin1String(StatusNames.at(i)),
            QString());
        if (!value.isEmpty())
            texts.at(i) = ExpandStatusEscapes(value);
    }
    return texts;
}

QString StatusTitle(const QString& text)
{
    const qsizetype bar = text.indexOf(u'|');
    return bar < 0 ? text : text.left(bar);
}

QString StatusDescription(const QString& text)
{
    const qsizetype bar = text.indexOf(u'|');
    return bar < 0 ? text : text.mid(bar + 1);
}

int StatusImageIndex(TUpdateCheckStatus status)
{
    return ImageIndexes.at(Index(status));
}

bool IsCheckAllowed(TUpdateCheckStatus status, bool userAsked)
{
    using enum TUpdateCheckStatus;
    if (status == NotStarted || status == Updated)
        return true;
    return userAsked && (status == Nothing || status == Failed);
}

bool IsNoteworthy(TUpdateCheckStatus status)
{
    using enum TUpdateCheckStatus;
    return status == UpdatesFound || status == Updated || status == UpdatesPending ||
           status == Failed;
}

bool IsRestartOffered(TUpdateCheckStatus status)
{
    return status == TUpdateCheckStatus::UpdatesPending;
}

QString LastCheckText(const QDateTime& lastCheck)
{
    const QLocale locale;
    const QString when = lastCheck.isValid()
                             ? locale.toString(lastCheck.date(), QLocale::ShortFormat) + u' ' +
                                   locale.toString(lastCheck.time(), QLocale::LongFormat)
                             : QStringLiteral("(netikrinta)");
    return QStringLiteral("Paskutinįsyk patikrinta atnaujinimų: %1").arg(when);
}
