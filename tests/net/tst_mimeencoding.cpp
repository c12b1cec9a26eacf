#include "uMailError.h"
#include "uMimeEncoding.h"
#include "uMimeMessage.h"

#include <QTemporaryDir>
#include <QTest>

using namespace MimeEncoding;

class TestMimeEncoding : public QObject
{
    Q_OBJECT

private slots:
    // curl is told the message size before the first byte goes out: any
    // difference between the computed and the written size breaks the send.
    void base64SizeIsExact()
    {
        for (int bytes = 0; bytes < 400; ++bytes)
            QCOMPARE(Base64LinesSize(bytes), qint64(Base64Lines(QByteArray(bytes, 'x')).size()));
    }

    void messageSizeMatchesStream_data()
    {
        QTest::addColumn<QList<int>>("fileSizes");
        QTest::addColumn<QStringList>("body");
        QTest::addColumn<int>("readSize");
        QTest::newRow("no attachment, empty body") << QList<int>{} << QStringList{} << 4096;
        QTest::newRow("empty file") << QList<int>{0} << QStringList{QStringLiteral("x")} << 7;
        QTest::newRow("chunk edges")
            << QList<int>{57 * 4096, 57 * 4096 + 1, 1} << QStringList{} << 65536;
        QTest::newRow("tiny reads")
            << QList<int>{1000, 0, 58} << QStringList{QStringLiteral("ą")} << 1;
    }
    void messageSizeMatchesStream()
    {
        QFETCH(QList<int>, fileSizes);
        QFETCH(QStringList, body);
        QFETCH(int, readSize);
        QTemporaryDir dir;
        TMimeMessage message;
        message.SetFrom(QStringLiteral("Ona Šimkutė <ona@imone.lt>"));
        message.SetTo(QStringLiteral("centras@centras.lt"));
        message.SetSubject(QStringLiteral("Ataskaitos už žiemą"));
        message.SetBody(body);
        for (int i = 0; i < fileSizes.size(); ++i) {
            const QString path = dir.filePath(QStringLiteral("f%1.xls").arg(i));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(fileSizes[i], 'a'));
            file.close();
            message.AddAttachment(path);
        }
        // Twice: a second delivery attempt streams the same message again.
        for (int pass = 0; pass < 2; ++pass) {
            message.Rewind();
            QByteArray buffer(readSize, Qt::Uninitialized);
            qint64 total = 0;
            qint64 n;
            while ((n = message.Read(buffer.data(), readSize)) > 0)
                total += n;
            QCOMPARE(n, 0);
            QCOMPARE(total, message.Size());
        }
    }

    // Mail clients expect header lines of at most 78 characters.
    void longNonAsciiTextFoldsIntoShortLines_data()
    {
        QTest::addColumn<QByteArray>("header");
        const QString longName = QString(QStringLiteral("Ąžuolų ūkio ataskaita ")).repeated(8);
        QTest::newRow("subject") << HeaderText(longName);
        QTest::newRow("file name") << FileNameParameter(longName + QStringLiteral(".xls"));
        QTest::newRow("name") << NameParameter(longName + QStringLiteral(".xls"));
        QTest::newRow("sender") << AddressHeader(
            TMailAddress::Parse(longName + QStringLiteral(" <a@b.lt>")));
    }
    void longNonAsciiTextFoldsIntoShortLines()
    {
        QFETCH(QByteArray, header);
        for (const QByteArray& line : header.split('\n')) {
            // Room is left for the header name in front ("Subject: ").
            QVERIFY2(line.size() <= 78 - 9, line.constData());
            for (const char c : line)
                QVERIFY(uchar(c) < 0x80);
        }
    }

    void addressParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::newRow("bare") << QStringLiteral(" a@b.lt ") << QString()
                              << QStringLiteral("a@b.lt");
        QTest::newRow("named") << QStringLiteral("Jonas Jonaitis <j@b.lt>")
                               << QStringLiteral("Jonas Jonaitis") << QStringLiteral("j@b.lt");
        QTest::newRow("quoted") << QStringLiteral("\"Jonaitis, Jonas\" <j@b.lt>")
                                << QStringLiteral("Jonaitis, Jonas") << QStringLiteral("j@b.lt");
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("brackets in the name")
            << QStringLiteral("\"a>b <c>\" <j@b.lt>") << QStringLiteral("a>b <c>")
            << QStringLiteral("j@b.lt");
    }
    void addressParsing()
    {
        QFETCH(QString, text);
        const TMailAddress parsed = TMailAddress::Parse(text);
        QTEST(parsed.Name, "name");
        QTEST(parsed.Address, "address");
    }

    // Refused, not cleaned: dropping the line break of the first text would
    // leave "c@d.lt" as the address.
    void unsafeAddressRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("command after a line break") << QStringLiteral("a@b.lt>\r\nRCPT TO:<c@d.lt");
        QTest::newRow("header after a line feed") << QStringLiteral("a@b.lt\nBcc: c@d.lt");
        QTest::newRow("NUL") << QStringLiteral("a@b.lt") + QChar(0);
        QTest::newRow("DEL in the name") << QStringLiteral("Jonas\x7f <a@b.lt>");
        QTest::newRow("bracket in a bare address") << QStringLiteral("a@b.lt> NOTIFY=NEVER");
    }
    void unsafeAddressRefused()
    {
        QFETCH(QString, text);
        try {
            TMailAddress::Parse(text);
            QFAIL("accepted");
        } catch (const EMailError& error) {
            // The control characters are shown, not acted upon by the dialog.
            QVERIFY2(!error.Message().contains(QLatin1Char('\n')) &&
                         !error.Message().contains(QChar(0)),
                     qPrintable(error.Message()));
            QVERIFY(error.Message().startsWith(QStringLiteral("Netinkamas el. pašto adresas „")));
        }
    }
};

QTEST_GUILESS_MAIN(TestMimeEncoding)
#include "tst_mimeencoding.moc"
