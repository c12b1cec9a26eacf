#include "uCodePage.h"
#include "uIniFile.h"
#include "uMessageDlg.h"
#include "uMimeMessage.h"
#include "uProgressForm.h"
#include "uScreenshot.h"
#include "uSendController.h"
#include "uSendForm.h"
#include "uSentHistory.h"
#include "uSmtpTestServer.h"
#include "uSmtpThread.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray RandomBytes(int size)
{
    QList<quint32> words((size + 3) / 4);
    QRandomGenerator::global()->fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.constData()), size);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray CapturedMessages;

// What the program writes to its standard error and through Qt's messages
// while `run` runs.
QByteArray CapturedOutput(const std::function<void()>& run)
{
    QTemporaryFile sink;
    if (!sink.open())
        qFatal("cannot open a file for standard error");
    fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(sink.handle(), STDERR_FILENO);
    CapturedMessages.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            CapturedMessages += text.toUtf8() + '\n';
        });
    run();
    qInstallMessageHandler(previous);
    fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    sink.seek(0);
    return sink.readAll() + CapturedMessages;
}

// The send workspace as the main window shows it: an AI file, a folder of
// forms with a selection, the history folder, and the controller over them.
struct TFixture
{
    QTemporaryDir Dir;
    QString MiFolder = Dir.filePath(QStringLiteral("Siųsti"));
    QString LgFolder = Dir.filePath(QStringLiteral("Išsiųsta")) + QLatin1Char('/');
    QString Pattern = QStringLiteral("Bylos siųstos %y-%m-%d.zbx");
    TIniFile Ini{Dir.filePath(QStringLiteral("kelmira_AI.ini"))};
    QWidget MainWindow;
    QList<TSelectedItem> Selection;
    std::unique_ptr<TSendController> Controller;

    TFixture()
    {
        QDir().mkpath(MiFolder);
        QDir().mkpath(LgFolder);
        MainWindow.resize(669, 540);
        MakeController();
    }

    void MakeController()
    {
        Controller = std::make_unique<TSendController>(&MainWindow, Ini, LgFolder, Pattern,
                                                       [this] { return Selection; });
    }

    void Set(const QString& key, const QString& value)
    {
        Ini.WriteString(QStringLiteral("Siuntimas"), key, value);
    }

    void Server(int port, bool ssl = false)
    {
        Set(QStringLiteral("Host"), QStringLiteral("127.0.0.1"));
        Set(QStringLiteral("Port"), QString::number(port));
        Set(QStringLiteral("SSL"), ssl ? QStringLiteral("T") : QStringLiteral("N"));
        Set(QStringLiteral("MyMail"), QStringLiteral("Ona Šimkutė <ona@ukis.lt>"));
        Set(QStringLiteral("MailTo"), QStringLiteral("af@centras.lt"));
    }

    QString AddFile(const QString& name, const QByteArray& content)
    {
        QString path = MiFolder + QLatin1Char('/') + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        Selection.append({name, QStringLiteral("file"), path});
        return path;
    }

    QString HistoryPath() const
    {
        return SentHistoryPath(LgFolder, Pattern, QDateTime::currentDateTime());
    }

    // Runs the compose step; `script` acts on the dialog while it is open.
    // Answers whether a dialog appeared; closes one the script left open.
    bool Compose(const std::function<void(TSendForm&)>& script = {})
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TSendForm*>(QApplication::activeModalWidget());
            shown = form != nullptr;
            if (!form)
                return;
            if (script)
                script(*form);
            if (form->isVisible())
                form->cxButtonCancel->click();
        });
        Controller->ComposeSend();
        // Drain the timer when no dialog ran its loop.
        QCoreApplication::processEvents();
        return shown;
    }
};

} // namespace

class TestSendDelivery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { MessageDlgScript::Reset(); }

    // Plain SMTP without login: what arrives is what was composed, and one
    // history line per file follows in list order.
    void deliversComposedMessage()
    {
        TSmtpTestServer server;
        TFixture fixture;
        fixture.Server(server.Port());
        fixture.Set(QStringLiteral("Subject"), QStringLiteral("AF ataskaitos už gruodį"));
        const QList<QPair<QString, QByteArray>> files{
            {QStringLiteral("Ūkio balansas.xls"), RandomBytes(3000000)},
            {QStringLiteral("pelnas.xls"), RandomBytes(777)},
            {QStringLiteral("Žiniaraštis č.xlt"), QByteArray()}};
        for (const auto& [name, content] : files)
            fixture.AddFile(name, content);
        const QString body = QStringLiteral("Laba diena,\n\nsiunčiame ataskaitas.\nĄČĘĖĮŠŲŪŽ");

        TProgressForm* progress = fixture.Controller->ProgressForm();
        bool progressShot = false;
        connect(progress->cxProgressBar1, &QProgressBar::valueChanged, this, [&](int value) {
            if (!progressShot && value >= 30 && value < 100)
                progressShot = SaveScreenshot(progress, QStringLiteral("progress-mid-send.png"));
        });
        QStringList rows;
        bool stayedOpen = true;
        const bool shown = fixture.Compose([&](TSendForm& form) {
            for (int i = 0; i < form.ListViewFiles->count(); ++i)
                rows.append(form.ListViewFiles->item(i)->text());
            form.cxMemo->setPlainText(body);
            form.cxCheckBox->setChecked(true);
            SaveScreenshot(&form, QStringLiteral("compose-three-attachments.png"));
            form.cxButtonSend->click();
            stayedOpen = form.isVisible();
        });
        QVERIFY(shown);
        QCOMPARE(MessageDlgScript::Asked().size(), 0);
        QVERIFY(!stayedOpen);
        QCOMPARE(rows, (QStringList{files[0].first, files[1].first, files[2].first}));
        QVERIFY(progressShot);
        QCOMPARE(progress->cxProgressBar1->value(), 100);
        QCOMPARE(progress->cxLabel1->text(), QStringLiteral("Užbaigiama..."));

        QCOMPARE(server.Messages().size(), 1);
        const QString eml = server.Messages().first();
        QCOMPARE(TSmtpTestServer::Envelope(eml)[QStringLiteral("rcpt_tos")].toArray(),
                 (QJsonArray{QStringLiteral("af@centras.lt"), QStringLiteral("ona@ukis.lt")}));
        const QJsonObject mail = TSmtpTestServer::Parse(eml);
        QVERIFY(!mail[QStringLiteral("header_names")].toArray().contains(QStringLiteral("bcc")));
        QCOMPARE(mail[QStringLiteral("from")].toString(),
                 QStringLiteral("Ona Šimkutė <ona@ukis.lt>"));
        QCOMPARE(mail[QStringLiteral("subject")].toString(),
                 QStringLiteral("AF ataskaitos už gruodį"));
        QCOMPARE(mail[QStringLiteral("body")].toString(),
                 QString(body).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
        const QJsonArray attachments = mail[QStringLiteral("attachments")].toArray();
        QCOMPARE(attachments.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(attachments[i].toObject()[QStringLiteral("filename")].toString(),
                     files[i].first);
            QCOMPARE(
                QByteArray::fromBase64(
                    attachments[i].toObject()[QStringLiteral("content")].toString().toLatin1()),
                files[i].second);
        }

        // Three lines, in list order, with the time each file was attached.
        const QList<QByteArray> lines = ReadAll(fixture.HistoryPath()).split('\n');
        QCOMPARE(lines.size(), 4);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(lines[i].size(), 20 + 256 + 1);
            QCOMPARE(FromCodePage(lines[i].mid(20)).trimmed(), fixture.Selection[i].Path);
        }
        QCOMPARE(fixture.Ini.ReadString(QStringLiteral("Siuntimas"), QStringLiteral("MailTo"), {}),
                 QStringLiteral("af@centras.lt"));
    }

    // 0 first, -1 last, rising counts between, never more than one per
    // percent, and the close request after all of them.
    void threadReportsProgress()
    {
        TSmtpTestServer server;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.xls"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(RandomBytes(8000000));
        file.close();
        TMimeMessage message;
        message.SetTo(QStringLiteral("af@centras.lt"));
        message.AddAttachment(path);
        TSmtpServer settings;
        settings.Host = QStringLiteral("127.0.0.1");
        settings.Port = server.Port();
        TSMTPThread thread(settings, message);
        QList<qint64> values;
        bool closedLast = false;
        connect(&thread, &TSMTPThread::Progress, this, [&](qint64 value) { values.append(value); });
        connect(&thread, &TSMTPThread::CloseRequest, this,
                [&] { closedLast = !values.isEmpty() && values.last() == -1; });
        QSignalSpy closed(&thread, &TSMTPThread::CloseRequest);
        thread.start();
        QVERIFY(closed.wait(60000));
        QVERIFY(closedLast);
        QCOMPARE(thread.ErrorText(), QString());
        QCOMPARE(values.first(), 0);
        QVERIFY(values.size() > 3 && values.size() <= 102);
        for (qsizetype i = 2; i < values.size() - 1; ++i)
            QVERIFY(values[i] > values[i - 1]);
        QCOMPARE(values[values.size() - 2], message.Size());
    }

    void tlsWithLogin()
    {
        TSmtpTestServer server(
            {QStringLiteral("--tls"), QStringLiteral("--auth"), QStringLiteral("ona:Slaptas1")});
        TFixture fixture;
        fixture.Server(server.Port(), true);
        fixture.Set(QStringLiteral("Username"), QStringLiteral(" ona "));
        fixture.Set(QStringLiteral("Password"), QStringLiteral("Slaptas1"));
        fixture.AddFile(QStringLiteral("a.xls"), RandomBytes(5000));
        const QByteArray output = CapturedOutput(
            [&] { fixture.Compose([](TSendForm& form) { form.cxButtonSend->click(); }); });
        QCOMPARE(MessageDlgScript::Asked().size(), 0);
        QCOMPARE(server.Messages().size(), 1);
        QCOMPARE(TSmtpTestServer::Envelope(server.Messages().first())[QStringLiteral("login")]
                     .toString(),
                 QStringLiteral("ona"));
        // The password stays in the AI file: no output and no other file of
        // the send holds it, plain or as it went over the wire.
        for (const QByteArray& secret :
             {QByteArray("Slaptas1"), QByteArray("Slaptas1").toBase64()}) {
            QVERIFY(!output.contains(secret));
            QDirIterator files(fixture.Dir.path(), QDir::Files, QDirIterator::Subdirectories);
            while (files.hasNext()) {
                const QString path = files.next();
                QVERIFY2(path == fixture.Ini.FileName() || !ReadAll(path).contains(secret),
                         qPrintable(path));
            }
        }
    }

    // Every failure produced for real: its text, the dialog left open with
    // nothing recorded, and a second "Siųsti" delivering once the server is
    // put right. Where the server stalls, the GUI thread is seen handling its
    // events while the delivery waits, and the time-out ends the wait.
    void failures_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("textStart");
        QTest::addColumn<QString>("textEnd");
        QTest::addColumn<QByteArray>("stallLine");
        const QString connection =
            QStringLiteral("Nepavyko išsiųsti laiško dėl susijungimo problemų.\r\n(");
        const QString rejected = QStringLiteral("Pašto serveris atmetė laišką.\r\n(");
        const QString check = QStringLiteral(
            ")\r\n\r\nPatikrinkite, ar teisingai nustatyti programos siuntimo parametrai.");
        QTest::newRow("unresolvable host")
            << "host"
            << QStringLiteral("Nerastas pašto serveris su vardu, nurodytu konfigūracijoje.\r\n(")
            << QStringLiteral(")\r\n\r\nPasitikrinkite, ar teisingai nustatyti programos siuntimo "
                              "parametrai.")
            << QByteArray();
        QTest::newRow("refused port") << "refused" << connection << ")" << QByteArray();
        QTest::newRow("connection reset")
            << "reset" << QStringLiteral("Ryšys su serveriu nutrūko.\r\n(")
            << QStringLiteral(")\r\nPabandykite siųsti dar kartą.") << QByteArray();
        QTest::newRow("recipient rejected")
            << "reject-rcpt"
            << rejected + QStringLiteral("550 5.1.1 <af@centras.lt>: Recipient address rejected")
            << check << QByteArray();
        QTest::newRow("login rejected")
            << "login" << rejected + QStringLiteral("535 5.7.8 Authentication credentials invalid")
            << check << QByteArray();
        QTest::newRow("silent server") << "silent" << connection << ")" << QByteArray("CONNECTED");
        QTest::newRow("stall after the message")
            << "stall-data" << connection << ")" << QByteArray("STALLED");
        QTest::newRow("stops reading the message")
            << "stop-reading" << connection << ")" << QByteArray("STALLED");
        QTest::newRow("closed in the middle of a reply")
            << "close-mid-reply" << connection << ")" << QByteArray();
        // Too long a line is an error of the connection, not a refusal cut short.
        QTest::newRow("reply line of 1 MiB") << "long-line" << connection << ")" << QByteArray();
        QTest::newRow("refusal of 2000 lines")
            << "long-reply" << rejected + QStringLiteral("550-5.1.1 line 0000 x") << check
            << QByteArray();
        QTest::newRow("garbage for a greeting") << "garbage" << connection << ")" << QByteArray();
        QTest::newRow("SSL against a plain server") << "ssl" << connection << ")" << QByteArray();
    }
    void failures()
    {
        QFETCH(QString, fault);
        QFETCH(QString, textStart);
        QFETCH(QString, textEnd);
        QFETCH(QByteArray, stallLine);
        TFixture fixture;
        const int port = UnusedPort();
        QVERIFY(port != 0);
        fixture.Server(port, fault == QLatin1String("ssl"));
        // A stall is watched from the GUI thread while it lasts; the longer
        // time-out leaves a loaded machine room for that.
        fixture.Set(QStringLiteral("Timeout"),
                    stallLine.isEmpty() ? QStringLiteral("1000") : QStringLiteral("3000"));
        std::optional<TSmtpTestServer> server;
        QStringList good; // options of the server that puts it right
        const QStringList serverFaults{
            QStringLiteral("reset"),           QStringLiteral("silent"),
            QStringLiteral("stall-data"),      QStringLiteral("stop-reading"),
            QStringLiteral("long-line"),       QStringLiteral("long-reply"),
            QStringLiteral("close-mid-reply"), QStringLiteral("garbage")};
        if (fault == QLatin1String("host")) {
            fixture.Set(QStringLiteral("Host"), QStringLiteral("pastas.kelmira.invalid"));
        } else if (serverFaults.contains(fault)) {
            server.emplace(QStringList{QStringLiteral("--fault"), fault}, port);
        } else if (fault == QLatin1String("reject-rcpt")) {
            server.emplace(
                QStringList{
                    QStringLiteral("--fault"), fault, QStringLiteral("--reply"),
                    QStringLiteral("550 5.1.1 <af@centras.lt>: Recipient address rejected")},
                port);
        } else if (fault == QLatin1String("login")) {
            fixture.Set(QStringLiteral("Username"), QStringLiteral("ona"));
            fixture.Set(QStringLiteral("Password"), QStringLiteral("kitas"));
            server.emplace(QStringList{QStringLiteral("--auth"), QStringLiteral("ona:tikras")},
                           port);
            good = QStringList{QStringLiteral("--auth"), QStringLiteral("ona:kitas")};
        } else if (fault == QLatin1String("ssl")) {
            server.emplace(QStringList(), port);
            good = QStringList{QStringLiteral("--tls")};
        }
        // A server that stops reading is only noticed once the message has
        // filled the buffers of both ends of the connection.
        fixture.AddFile(QStringLiteral("a.xls"),
                        RandomBytes(fault == QLatin1String("stop-reading") ? 32 << 20 : 1000));

        QList<MessageDlgScript::TAsked> asked;
        bool openAfterFailure = false;
        bool recorded = true;
        int receivedAfterFailure = -1;
        bool closedAfterFix = false;
        int received = 0;
        bool handledEventsInStall = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!handledEventsInStall && server && server->Printed(stallLine))
                handledEventsInStall = fixture.Controller->ProgressForm()->isVisible();
        });
        fixture.Compose([&](TSendForm& form) {
            form.cxMemo->setPlainText(QStringLiteral("tekstas"));
            watch.start(10);
            form.cxButtonSend->click();
            watch.stop();
            asked = MessageDlgScript::Asked();
            openAfterFailure =
                form.isVisible() && form.cxMemo->toPlainText() == QLatin1String("tekstas");
            recorded = QFile::exists(fixture.HistoryPath());
            receivedAfterFailure = server ? int(server->Messages().size()) : 0;
            if (fault == QLatin1String("host"))
                return;
            server.reset();
            server.emplace(good, port);
            MessageDlgScript::Reset();
            form.cxButtonSend->click();
            closedAfterFix = !form.isVisible();
            received = int(server->Messages().size());
        });
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().Type, TMsgDlgType::Error);
        const QString text = asked.first().Text;
        QVERIFY2(text.startsWith(textStart) && text.endsWith(textEnd), qPrintable(text));
        if (textStart.endsWith(QLatin1Char('(')))
            QVERIFY2(text.size() > textStart.size() + textEnd.size(), "no reason given");
        // Whatever the server sends, the message box stays readable.
        QVERIFY2(text.size() < 4000, qPrintable(text.left(200)));
        QVERIFY(stallLine.isEmpty() || handledEventsInStall);
        QVERIFY(openAfterFailure);
        QVERIFY(!recorded);
        QCOMPARE(receivedAfterFailure, 0);
        if (fault == QLatin1String("host"))
            return;
        QCOMPARE(MessageDlgScript::Asked().size(), 0);
        QVERIFY(closedAfterFix);
        QCOMPARE(received, 1);
        QVERIFY(QFile::exists(fixture.HistoryPath()));
    }

    void nothingToCompose_data()
    {
        QTest::addColumn<QList<TSelectedItem>>("selection");
        QTest::newRow("nothing selected") << QList<TSelectedItem>();
        QTest::newRow("a folder first") << QList<TSelectedItem>{
            {QStringLiteral("2006"), QStringLiteral("DIR"), QStringLiteral("/tmp")},
            {QStringLiteral("a.xls"), QStringLiteral("file"), QStringLiteral("/a.xls")}};
    }
    void nothingToCompose()
    {
        QFETCH(QList<TSelectedItem>, selection);
        TFixture fixture;
        fixture.Selection = selection;
        QVERIFY(!fixture.Compose());
        QVERIFY(!fixture.Ini.SectionExists(QStringLiteral("Siuntimas")));
    }

    // The folder gets no row but still fails the send when it is read.
    void folderAmongFilesFailsTheSend()
    {
        TSmtpTestServer server;
        TFixture fixture;
        fixture.Server(server.Port());
        fixture.AddFile(QStringLiteral("a.xls"), "a");
        fixture.AddFile(QStringLiteral("b.xls"), "b");
        const QString folder = fixture.MiFolder + QStringLiteral("/2006");
        QDir().mkpath(folder);
        fixture.Selection.append({QStringLiteral("2006"), QStringLiteral("dir"), folder});
        fixture.AddFile(QStringLiteral("c.xls"), "c");
        int rows = 0;
        bool open = false;
        fixture.Compose([&](TSendForm& form) {
            rows = form.ListViewFiles->count();
            form.cxButtonSend->click();
            open = form.isVisible();
        });
        QCOMPARE(rows, 3);
        QVERIFY(open);
        QCOMPARE(MessageDlgScript::Asked().size(), 1);
        QVERIFY2(MessageDlgScript::Asked().first().Text.startsWith(folder + QStringLiteral(": ")),
                 qPrintable(MessageDlgScript::Asked().first().Text));
        QCOMPARE(server.Messages().size(), 0);
        QVERIFY(!QFile::exists(fixture.HistoryPath()));
    }

    // A form that changes between its selection and "Siųsti": a clear error
    // naming it, nothing sent (not even the other forms), no history line,
    // and the dialog left open. None of the means depends on permission bits
    // but the last, which root is not stopped by.
    void formChangedBeforeSend_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("deleted") << "delete";
        QTest::newRow("renamed") << "rename";
        QTest::newRow("replaced by a folder") << "folder";
        QTest::newRow("replaced by a dangling link") << "link";
        QTest::newRow("replaced by a FIFO") << "fifo";
        QTest::newRow("made unreadable") << "chmod";
    }
    void formChangedBeforeSend()
    {
        QFETCH(QString, change);
        if (change == QLatin1String("chmod") && ::geteuid() == 0)
            QSKIP("permission bits do not stop root");
        TSmtpTestServer server;
        TFixture fixture;
        fixture.Server(server.Port());
        fixture.AddFile(QStringLiteral("a.xls"), "a");
        const QString path = fixture.AddFile(QStringLiteral("b.xls"), "b");
        fixture.AddFile(QStringLiteral("c.xls"), "c");
        const QByteArray native = QFile::encodeName(path);
        bool open = false;
        fixture.Compose([&](TSendForm& form) {
            if (change == QLatin1String("rename"))
                QVERIFY(QFile::rename(path, path + QStringLiteral(".old")));
            else if (change != QLatin1String("chmod"))
                QVERIFY(QFile::remove(path));
            if (change == QLatin1String("folder"))
                QVERIFY(QDir().mkdir(path));
            else if (change == QLatin1String("link"))
                QVERIFY(QFile::link(fixture.MiFolder + QStringLiteral("/nėra.xls"), path));
            else if (change == QLatin1String("fifo"))
                QCOMPARE(::mkfifo(native.constData(), 0600), 0);
            else if (change == QLatin1String("chmod"))
                QVERIFY(QFile::setPermissions(path, {}));
            form.cxButtonSend->click();
            open = form.isVisible();
        });
        QVERIFY(open);
        const auto asked = MessageDlgScript::Asked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().Type, TMsgDlgType::Error);
        QVERIFY2(asked.first().Text.startsWith(path + QStringLiteral(": ")) &&
                     asked.first().Text.size() > path.size() + 2,
                 qPrintable(asked.first().Text));
        QCOMPARE(server.Messages().size(), 0);
        QVERIFY(!QFile::exists(fixture.HistoryPath()));
    }

    // Text from the settings, the dialog or a file name cannot add SMTP
    // commands or mail headers: an address with a control character is
    // refused before any connection; the line breaks of a subject or a file
    // name travel encoded, as text. What
    // the real server received is checked.
    void unsafeTextCannotInject_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        QTest::newRow("recipient adding a command")
            << "to" << QStringLiteral("af@centras.lt>\r\nRCPT TO:<kitas@blogas.lt") << true;
        QTest::newRow("recipient adding a header")
            << "to" << QStringLiteral("af@centras.lt\r\nBcc: kitas@blogas.lt") << true;
        QTest::newRow("recipient with NUL")
            << "to" << QStringLiteral("af@centras.lt") + QChar(0) + QStringLiteral("x") << true;
        QTest::newRow("recipient with a bracket")
            << "to" << QStringLiteral("af@centras.lt> NOTIFY=NEVER") << true;
        QTest::newRow("sender adding a command")
            << "from" << QStringLiteral("Ona <ona@ukis.lt>\nRSET") << true;
        QTest::newRow("subject adding a header")
            << "subject" << QStringLiteral("Ataskaita\r\nBcc: kitas@blogas.lt") << false;
        QTest::newRow("file name adding a part header")
            << "file" << QStringLiteral("a\r\nContent-Disposition: inline\r\n\r\n<b>.xls") << false;
        QTest::newRow("subject ending the headers")
            << "subject" << QStringLiteral("Ataskaita\r\n\r\nkitas tekstas\r\n.\r\nQUIT") << false;
    }
    void unsafeTextCannotInject()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, refused);
        TSmtpTestServer server;
        TFixture fixture;
        fixture.Server(server.Port());
        const QString fileName = field == QLatin1String("file") ? text : QStringLiteral("a.xls");
        fixture.AddFile(fileName, "a");
        bool open = false;
        fixture.Compose([&](TSendForm& form) {
            if (field == QLatin1String("to"))
                form.cxTextEditR->setText(text);
            else if (field == QLatin1String("from"))
                form.FSenderAddress = text;
            else if (field == QLatin1String("subject"))
                form.cxTextEditS->setText(text);
            form.cxButtonSend->click();
            open = form.isVisible();
        });
        if (refused) {
            QVERIFY(open);
            const auto asked = MessageDlgScript::Asked();
            QCOMPARE(asked.size(), 1);
            QVERIFY2(
                asked.first().Text.startsWith(QStringLiteral("Netinkamas el. pašto adresas „")),
                qPrintable(asked.first().Text));
            QCOMPARE(server.Messages().size(), 0);
            QVERIFY(!QFile::exists(fixture.HistoryPath()));
            return;
        }
        QCOMPARE(MessageDlgScript::Asked().size(), 0);
        QCOMPARE(server.Messages().size(), 1);
        const QString eml = server.Messages().first();
        QCOMPARE(TSmtpTestServer::Envelope(eml)[QStringLiteral("rcpt_tos")].toArray(),
                 QJsonArray{QStringLiteral("af@centras.lt")});
        const QJsonObject mail = TSmtpTestServer::Parse(eml);
        QCOMPARE(mail[QStringLiteral("header_names")].toArray(),
                 (QJsonArray{QStringLiteral("date"), QStringLiteral("from"), QStringLiteral("to"),
                             QStringLiteral("subject"), QStringLiteral("message-id"),
                             QStringLiteral("mime-version"), QStringLiteral("content-type")}));
        if (field == QLatin1String("subject"))
            QCOMPARE(mail[QStringLiteral("subject")].toString(), text);
        const QJsonArray attachments = mail[QStringLiteral("attachments")].toArray();
        QCOMPARE(attachments.size(), 1);
        QCOMPARE(attachments[0].toObject()[QStringLiteral("filename")].toString(), fileName);
        QCOMPARE(attachments[0].toObject()[QStringLiteral("content_type")].toString(),
                 QStringLiteral("application/octet-stream"));
        QCOMPARE(mail[QStringLiteral("defects")].toArray(), QJsonArray());
        // One file sent, one history line.
        QCOMPARE(ReadAll(fixture.HistoryPath()).count('\n'), 1);
    }

    void cancelStillStoresRecipientAndSubject()
    {
        TFixture fixture;
        fixture.AddFile(QStringLiteral("a.xls"), "a");
        fixture.Set(QStringLiteral("MailTo"), QStringLiteral("senas@centras.lt"));
        fixture.Set(QStringLiteral("MailTo readonly"), QStringLiteral("1"));
        QString proposed;
        fixture.Compose([&](TSendForm& form) {
            proposed = form.cxTextEditR->text();
            form.cxTextEditR->setText(QStringLiteral("Naujas Gavėjas <naujas@centras.lt>"));
            form.cxTextEditS->setText(QStringLiteral("Tema už sausį"));
            form.cxButtonCancel->click();
        });
        QCOMPARE(proposed, QStringLiteral("senas@centras.lt"));
        QCOMPARE(fixture.Ini.ReadString(QStringLiteral("Siuntimas"), QStringLiteral("MailTo"), {}),
                 QStringLiteral("Naujas Gavėjas <naujas@centras.lt>"));
        QCOMPARE(fixture.Ini.ReadString(QStringLiteral("Siuntimas"), QStringLiteral("Subject"), {}),
                 QStringLiteral("Tema už sausį"));
    }

    // The files go as the list's selection stands when "Siųsti" is pressed.
    void selectionIsReadAtSendTime()
    {
        TSmtpTestServer server;
        TFixture fixture;
        fixture.Server(server.Port());
        fixture.AddFile(QStringLiteral("a.xls"), "a");
        fixture.AddFile(QStringLiteral("b.xls"), "b");
        fixture.Compose([&](TSendForm& form) {
            fixture.Selection.clear();
            fixture.AddFile(QStringLiteral("c.xls"), "c");
            form.cxButtonSend->click();
        });
        QCOMPARE(server.Messages().size(), 1);
        const QJsonArray attachments =
            TSmtpTestServer::Parse(server.Messages().first())[QStringLiteral("attachments")]
                .toArray();
        QCOMPARE(attachments.size(), 1);
        QCOMPARE(attachments[0].toObject()[QStringLiteral("filename")].toString(),
                 QStringLiteral("c.xls"));
        const QList<QByteArray> lines = ReadAll(fixture.HistoryPath()).split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].contains("/c.xls"));
    }

    // The mail has gone: the user is told that the history is missing and
    // why, and the dialog closes, so the same mail is not sent twice by
    // mistake.
    void historyFailureIsReportedAfterTheMailWentOut_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no history folder")
            << "none"
            << QStringLiteral("Nenurodytas išsiųstų AF aplankas (nustatymas „Lg perziura pirma“ "
                              "tuščias arba toks aplankas neegzistuoja).");
        QTest::newRow("history file cannot be opened") << "file is a folder" << QString();
        QTest::newRow("history folder is a file")
            << "folder is a file" << QStringLiteral("Nepavyko sukurti aplanko ");
    }
    void historyFailureIsReportedAfterTheMailWentOut()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        TSmtpTestServer server;
        TFixture fixture;
        fixture.Server(server.Port());
        const QString folderAsFile = fixture.LgFolder.chopped(1);
        if (fault == QLatin1String("none")) {
            fixture.LgFolder.clear();
        } else if (fault == QLatin1String("file is a folder")) {
            fixture.Pattern = QStringLiteral("istorija.zbx");
            QDir().mkpath(fixture.LgFolder + fixture.Pattern);
            reason = fixture.LgFolder + fixture.Pattern + QStringLiteral(": ");
        } else {
            QVERIFY(QDir(folderAsFile).removeRecursively());
            QFile file(folderAsFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("kita byla");
            file.close();
            reason += folderAsFile;
        }
        fixture.MakeController();
        fixture.AddFile(QStringLiteral("a.xls"), "a");
        bool closed = false;
        fixture.Compose([&](TSendForm& form) {
            form.cxButtonSend->click();
            closed = !form.isVisible();
        });
        QCOMPARE(server.Messages().size(), 1);
        QVERIFY(closed);
        const auto asked = MessageDlgScript::Asked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().Type, TMsgDlgType::Warning);
        const QString head =
            QStringLiteral("Laiškas išsiųstas, tačiau siuntimų istorijos įrašyti nepavyko.\r\n(");
        QVERIFY2(asked.first().Text.startsWith(head + reason), qPrintable(asked.first().Text));
        if (fault == QLatin1String("folder is a file"))
            QCOMPARE(ReadAll(folderAsFile), QByteArray("kita byla"));
    }
};

QTEST_MAIN(TestSendDelivery)
#include "tst_senddelivery.moc"
