// The main window's decisions that need no window: history entries, the
// configuration as read, the plan grid and what an open concerns.
#include "uButtonGrid.h"
#include "uIniFile.h"
#include "uOpenForms.h"
#include "uWorkspaceConfig.h"
#include "uWorkspaceModes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestWorkspace : public QObject
{
    Q_OBJECT

    QTemporaryDir FDir;
    QString Base() const { return FDir.path() + QStringLiteral("/base/"); }

    static QStringList ButtonKeys()
    {
        QStringList keys;
        for (const TWorkspaceButton& button : WorkspaceButtons)
            keys.append(QLatin1String(button.ConfigKey));
        return keys;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(Base() + QStringLiteral("2006/Sausis")));
        QFile history(Base() + QStringLiteral("2006/Bylos siųstos 2006-12-12.zbx"));
        QVERIFY(history.open(QIODevice::WriteOnly));
    }

    void history_data()
    {
        QTest::addColumn<TViewFamily>("family");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("withBase");
        QTest::addColumn<QString>("expected");
        QTest::newRow("leading backslash") << TViewFamily::AF << "\\2006" << true << "2006/";
        QTest::newRow("windows nesting")
            << TViewFamily::Ko << "2006\\Sausis\\" << true << "2006/Sausis/";
        QTest::newRow("missing folder") << TViewFamily::AF << "2007\\" << true << "";
        QTest::newRow("empty") << TViewFamily::Su << "" << true << "";
        QTest::newRow("no base folder") << TViewFamily::AF << "2006\\" << false << "";
        QTest::newRow("lg folder") << TViewFamily::Lg << "2006\\" << true << "2006/";
        QTest::newRow("lg history file")
            << TViewFamily::Lg << "\\2006\\Bylos siųstos 2006-12-12.zbx" << true
            << "2006/Bylos siųstos 2006-12-12.zbx";
        QTest::newRow("lg history file gone")
            << TViewFamily::Lg << "2006\\Bylos siųstos 2006-12-13.zbx" << true << "";
        // A history file named as a folder is not there as a folder.
        QTest::newRow("af file as folder")
            << TViewFamily::AF << "2006\\Bylos siųstos 2006-12-12.zbx" << true << "";
    }
    void history()
    {
        QFETCH(TViewFamily, family);
        QFETCH(QString, value);
        QFETCH(bool, withBase);
        QFETCH(QString, expected);
        QCOMPARE(CheckedHistory(family, value, withBase ? Base() : QString()), expected);
    }

    void readConfiguration()
    {
        const QString dir = FDir.path() + QStringLiteral("/read");
        QVERIFY(QDir().mkpath(dir));
        TIniFile mi(dir + QStringLiteral("/k_MI.ini"));
        TIniFile ai(dir + QStringLiteral("/k_AI.ini"));
        mi.WriteString(QStringLiteral("Nustatymai"), QStringLiteral("AF perziura pirma"), Base());
        mi.WriteString(QStringLiteral("Nustatymai"), QStringLiteral("Ko perziura pirma"),
                       FDir.path() + QStringLiteral("/nowhere"));
        mi.WriteString(QStringLiteral("Itraukti"), QStringLiteral("AF perziura"),
                       QStringLiteral("C:\\*.xls"));
        mi.WriteString(QStringLiteral("Itraukti"), QStringLiteral("Ko perziura"),
                       QStringLiteral("*.xls;*.xlt"));
        mi.WriteString(QStringLiteral("Atmesti"), QStringLiteral("AF perziura"),
                       QStringLiteral("a|b"));
        mi.WriteString(QStringLiteral("Atmesti"), QStringLiteral("Ko perziura"),
                       QStringLiteral("~*"));
        mi.WriteString(QStringLiteral("AF"), QStringLiteral("Forma 1"),
                       QStringLiteral("\\AF\\f1.xls"));
        mi.WriteString(QStringLiteral("Button.Captions"), QStringLiteral("AF perziura"),
                       QStringLiteral("Pirma\\nAntra"));
        ai.WriteString(QStringLiteral("MainForm"), QStringLiteral("ListView"), QStringLiteral("7"));
        ai.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Width"), 100);
        ai.WriteString(QStringLiteral("Istorija"), QStringLiteral("AF perziura"),
                       QStringLiteral("\\2006"));

        const TWorkspaceConfig config = TWorkspaceConfig::Read(mi, ai, ButtonKeys());
        QCOMPARE(config.BaseFolder.at(FamilyIndex(TViewFamily::AF)), Base());
        QCOMPARE(config.BaseFolder.at(FamilyIndex(TViewFamily::Ko)), QString());
        QCOMPARE(config.IncludeMask.at(FamilyIndex(TViewFamily::AF)), QStringLiteral("*"));
        QCOMPARE(config.IncludeMask.at(FamilyIndex(TViewFamily::Ko)),
                 QStringLiteral("*.xls;*.xlt"));
        QCOMPARE(config.ExcludeMask.at(FamilyIndex(TViewFamily::AF)), QString());
        QCOMPARE(config.ExcludeMask.at(FamilyIndex(TViewFamily::Ko)), QStringLiteral("~*"));
        QCOMPARE(config.FormList, QStringList{QStringLiteral("Forma 1=/AF/f1.xls")});
        QCOMPARE(config.Captions.value(QStringLiteral("AF perziura")),
                 QStringLiteral("Pirma\\nAntra"));
        QCOMPARE(config.ArchiveName, QStringLiteral("Bylos siųstos %y-%m-%d.zbx"));
        QCOMPARE(config.Window.ListView, 0);
        QCOMPARE(config.Window.Width, TWindowState::MinWidth);
        QCOMPARE(config.Window.Height, TWindowState::DesignHeight);
        QVERIFY(!config.Window.HasStoredPosition);
        QCOMPARE(config.History.at(FamilyIndex(TViewFamily::AF)), QStringLiteral("2006/"));
    }

    void planRows()
    {
        // The design grid: first row 16..81, second at 88, fourth ending at 297.
        const TPlanRows rows = ArrangePlanRows(16, 81, 88, 297);
        QCOMPARE(rows.Height, 50);
        QCOMPARE(rows.Top, (std::array<int, 5>{16, 73, 130, 187, 244}));
        QCOMPARE(rows.LogTop, 301);
    }

    void filesToOpen_data()
    {
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<int>("expected");
        QTest::newRow("one file") << QStringList{"file"} << 1;
        QTest::newRow("one folder") << QStringList{"dir"} << 0;
        QTest::newRow("three files") << QStringList{"file", "FILE", "file"} << 3;
        QTest::newRow("file and folder") << QStringList{"file", "dir"} << 0;
        QTest::newRow("folder first") << QStringList{"dir", "file"} << 0;
    }
    void filesToOpen()
    {
        QFETCH(QStringList, kinds);
        QFETCH(int, expected);
        QList<TListEntry> selected;
        for (const QString& kind : kinds) {
            TListEntry entry;
            entry.Kind = kind;
            entry.Path = QStringLiteral("/p/%1").arg(selected.size());
            selected.append(entry);
        }
        const QStringList paths = FilesToOpen(selected);
        QCOMPARE(paths.size(), expected);
        for (int i = 0; i < paths.size(); ++i)
            QCOMPARE(paths.at(i), selected.at(i).Path);
    }

    void verb_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("verb");
        QTest::newRow("workbook") << "/a/F1.xls"
                                  << "open";
        QTest::newRow("capitals") << "/a/F1.XLS"
                                  << "open";
        QTest::newRow("template") << "/a/F1.xlt"
                                  << "new";
        QTest::newRow("other") << "/a/F1.txt"
                               << "";
        QTest::newRow("xlsx is another type") << "/a/F1.xlsx"
                                              << "";
        QTest::newRow("no extension") << "/a.xls/F1"
                                      << "";
    }
    void verb()
    {
        QFETCH(QString, path);
        QFETCH(QString, verb);
        QCOMPARE(VerbForFile(path), verb);
    }
};

QTEST_GUILESS_MAIN(TestWorkspace)
#include "tst_workspace.moc"
