#pragma once

#include "uCodePage.h"
#include "uDownloadTaskFile.h"
#include "uDownloadTaskStore.h"
#include "uDownloadUpdatesDataModule.h"
#include "uIniFile.h"
#include "uShared.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A workspace for the update engine: the configuration "k.ini" (its AI and MI
// files, its log "k.log"), a private temporary folder (TMPDIR) and the folder
// the test FTP server serves. The engine works as the program "Kelmira" of
// this folder.
class TEngineFixture
{
public:
    TEngineFixture()
    {
        QDir().mkpath(Tmp());
        QDir().mkpath(FtpRoot());
        qputenv("TMPDIR", QFile::encodeName(Tmp()));
        QLocale::setDefault(QLocale::c());
        Ai().WriteString(UpdatesSection, QStringLiteral("Log"), QStringLiteral("T"));
        Ai().WriteString(UpdatesSection, QStringLiteral("Versija"), QStringLiteral("1.0"));
    }
    ~TEngineFixture() { qunsetenv("TMPDIR"); }

    QString Path(const QString& name) const { return FDir.filePath(name); }
    QString Tmp() const { return Path(QStringLiteral("tmp")); }
    QString FtpRoot() const { return Path(QStringLiteral("ftp")); }
    QString ExePath() const { return Path(QStringLiteral("Kelmira")); }
    QString LogFile() const { return Path(QStringLiteral("k.log")); }
    // Where the engine looks for its first instruction file.
    static QString InstructionsPath()
    {
        return QStringLiteral("public_html/kelmira/1.0/47150926/update.txt");
    }
    TIniFile& Ai() { return FAi; }
    TIniFile& Mi() { return FMi; }

    std::unique_ptr<TDownloadUpdatesDataModule> NewEngine(const QStringList& params = {})
    {
        auto engine = std::make_unique<TDownloadUpdatesDataModule>(LogFile());
        engine->SetStore(std::make_shared<TDownloadTaskStore>(FAi.FileName(), FMi.FileName()));
        engine->SetProcess(ExePath(), params);
        return engine;
    }

    // Writes a file below the folder the FTP server serves.
    void Serve(const QString& remotePath, const QByteArray& content) const
    {
        WriteFile(FtpRoot() + u'/' + remotePath, content);
    }

    static void WriteFile(const QString& path, const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static QString Md5Of(const QByteArray& data)
    {
        return QString::fromLatin1(
            QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex().toUpper());
    }

    // The log's messages without their time stamps (a date, then the time
    // as HH:mm:ss in the C locale).
    QStringList LogLines() const { return LogLinesOf(LogFile()); }
    static QStringList LogLinesOf(const QString& logFile)
    {
        static const QRegularExpression stamp(QStringLiteral("^.*?\\d\\d:\\d\\d:\\d\\d "));
        QStringList lines = FromCodePage(ReadFile(logFile)).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        for (QString& line : lines)
            line.remove(stamp);
        return lines;
    }

private:
    QTemporaryDir FDir;
    TIniFile FAi{FDir.filePath(QStringLiteral("k_AI.ini"))};
    TIniFile FMi{FDir.filePath(QStringLiteral("k_MI.ini"))};
};
