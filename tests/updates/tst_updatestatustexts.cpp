// The update states as the user reads them: texts, images, allowed checks,
// the overrides of the MI file and the last-check line.
#include "uDownloadTaskStore.h"
#include "uIniFile.h"
#include "uServerList.h"
#include "uUpdateStatusTexts.h"

#include <QTemporaryDir>
#include <QTest>

using enum TUpdateCheckStatus;
Q_DECLARE_METATYPE(TUpdateCheckStatus)

class TestUpdateStatusTexts : public QObject
{
    Q_OBJECT

private slots:
    void states_data()
    {
        QTest::addColumn<TUpdateCheckStatus>("status");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("descriptionStart");
        QTest::addColumn<int>("image");
        QTest::addColumn<bool>("restart");
        QTest::addColumn<bool>("timerChecks");
        QTest::addColumn<bool>("userChecks");
        QTest::addColumn<bool>("noteworthy");

        const QString site = DefaultUpdateHost;
        QTest::newRow("NotStarted") << NotStarted << "Atnaujinimai netikrinti"
                                    << "Dar nepatikrinta, ar yra programos atnaujinimų." << -1
                                    << false << true << true << false;
        QTest::newRow("InProgress") << InProgress << "Tikrinama"
                                    << "Jungiamasi prie " + site + ", tikrinant, ar yra" << 0
                                    << false << false << false << false;
        QTest::newRow("Nothing") << Nothing << "Atnaujinimų nerasta"
                                 << "Nėra programos atnaujinimų serveryje." << -1 << false << false
                                 << true << false;
        QTest::newRow("UpdatesFound")
            << UpdatesFound << "Siunčiami atnaujinimai"
            << "Siunčiami programos atnaujinimai iš " + site + "\r\n\r\nLeiskite" << 1 << false
            << false << false << true;
        QTest::newRow("Updated") << Updated << "Atnaujinimai įdiegti"
                                 << "Programos atnaujinimai sėkmingai parsiųsti ir įdiegti\r\n\r\n"
                                 << 2 << false << true << true << true;
        QTest::newRow("UpdatesPending")
            << UpdatesPending << "Atnaujinimai parsiųsti"
            << "Parsiųsti programos atnaujinimai, kuriuos įdiegti bus galima tik perstartavus" << 3
            << true << false << false << true;
        QTest::newRow("Failed") << Failed << "Nepavyko parsisiųsti arba įdiegti atnaujinimų"
                                << "Įvyko klaidų siunčiantis arba diegiant failus." << 4 << false
                                << false << true << true;
        QTest::newRow("Disabled") << Disabled << "Atnaujinimai neteikiami"
                                  << "Jums programos atnaujinimai teikiami kitokiu būdu" << -1
                                  << false << false << false << false;
    }

    void states()
    {
        QFETCH(TUpdateCheckStatus, status);
        QFETCH(QString, title);
        QFETCH(QString, descriptionStart);
        const QString text = BuiltInStatusTexts().at(static_cast<size_t>(status));
        QCOMPARE(StatusTitle(text), title);
        QVERIFY2(StatusDescription(text).startsWith(descriptionStart),
                 qPrintable(StatusDescription(text)));
        QTEST(StatusImageIndex(status), "image");
        QTEST(IsRestartOffered(status), "restart");
        QTEST(IsCheckAllowed(status, false), "timerChecks");
        QTEST(IsCheckAllowed(status, true), "userChecks");
        QTEST(IsNoteworthy(status), "noteworthy");
    }

    // The two texts stored in two pieces are joined whole.
    void joinedTexts()
    {
        const TStatusTexts texts = BuiltInStatusTexts();
        QVERIFY(texts.at(size_t(UpdatesPending))
                    .contains(QStringLiteral("Startuokite programą iš naujo.\r\nStartavus")));
        QVERIFY(texts.at(size_t(Failed))
                    .endsWith(QStringLiteral("prašom praneškite Virmanos "
                                             "konsultantams.")));
    }

    void overrides()
    {
        QTemporaryDir dir;
        TIniFile mi(dir.filePath(QStringLiteral("k_MI.ini")));
        mi.WriteString(UpdatesSection, QStringLiteral("SUpdateCheckStatusFailed"),
                       QStringLiteral("Klaida|Pirma eilutė\\nantra\\tsu \\\\ ženklu"));
        mi.WriteString(UpdatesSection, QStringLiteral("SUpdateCheckStatusNothing"),
                       QStringLiteral("Nieko naujo"));
        mi.WriteString(UpdatesSection, QStringLiteral("SUpdateCheckStatusUpdated"), QString());
        // Keys are the names themselves: a value index is no key.
        mi.WriteString(UpdatesSection, QStringLiteral("SUpdateCheckStatus0"), QStringLiteral("X"));

        const TStatusTexts texts = LoadStatusTexts(mi);
        QCOMPARE(StatusTitle(texts.at(size_t(Failed))), QStringLiteral("Klaida"));
        QCOMPARE(StatusDescription(texts.at(size_t(Failed))),
                 QStringLiteral("Pirma eilutė\r\nantra\tsu \\ ženklu"));
        QCOMPARE(StatusTitle(texts.at(size_t(Nothing))), QStringLiteral("Nieko naujo"));
        QCOMPARE(StatusDescription(texts.at(size_t(Nothing))), QStringLiteral("Nieko naujo"));
        const TStatusTexts builtIn = BuiltInStatusTexts();
        for (TUpdateCheckStatus kept : {NotStarted, Updated, Disabled})
            QCOMPARE(texts.at(size_t(kept)), builtIn.at(size_t(kept)));
    }

    void lastCheckLine()
    {
        QCOMPARE(LastCheckText(QDateTime()),
                 QStringLiteral("Paskutinįsyk patikrinta atnaujinimų: (netikrinta)"));
        QLocale::setDefault(QLocale(QLocale::Lithuanian, QLocale::Lithuania));
        const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
        const QString line = LastCheckText(when);
        QLocale::setDefault(QLocale::c());
        QVERIFY2(line.startsWith(QStringLiteral("Paskutinįsyk patikrinta atnaujinimų: ")) &&
                     line.contains(QStringLiteral("05:06:07")) &&
                     line.contains(QStringLiteral("03")),
                 qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestUpdateStatusTexts)
#include "tst_updatestatustexts.moc"
