#include "uCodePage.h"

#include <QtTest>

#include <algorithm>

class TestCodePage : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void missingCharactersBecomeQuestionMarks();
    void upperSortsDiacriticsAfterZ();
    void upperMapsBalticLetters();
};

void TestCodePage::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lower") << QStringLiteral("ąčęėįšųūž")
                           << QByteArray::fromHex("e0e8e6ebe1f0f8fbfe");
    QTest::newRow("upper") << QStringLiteral("ĄČĘĖĮŠŲŪŽ")
                           << QByteArray::fromHex("c0c8c6cbc1d0d8dbde");
    QTest::newRow("ascii") << QStringLiteral("Siuntimas=1") << QByteArray("Siuntimas=1");
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray::fromHex("80");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestCodePage::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ToCodePage(text), bytes);
    QCOMPARE(FromCodePage(bytes), text);
}

void TestCodePage::missingCharactersBecomeQuestionMarks()
{
    // Twice: the second time the characters' bytes are already known.
    for (int i = 0; i < 2; ++i)
        QCOMPARE(ToCodePage(QStringLiteral("aЖb😀ą")), QByteArray("a?b?\xe0"));
    // A high surrogate without its pair takes nothing that follows with it.
    const QChar high(0xd83d);
    QCOMPARE(ToCodePage(QStringLiteral("ą") + high + u'b' + high), QByteArray("\xe0?b?"));
}

void TestCodePage::upperSortsDiacriticsAfterZ()
{
    QStringList names = {QStringLiteral("Žuvis"),   QStringLiteral("zebras"),
                         QStringLiteral("ąžuolas"), QStringLiteral("Antis"),
                         QStringLiteral("alus"),    QStringLiteral("Šaltinis")};
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return CodePageUpper(a) < CodePageUpper(b);
    });
    const QStringList expected = {QStringLiteral("alus"),     QStringLiteral("Antis"),
                                  QStringLiteral("zebras"),   QStringLiteral("ąžuolas"),
                                  QStringLiteral("Šaltinis"), QStringLiteral("Žuvis")};
    QCOMPARE(names, expected);
}

void TestCodePage::upperMapsBalticLetters()
{
    QCOMPARE(CodePageUpper(QStringLiteral("ąčęėįšųūž øŗæ ß÷")),
             ToCodePage(QStringLiteral("ĄČĘĖĮŠŲŪŽ ØŖÆ ß÷")));
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
