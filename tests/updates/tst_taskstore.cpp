#include "uDownloadTaskStore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

void WriteFile(const QString& path, const QByteArray& content)
{
    if (content.isNull())
        return; // no such file at all
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class TTaskStoreTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString AiPath() const { return FDir.filePath(QStringLiteral("kelmira_AI.ini")); }
    QString MiPath() const { return FDir.filePath(QStringLiteral("kelmira_MI.ini")); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        QFile::remove(AiPath());
        QFile::remove(MiPath());
    }

    // Each named setting from the file that owns it, with its default.
    void namedSettings_data()
    {
        QTest::addColumn<QByteArray>("ai");
        QTest::addColumn<QByteArray>("mi");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("expected");

        const QByteArray none; // the file does not exist
        for (const auto& [setting, expected] :
             {std::pair{"Klientas", "47150926"}, std::pair{"Tikrinti", "true"},
              std::pair{"Direktorija", ""}, std::pair{"Serveriai", ""}, std::pair{"Proxy", ""},
              std::pair{"Versija", ""}})
            QTest::addRow("no files: %s", setting)
                << none << none << QString::fromLatin1(setting) << QString::fromLatin1(expected);

        QTest::newRow("Serveriai in MI only")
            << QByteArray("[Atnaujinimai]\r\nX=1\r\n")
            << QByteArray("[Atnaujinimai]\r\nServeriai= mi1, mi2 \r\n") << "Serveriai"
            << "mi1, mi2";
        QTest::newRow("Serveriai in both: AI first")
            << QByteArray("[Atnaujinimai]\r\nServeriai=u:p@ai:2121\r\n")
            << QByteArray("[Atnaujinimai]\r\nServeriai=mi\r\n") << "Serveriai"
            << "u:p@ai:2121,mi";
        QTest::newRow("Serveriai in AI only: trailing comma")
            << QByteArray("[Atnaujinimai]\r\nServeriai=ai\r\n") << none << "Serveriai"
            << "ai,";
        QTest::newRow("Tikrinti N in AI, 1 in MI")
            << QByteArray("[Atnaujinimai]\r\nTikrinti=N\r\n")
            << QByteArray("[Atnaujinimai]\r\nTikrinti=1\r\n") << "Tikrinti"
            << "true";
        QTest::newRow("Tikrinti N in AI, empty in MI")
            << QByteArray("[Atnaujinimai]\r\nTikrinti=N\r\n")
            << QByteArray("[Atnaujinimai]\r\nTikrinti=  \r\n") << "Tikrinti"
            << "false";
        QTest::newRow("Tikrinti 0 in MI over yes in AI")
            << QByteArray("[Atnaujinimai]\r\nTikrinti=T\r\n")
            << QByteArray("[Atnaujinimai]\r\nTikrinti=0\r\n") << "Tikrinti"
            << "false";
        QTest::newRow("Tikrinti false is yes")
            << QByteArray("[Atnaujinimai]\r\nTikrinti=false\r\n") << none << "Tikrinti"
            << "true";
        QTest::newRow("Tikrinti n with blanks")
            << QByteArray("[Atnaujinimai]\r\nTikrinti=  no\r\n") << none << "Tikrinti"
            << "false";
        QTest::newRow("Klientas from MI, not AI")
            << QByteArray("[Atnaujinimai]\r\nKlientas=111\r\n")
            << QByteArray("[Atnaujinimai]\r\nKlientas= 222 \r\n") << "Klientas"
            << "222";
        QTest::newRow("Klientas in AI only: default")
            << QByteArray("[Atnaujinimai]\r\nKlientas=111\r\n") << none << "Klientas"
            << "47150926";
        QTest::newRow("Direktorija from MI")
            << QByteArray("[Atnaujinimai]\r\nDirektorija=ai\r\n")
            << QByteArray("[Atnaujinimai]\r\nDirektorija=www\r\n") << "Direktorija"
            << "www";
        QTest::newRow("Proxy from AI") << QByteArray("[Atnaujinimai]\r\nProxy= gw:3128 \r\n")
                                       << QByteArray("[Atnaujinimai]\r\nProxy=mi\r\n") << "Proxy"
                                       << "gw:3128";
        QTest::newRow("Proxy in MI only: none")
            << none << QByteArray("[Atnaujinimai]\r\nProxy=mi\r\n") << "Proxy"
            << "";
        QTest::newRow("Versija from AI")
            << QByteArray("[Atnaujinimai]\r\nVersija=2.1\r\n")
            << QByteArray("[Atnaujinimai]\r\nVersija=9.9\r\n") << "Versija"
            << "2.1";
    }

    void namedSettings()
    {
        QFETCH(QByteArray, ai);
        QFETCH(QByteArray, mi);
        QFETCH(QString, setting);
        QFETCH(QString, expected);
        WriteFile(AiPath(), ai);
        WriteFile(MiPath(), mi);

        const TDownloadTaskStore store(AiPath(), MiPath());
        const std::map<QString, std::function<QString()>> settings{
            {"Klientas", [&] { return store.GetClient(); }},
            {"Direktorija", [&] { return store.GetDirectory(); }},
            {"Serveriai", [&] { return store.GetServers(); }},
            {"Proxy", [&] { return store.GetProxy(); }},
            {"Versija", [&] { return store.GetVersion(); }},
            {"Tikrinti",
             [&] {
                 return store.GetCheckEnabled() ? QStringLiteral("true") : QStringLiteral("false");
             }},
        };
        QCOMPARE(settings.at(setting)(), expected);
    }

    // "[MI]" in any letter case sends a section to the MI file without the
    // prefix; every other name goes to the AI file unchanged.
    void sectionRouting_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<bool>("inMi");
        QTest::addColumn<QString>("fileSection");

        QTest::newRow("[mi]Nustatymai") << "[mi]Nustatymai" << true << "Nustatymai";
        QTest::newRow("[MI]Nustatymai") << "[MI]Nustatymai" << true << "Nustatymai";
        QTest::newRow("[Mi]Button.Captions") << "[Mi]Button.Captions" << true << "Button.Captions";
        QTest::newRow("[MI] alone") << "[MI]" << true << "";
        QTest::newRow("[mi] alone") << "[mi]" << true << "";
        QTest::newRow("Nustatymai") << "Nustatymai" << false << "Nustatymai";
        QTest::newRow("[MI shorter") << "[MI" << false << "[MI";
        QTest::newRow("MI without brackets") << "MINustatymai" << false << "MINustatymai";
    }

    void sectionRouting()
    {
        QFETCH(QString, section);
        QFETCH(bool, inMi);
        QFETCH(QString, fileSection);
        TDownloadTaskStore store(AiPath(), MiPath());
        const TIniFile target(inMi ? MiPath() : AiPath());
        const TIniFile other(inMi ? AiPath() : MiPath());
        const QString key = QStringLiteral("Kontrole");

        store.WriteString(section, key, QStringLiteral("a.xlt"));
        store.WriteInteger(section, QStringLiteral("Kiekis"), 7);
        QCOMPARE(target.ReadString(fileSection, key, QString()), QStringLiteral("a.xlt"));
        QVERIFY(!QFile::exists(other.FileName()));
        QCOMPARE(store.ReadString(section, key, QString()), QStringLiteral("a.xlt"));
        QCOMPARE(store.ReadInteger(section, QStringLiteral("Kiekis"), 0), 7);
        QVERIFY(store.ValueExists(section, key));
        QCOMPARE(store.ReadSectionValues(section),
                 QStringList({QStringLiteral("Kontrole=a.xlt"), QStringLiteral("Kiekis=7")}));

        store.DeleteKey(section, key);
        QVERIFY(!target.ValueExists(fileSection, key));
        QVERIFY(target.ValueExists(fileSection, QStringLiteral("Kiekis")));
        store.EraseSection(section);
        QVERIFY(!target.SectionExists(fileSection));
    }

    void versionIsWrittenToAi()
    {
        TDownloadTaskStore store(AiPath(), MiPath());
        store.SetVersion(QStringLiteral("3.2"));
        QCOMPARE(TIniFile(AiPath()).ReadString(QStringLiteral("Atnaujinimai"),
                                               QStringLiteral("Versija"), QString()),
                 QStringLiteral("3.2"));
        QVERIFY(!QFile::exists(MiPath()));
    }

    // The single-file store takes every setting from its one file.
    void singleFileStore()
    {
        WriteFile(AiPath(), "[Atnaujinimai]\r\nKlientas= 5 \r\nServeriai=s\r\nTikrinti=0\r\n");
        const TDownloadTaskIniFile store{TIniFile(AiPath())};
        QCOMPARE(store.GetClient(), QStringLiteral("5"));
        QCOMPARE(store.GetServers(), QStringLiteral("s"));
        QVERIFY(!store.GetCheckEnabled());
        QCOMPARE(store.ReadString(QStringLiteral("[MI]Atnaujinimai"), QStringLiteral("Klientas"),
                                  QStringLiteral("none")),
                 QStringLiteral("none"));
    }
};

QTEST_GUILESS_MAIN(TTaskStoreTest)
#include "tst_taskstore.moc"
