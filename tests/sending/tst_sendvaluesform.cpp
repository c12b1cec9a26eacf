#include "uCodePage.h"
#include "uIniFile.h"
#include "uMessageDlg.h"
#include "uScreenshot.h"
#include "uSendController.h"
#include "uSendSettings.h"
#include "uSendValuesForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QColor Background(255, 241, 206);

// An AI file with the given content, a main window and the controller.
struct TFixture
{
    QTemporaryDir Dir;
    QString Path = Dir.filePath(QStringLiteral("kelmira_AI.ini"));
    QWidget MainWindow;
    std::unique_ptr<TIniFile> Ini;
    std::unique_ptr<TSendController> Controller;

    explicit TFixture(const QString& content)
    {
        QFile file(Path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the AI file");
        file.write(ToCodePage(content));
        file.close();
        Ini = std::make_unique<TIniFile>(Path);
        MainWindow.resize(669, 540);
        Controller = std::make_unique<TSendController>(&MainWindow, *Ini, QString(), QString(),
                                                       [] { return QList<TSelectedItem>(); });
    }

    QByteArray Bytes() const
    {
        QFile file(Path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    // Runs the settings dialog; `script` acts on it while it is open and must
    // close it.
    void RunDialog(const std::function<void(TSendValuesForm&)>& script)
    {
        QTimer::singleShot(0, [script] {
            auto* form = qobject_cast<TSendValuesForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            script(*form);
            if (form->isVisible())
                form->cxButtonCancel->click();
        });
        Controller->MenuNustatymaiClick();
    }
};

bool IsLocked(const QLineEdit* edit)
{
    return edit->isReadOnly() && edit->palette().color(QPalette::Base) == Background;
}

} // namespace

class TestSendValuesForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { MessageDlgScript::Reset(); }

    void readingRules_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("timeout");
        QTest::addColumn<bool>("ssl");
        QTest::addColumn<bool>("beep");
        QTest::addColumn<QStringList>("locked");
        QTest::addColumn<bool>("sslEnabled");
        const QString head = QStringLiteral("[Siuntimas]\r\n");
        QTest::newRow("no section") << QString() << "25"
                                    << "60000" << false << true << QStringList() << true;
        QTest::newRow("empty Beep") << head + "Beep=\r\n"
                                    << "25"
                                    << "60000" << false << false << QStringList() << true;
        QTest::newRow("Beep 1, port and time-out as written")
            << head + "Beep=1\r\nPort=abc\r\nTimeout=5000\r\n"
            << "abc"
            << "5000" << false << true << QStringList() << true;
        QTest::newRow("SSL blank yes") << head + "SSL= yes\r\n"
                                       << "25"
                                       << "60000" << true << true << QStringList() << true;
        QTest::newRow("SSL empty") << head + "SSL=\r\n"
                                   << "25"
                                   << "60000" << false << true << QStringList() << true;
        QTest::newRow("SSL 2") << head + "SSL=2\r\n"
                               << "25"
                               << "60000" << false << true << QStringList() << true;
        QTest::newRow("SSL t") << head + "SSL=t\r\n"
                               << "25"
                               << "60000" << true << true << QStringList() << true;
        QTest::newRow("locks 1 and 0x1")
            << head + "Host readonly=1\r\nPort readonly=0x1\r\nSSL readonly=1\r\n"
            << "25"
            << "60000" << false << true << QStringList{"Host", "Port"} << false;
        QTest::newRow("locks T and empty")
            << head + "Host readonly=T\r\nMailTo readonly=\r\nTimeout readonly=0\r\n"
            << "25"
            << "60000" << false << true << QStringList() << true;
        QTest::newRow("every lock")
            << head + "Host readonly=1\r\nPort readonly=1\r\nTimeout readonly=1\r\n"
                      "MailTo readonly=1\r\nUsername readonly=1\r\n"
            << "25"
            << "60000" << false << true
            << QStringList{"Host", "Port", "Timeout", "MailTo", "Username"} << true;
    }
    void readingRules()
    {
        QFETCH(QString, ini);
        QFETCH(QStringList, locked);
        TFixture fixture(ini);
        fixture.RunDialog([&](TSendValuesForm& form) {
            QCOMPARE(form.cxEditHost->text(), QString());
            QTEST(form.cxEditPort->text(), "port");
            QTEST(form.cxEditTime->text(), "timeout");
            QTEST(form.cxCheckBoxSMTPSSL->isChecked(), "ssl");
            QTEST(form.cxCheckBoxBeep->isChecked(), "beep");
            QTEST(form.cxCheckBoxSMTPSSL->isEnabled(), "sslEnabled");
            const QList<QPair<QString, QLineEdit*>> fields{{"Host", form.cxEditHost},
                                                           {"Port", form.cxEditPort},
                                                           {"Timeout", form.cxEditTime},
                                                           {"MailTo", form.cxEditMailTo},
                                                           {"Username", form.cxEditSMTPUserName}};
            for (const auto& [name, edit] : fields)
                QVERIFY2(IsLocked(edit) == locked.contains(name), qPrintable(name));
            QVERIFY(!IsLocked(form.cxEditMyMail));
        });
    }

    // Saving unchanged values still writes all ten keys, locked ones too.
    void saveWritesAllTenKeys()
    {
        TFixture fixture(QStringLiteral("[Siuntimas]\r\nHost=pastas.lt\r\nHost readonly=1\r\n"
                                        "Password= slaptas \r\n"));
        fixture.RunDialog([](TSendValuesForm& form) { form.cxButtonSave->click(); });
        const QList<QPair<QString, QString>> expected{
            {"Host", "pastas.lt"}, {"Port", "25"},  {"Timeout", "60000"}, {"MailTo", ""},
            {"MyMail", ""},        {"Subject", ""}, {"Username", ""},     {"Password", "slaptas"},
            {"SSL", "N"},          {"Beep", "T"}};
        for (const auto& [key, value] : expected) {
            QVERIFY2(fixture.Ini->ValueExists(SendSettings::Section, key), qPrintable(key));
            QCOMPARE(fixture.Ini->ReadString(SendSettings::Section, key, QStringLiteral("?")),
                     value);
        }
    }

    void editedValuesAreSaved()
    {
        TFixture fixture{QString()};
        fixture.RunDialog([](TSendValuesForm& form) {
            form.cxEditHost->setText(QStringLiteral("smtp.ūkis.lt"));
            form.cxEditMyMail->setText(QStringLiteral("Ona Šimkutė <ona@ukis.lt>"));
            form.cxCheckBoxSMTPSSL->setChecked(true);
            form.cxCheckBoxBeep->setChecked(false);
            form.cxButtonSave->click();
        });
        const TSendSettings settings = TSendSettings::Read(*fixture.Ini);
        QCOMPARE(settings.Host, QStringLiteral("smtp.ūkis.lt"));
        QCOMPARE(settings.MyMail, QStringLiteral("Ona Šimkutė <ona@ukis.lt>"));
        QVERIFY(settings.UseSsl);
        QVERIFY(!settings.Beep);
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Atšaukti") << false;
        QTest::newRow("close box") << true;
    }
    void cancelWritesNothing()
    {
        QFETCH(bool, closeBox);
        TFixture fixture(QStringLiteral("[Siuntimas]\r\nHost=a\r\n"));
        const QByteArray before = fixture.Bytes();
        fixture.RunDialog([closeBox](TSendValuesForm& form) {
            form.cxEditHost->setText(QStringLiteral("b"));
            form.cxCheckBoxBeep->setChecked(false);
            if (closeBox)
                form.close();
            else
                form.cxButtonCancel->click();
        });
        QCOMPARE(fixture.Bytes(), before);
    }

    void importReportsAtOnce()
    {
        TFixture fixture(QStringLiteral("[Siuntimas]\r\nHost=a\r\n"));
        fixture.RunDialog([](TSendValuesForm& form) {
            form.cxButton1->click();
            QCOMPARE(form.cxEditHost->text(), QStringLiteral("a"));
        });
        const auto asked = MessageDlgScript::Asked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().Text,
                 QStringLiteral("Nepavyko nuskaityti parametrų iš Outlook Express"));
        QCOMPARE(asked.first().Type, TMsgDlgType::Error);
    }

    // Sending still reads numbers as integers: text that is not one gives the
    // default; the user name loses its blanks.
    void sendingReadsNumbersAsIntegers()
    {
        TFixture fixture(QStringLiteral("[Siuntimas]\r\nPort=abc\r\nTimeout=0x10\r\n"
                                        "Username=\t jonas \r\n"));
        const TSendSettings settings = TSendSettings::Read(*fixture.Ini);
        QCOMPARE(settings.Port, 25);
        QCOMPARE(settings.TimeoutMs, 16);
        QCOMPARE(settings.Username, QStringLiteral("jonas"));
    }

    void screenshotWithTwoLockedFields()
    {
        TFixture fixture(
            QStringLiteral("[Siuntimas]\r\nHost=pastas.centras.lt\r\nPort=465\r\nSSL=T\r\n"
                           "MyMail=Ona Šimkutė <ona@ukis.lt>\r\nMailTo=af@centras.lt\r\n"
                           "Subject=AF ataskaitos\r\nUsername=ona\r\nPassword=slaptas\r\n"
                           "Host readonly=1\r\nMailTo readonly=1\r\n"));
        fixture.RunDialog([](TSendValuesForm& form) {
            QVERIFY(SaveScreenshot(&form, QStringLiteral("send-settings-locked.png")));
        });
    }
};

QTEST_MAIN(TestSendValuesForm)
#include "tst_sendvaluesform.moc"
