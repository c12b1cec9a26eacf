#pragma once

#include "uDownloadTask.h"

#include <QStringList>

#include <optional>

// "SET-VERSION": stores the version that later checks ask the server for.
class TDownloadTaskSetVersion : public TDownloadTask
{
public:
    TDownloadTaskSetVersion(IDownloadTaskOwner& owner, const QString& version);
    TDownloadTaskSetVersion(IDownloadTaskOwner& owner, const TSavedTask& saved);

    QString ClassName() const override { return QStringLiteral("TDownloadTaskSetVersion"); }
    void Install() override;
    void Rollback() override;
    void Save(const QString& section) override;
    void WriteJournal(const QString& section) const override;
    void ReadJournal(const TSavedTask& saved) override;

    const QString& Version() const { return FVersion; }
    const QString& OldVersion() const { return FOldVersion; }

private:
    QString FVersion;
    QString FOldVersion;
};

// The common part of the tasks that change a configuration file. A section
// name beginning with "[MI]" addresses the MI file. The running program reads
// its configuration, so these always wait for a restart.
class TDownloadTaskIni : public TDownloadTask
{
public:
    TDownloadTaskIni(IDownloadTaskOwner& owner, const QString& command, const QString& section,
                     const QString& key);
    TDownloadTaskIni(IDownloadTaskOwner& owner, const TSavedTask& saved);

    bool NeedsRestart() const override { return true; }
    void Save(const QString& section) override;
    void WriteJournal(const QString& section) const override;

    const QString& Section() const { return FSection; }
    const QString& Key() const { return FKey; }

private:
    void WriteSectionAndKey(const QString& section) const;

    QString FSection;
    QString FKey;
};

// "INI-DELETE": deletes a key, or the whole section when the key is empty.
class TDownloadTaskIniDelete : public TDownloadTaskIni
{
public:
    TDownloadTaskIniDelete(IDownloadTaskOwner& owner, const QString& section, const QString& key);
    TDownloadTaskIniDelete(IDownloadTaskOwner& owner, const TSavedTask& saved);

    QString ClassName() const override { return QStringLiteral("TDownloadTaskIniDelete"); }
    void Install() override;
    void Rollback() override;
    void WriteJournal(const QString& section) const override;
    void ReadJournal(const TSavedTask& saved) override;

    const QStringList& SavedValues() const { return FSavedValues; }

private:
    QStringList FSavedValues; // key=value lines, or the single key's value
};

// "INI-UPDATE": writes one value.
class TDownloadTaskIniUpdate : public TDownloadTaskIni
{
public:
    TDownloadTaskIniUpdate(IDownloadTaskOwner& owner, const QString& section, const QString& key,
                           const QString& value);
    TDownloadTaskIniUpdate(IDownloadTaskOwner& owner, const TSavedTask& saved);

    QString ClassName() const override { return QStringLiteral("TDownloadTaskIniUpdate"); }
    void Install() override;
    void Rollback() override;
    void Save(const QString& section) override;
    void WriteJournal(const QString& section) const override;
    void ReadJournal(const TSavedTask& saved) override;

    const QString& Value() const { return FValue; }
    QString OldValue() const { return FOldValue.value_or(QString()); }

private:
    QString FValue;
    bool FInstalled = false;
    std::optional<QString> FOldValue; // no value: the key was absent
};
