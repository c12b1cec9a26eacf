// "Siųsti į aplanką..." in the compose dialog: the folder question, the copy
// of the list's selection, and the dialog that stays open for a mail send.
#include "uFolderPicker.h"
#include "uIniFile.h"
#include "uMessageDlg.h"
#include "uSendController.h"
#include "uSendForm.h"
#include "uSmtpTestServer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QString Write(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList Names(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestSendToFolder : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TIniFile> FIni;
    std::unique_ptr<QWidget> FMainWindow;
    QList<TSelectedItem> FSelection;
    std::unique_ptr<TSendController> FController;

    QString Path(const QString& name) const { return FDir->filePath(name); }
    QString LgFolder() const { return Path(QStringLiteral("Išsiųsta/")); }

    void Select(const QString& name, const QString& kind)
    {
        FSelection.append({name, kind, Path(QStringLiteral("Siųsti/") + name)});
    }

    // Opens the compose dialog over the selection; `script` acts on it while
    // it is open; the dialog is cancelled afterwards if still open.
    void Compose(const std::function<void(TSendForm&)>& script)
    {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            auto* form = qobject_cast<TSendForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            ran = true;
            script(*form);
            if (form->isVisible())
                form->cxButtonCancel->click();
        });
        FController->ComposeSend();
        QVERIFY(ran);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        FDir = std::make_unique<QTemporaryDir>();
        FIni = std::make_unique<TIniFile>(Path(QStringLiteral("kelmira_AI.ini")));
        FMainWindow = std::make_unique<QWidget>();
        FMainWindow->resize(669, 540);
        QDir().mkpath(LgFolder());
        Write(Path(QStringLiteral("Siųsti/F1.xls")), "F1");
        Write(Path(QStringLiteral("Siųsti/F2.xls")), "F2");
        Write(Path(QStringLiteral("Siųsti/2006/F3.xls")), "F3");
        FSelection.clear();
        FController = std::make_unique<TSendController>(
            FMainWindow.get(), *FIni, LgFolder(), QStringLiteral("Bylos siųstos %y-%m-%d.zbx"),
            [this] { return FSelection; });
        MessageDlgScript::Reset();
        FolderPickerScript::Reset();
    }

    void cleanup()
    {
        FolderPickerScript::Reset(false);
        MessageDlgScript::Reset(false);
    }

    // The copy takes the selection at the click, folders included; the
    // dialog stays open and a mail send afterwards still carries the files
    // and is the only thing recorded.
    void copyThenSend()
    {
        TSmtpTestServer server;
        for (const auto& [key, value] :
             QList<QPair<QString, QString>>{{"Host", "127.0.0.1"},
                                            {"Port", QString::number(server.Port())},
                                            {"SSL", "N"},
                                            {"MyMail", "ona@ukis.lt"},
                                            {"MailTo", "af@centras.lt"}})
            FIni->WriteString(QStringLiteral("Siuntimas"), key, value);
        const QString target = Path(QStringLiteral("USB"));
        Write(target + QStringLiteral("/F1.xls"), "senas");
        Select(QStringLiteral("F1.xls"), QStringLiteral("file"));
        Select(QStringLiteral("F2.xls"), QStringLiteral("file"));
        Compose([&](TSendForm& form) {
            Select(QStringLiteral("2006"), QStringLiteral("dir"));
            FolderPickerScript::PushAnswer(target);
            form.cxButtonSave->click();
            QCOMPARE(FolderPickerScript::Asked(), QStringList{"Siųsti bylas į aplanką"});
            QVERIFY(form.isVisible());
            QCOMPARE(Names(target), (QStringList{"2006", "F1 (2).xls", "F1.xls", "F2.xls"}));
            QVERIFY(QFile::exists(target + QStringLiteral("/2006/F3.xls")));
            QCOMPARE(Names(LgFolder()), QStringList());
            QVERIFY(MessageDlgScript::Asked().isEmpty());

            FSelection.removeLast();
            form.cxButtonSend->click();
        });
        QCOMPARE(server.Messages().size(), 1);
        const QStringList histories = Names(LgFolder());
        QCOMPARE(histories.size(), 1);
        QFile history(LgFolder() + histories.first());
        QVERIFY(history.open(QIODevice::ReadOnly));
        QCOMPARE(history.readAll().count("\r\n"), 2);
        QCOMPARE(Names(target).size(), 4);
    }

    void cancelledPickerCopiesNothing()
    {
        const QString target = Path(QStringLiteral("USB"));
        Select(QStringLiteral("F1.xls"), QStringLiteral("file"));
        Compose([&](TSendForm& form) {
            FolderPickerScript::PushAnswer(QString());
            form.cxButtonSave->click();
            QCOMPARE(FolderPickerScript::Asked().size(), 1);
            QVERIFY(form.isVisible());
        });
        QVERIFY(!QFileInfo::exists(target));
        QVERIFY(MessageDlgScript::Asked().isEmpty());
    }

    // A form gone since it was selected: named in one error message, the
    // others copied, the dialog still open.
    void failureListed()
    {
        const QString target = Path(QStringLiteral("USB"));
        Select(QStringLiteral("F1.xls"), QStringLiteral("file"));
        Select(QStringLiteral("F2.xls"), QStringLiteral("file"));
        Compose([&](TSendForm& form) {
            QVERIFY(QFile::remove(FSelection.first().Path));
            FolderPickerScript::PushAnswer(target);
            form.cxButtonSave->click();
            QVERIFY(form.isVisible());
        });
        QCOMPARE(Names(target), QStringList{"F2.xls"});
        QCOMPARE(MessageDlgScript::Asked().size(), 1);
        QCOMPARE(MessageDlgScript::Asked().first().Type, TMsgDlgType::Error);
        QCOMPARE(MessageDlgScript::Asked().first().Text,
                 QStringLiteral("Į aplanką \"%1\" nepavyko nukopijuoti:\r\n%2 (byla nerasta)")
                     .arg(target, FSelection.first().Path));
    }
};

QTEST_MAIN(TestSendToFolder)
#include "tst_sendtofolder.moc"
