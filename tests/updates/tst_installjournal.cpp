// An installation killed at any point: at the next start every change is
// either undone or finished as a whole, and the pending updates can still be
// installed. The start-up step runs in install_child, which kills itself with
// SIGKILL before its n-th configuration write or in the middle of its n-th
// file copy.
#include "uEngineFixture.h"

#include <QProcess>

#include <algorithm>

namespace {

QByteArray Filled(char c, qsizetype size)
{
    QByteArray data(size, c);
    for (qsizetype i = 0; i < size; i += 4096)
        data[i] = static_cast<char>(i / 4096);
    return data;
}

// What the six pending tasks change.
struct TState
{
    QByteArray A, B, C;
    QString Control;
    QStringList Old;
    QString Version;
};

bool operator==(const TState& x, const TState& y)
{
    return x.A == y.A && x.B == y.B && x.C == y.C && x.Control == y.Control && x.Old == y.Old &&
           x.Version == y.Version;
}

} // namespace

class TestInstallJournal : public QObject
{
    Q_OBJECT

private:
    const QByteArray OldA = Filled('a', 3 << 20);
    const QByteArray NewA = Filled('A', 3 << 20) + "new";
    const QByteArray OldC = "old c\n";
    const QByteArray NewC = Filled('C', 2 << 20);
    const QByteArray OldB = "to be deleted\n";
    const QString PendingList = QStringLiteral(
        "FILE-UPDATE.0,INI-UPDATE.1,FILE-DELETE.2,SET-VERSION.3,INI-DELETE.4,FILE-UPDATE.5");

    TState Before() const
    {
        return {
            OldA, OldB, OldC, QStringLiteral("sena.xlt"), {"x=1", "y=2"}, QStringLiteral("1.0")};
    }
    TState After() const
    {
        return {NewA, "<missing>", NewC, QStringLiteral("nauja.xlt"), {}, QStringLiteral("2.0")};
    }

    static QString App(TEngineFixture& F) { return F.Path(QStringLiteral("app")); }

    TState Current(TEngineFixture& F) const
    {
        QStringList old = F.Ai().ReadSectionValues(QStringLiteral("Senas"));
        std::sort(old.begin(), old.end());
        return {
            TEngineFixture::ReadFile(App(F) + QStringLiteral("/a.dat")),
            TEngineFixture::ReadFile(App(F) + QStringLiteral("/b.dat")),
            TEngineFixture::ReadFile(App(F) + QStringLiteral("/c.dat")),
            F.Mi().ReadString(QStringLiteral("Nustatymai"), QStringLiteral("Kontrole"), QString()),
            old,
            F.Ai().ReadString(UpdatesSection, QStringLiteral("Versija"), QString())};
    }

    static void Pending(TEngineFixture& F, int index, const QString& line,
                        const QList<std::pair<QString, QString>>& keys)
    {
        const QString name = QStringLiteral("%1.%2").arg(line.section(u' ', 0, 0)).arg(index);
        F.Ai().WriteString(UpdatesSection, name, line);
        for (const auto& [key, value] : keys)
            F.Ai().WriteString(name, key, value);
    }

    void PendingFileUpdate(TEngineFixture& F, int index, const QString& name,
                           const QByteArray& content) const
    {
        const QString download = F.Tmp() + u'/' + name + QStringLiteral(".new");
        TEngineFixture::WriteFile(download, content);
        const QString md5 = TEngineFixture::Md5Of(content);
        const QString file = App(F) + u'/' + name;
        Pending(F, index, QStringLiteral("FILE-UPDATE %1 %2 %3").arg(name, md5, file),
                {{"Command", "FILE-UPDATE"},
                 {"Url", name},
                 {"Md5", md5},
                 {"TempFile", download},
                 {"File", file}});
    }

    // Six tasks pending from an earlier check, one of each kind of change.
    void Prepare(TEngineFixture& F) const
    {
        TEngineFixture::WriteFile(App(F) + QStringLiteral("/a.dat"), OldA);
        TEngineFixture::WriteFile(App(F) + QStringLiteral("/b.dat"), OldB);
        TEngineFixture::WriteFile(App(F) + QStringLiteral("/c.dat"), OldC);
        F.Mi().WriteString(QStringLiteral("Nustatymai"), QStringLiteral("Kontrole"),
                           QStringLiteral("sena.xlt"));
        F.Ai().WriteString(QStringLiteral("Senas"), QStringLiteral("x"), QStringLiteral("1"));
        F.Ai().WriteString(QStringLiteral("Senas"), QStringLiteral("y"), QStringLiteral("2"));

        PendingFileUpdate(F, 0, QStringLiteral("a.dat"), NewA);
        Pending(F, 1, QStringLiteral("INI-UPDATE [MI]Nustatymai Kontrole nauja.xlt"),
                {{"Command", "INI-UPDATE"},
                 {"Section", "[MI]Nustatymai"},
                 {"Key", "Kontrole"},
                 {"Value", "nauja.xlt"}});
        const QString b = App(F) + QStringLiteral("/b.dat");
        Pending(F, 2, QStringLiteral("FILE-DELETE ") + b,
                {{"Command", "FILE-DELETE"}, {"File", b}});
        Pending(F, 3, QStringLiteral("SET-VERSION 2.0"),
                {{"Command", "SET-VERSION"}, {"Version", "2.0"}});
        Pending(F, 4, QStringLiteral("INI-DELETE Senas"),
                {{"Command", "INI-DELETE"}, {"Section", "Senas"}, {"Key", ""}});
        PendingFileUpdate(F, 5, QStringLiteral("c.dat"), NewC);
        F.Ai().WriteString(UpdatesSection, QStringLiteral("Neinstaliuota"), PendingList);
        QCOMPARE(Current(F), Before());
    }

    // Runs the start-up step; true when the child killed itself.
    static bool RunChild(TEngineFixture& F, const QString& mode, const QStringList& kill = {})
    {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QStringLiteral(INSTALL_CHILD), QStringList{F.Ai().FileName(), F.Mi().FileName(),
                                                               F.LogFile(), F.ExePath(), mode} +
                                                       kill);
        if (!child.waitForFinished(120000))
            qFatal("install_child did not end");
        if (child.exitStatus() == QProcess::CrashExit)
            return true;
        if (child.exitCode() != 0)
            qFatal("install_child failed with %d", child.exitCode());
        return false;
    }

    // After a kill: each task's change is whole or absent; then the next
    // start leaves everything as before or everything as after, and the
    // installation after it completes.
    void CheckRecovery(TEngineFixture& F, const QString& where) const
    {
        const TState now = Current(F);
        const TState before = Before();
        const TState after = After();
        QVERIFY2(now.A == before.A || now.A == after.A, qPrintable(where));
        QVERIFY2(now.B == before.B || now.B == after.B, qPrintable(where));
        QVERIFY2(now.C == before.C || now.C == after.C, qPrintable(where));
        QVERIFY2(now.Control == before.Control || now.Control == after.Control, qPrintable(where));
        QVERIFY2(now.Old == before.Old || now.Old == after.Old, qPrintable(where));
        QVERIFY2(now.Version == before.Version || now.Version == after.Version, qPrintable(where));

        QVERIFY(!RunChild(F, QStringLiteral("start")));
        const TState started = Current(F);
        QVERIFY2(started == before || started == after, qPrintable(where));
        if (started == before)
            QCOMPARE(F.Ai().ReadString(UpdatesSection, QStringLiteral("Neinstaliuota"), QString()),
                     PendingList);

        QVERIFY(!RunChild(F, QStringLiteral("install")));
        QVERIFY2(Current(F) == after, qPrintable(where));
        QVERIFY(!F.Ai().ValueExists(UpdatesSection, QStringLiteral("Neinstaliuota")));
        QVERIFY(!F.Ai().ValueExists(UpdatesSection, QStringLiteral("Diegiama")));
        QVERIFY(!F.Ai().ValueExists(UpdatesSection, QStringLiteral("Idiegta")));
        QVERIFY2(!TEngineFixture::ReadFile(F.Ai().FileName()).contains("[Diegiama"),
                 qPrintable(where));
    }

private slots:
    void killedBeforeEachConfigurationWrite()
    {
        int write = 1;
        for (;; ++write) {
            TEngineFixture F;
            Prepare(F);
            if (QTest::currentTestFailed())
                return;
            const QString where = QStringLiteral("killed before write %1").arg(write);
            if (!RunChild(F, QStringLiteral("install"), {QString::number(write)})) {
                // Past the last write: the installation went through.
                QVERIFY(Current(F) == After());
                break;
            }
            CheckRecovery(F, where);
            if (QTest::currentTestFailed())
                return;
        }
        // Every task wrote its journal entry: a kill came at every step.
        QVERIFY2(write > 20, qPrintable(QString::number(write)));
    }

    void killedInTheMiddleOfAFileCopy()
    {
        int copy = 1;
        for (;; ++copy) {
            TEngineFixture F;
            Prepare(F);
            if (QTest::currentTestFailed())
                return;
            const QString where = QStringLiteral("killed in copy %1").arg(copy);
            if (!RunChild(F, QStringLiteral("install"),
                          {QStringLiteral("0"), App(F), QString::number(copy)})) {
                QVERIFY(Current(F) == After());
                break;
            }
            CheckRecovery(F, where);
            if (QTest::currentTestFailed())
                return;
        }
        // Both replaced files were cut in their copy.
        QVERIFY2(copy > 2, qPrintable(QString::number(copy)));
    }
};

QTEST_GUILESS_MAIN(TestInstallJournal)
#include "tst_installjournal.moc"
