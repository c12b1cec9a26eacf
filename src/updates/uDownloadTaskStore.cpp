#include "uDownloadTaskStore.h"

const QString UpdatesSection = QStringLiteral("Atnaujinimai");
const QString DefaultClient = QStringLiteral("47150926");

namespace {
const QString KeyClient = QStringLiteral("Klientas");
const QString KeyVersion = QStringLiteral("Versija");
const QString KeyDirectory = QStringLiteral("Direktorija");
const QString KeyServers = QStringLiteral("Serveriai");
const QString KeyProxy = QStringLiteral("Proxy");
const QString KeyCheck = QStringLiteral("Tikrinti");
} // namespace

bool CheckEnabledValue(const QString& value)
{
    const QChar first = (value.trimmed() + QLatin1Char('T')).at(0);
    return !QStringLiteral("Nn0").contains(first);
}

bool IsMiSection(QString& section)
{
    if (section.left(4).compare(QLatin1String("[MI]"), Qt::CaseInsensitive) != 0)
        return false;
    section.remove(0, 4);
    return true;
}

TDownloadTaskIniFile::TDownloadTaskIniFile(const TIniFile& file) : FIniFile(file) {}

void TDownloadTaskIniFile::WriteString(const QString& section, const QString& key,
                                       const QString& value)
{
    FIniFile.WriteString(section, key, value);
}

void TDownloadTaskIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    FIniFile.WriteInteger(section, key, value);
}

QString TDownloadTaskIniFile::ReadString(const QString& section, const QString& key,
                                         const QString& def) const
{
    return FIniFile.ReadString(section, key, def);
}

int TDownloadTaskIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    return FIniFile.ReadInteger(section, key, def);
}

void TDownloadTaskIniFile::EraseSection(const QString& section)
{
    FIniFile.EraseSection(section);
}

void TDownloadTaskIniFile::DeleteKey(const QString& section, const QString& key)
{
    FIniFile.DeleteKey(section, key);
}

QStringList TDownloadTaskIniFile::ReadSectionValues(const QString& section) const
{
    return FIniFile.ReadSectionValues(section);
}

bool TDownloadTaskIniFile::ValueExists(const QString& section, const QString& key) const
{
    return FIniFile.ValueExists(section, key);
}

void TDownloadTaskIniFile::WriteTogether(const std::function<void()>& changes)
{
    TIniBatch batch(FIniFile.FileName());
    changes();
    batch.Commit();
}

void TDownloadTaskIniFile::SetVersion(const QString& version)
{
    FIniFile.WriteString(UpdatesSection, KeyVersion, version);
}

QString TDownloadTaskIniFile::GetClient() const
{
    return FIniFile.ReadString(UpdatesSection, KeyClient, DefaultClient).trimmed();
}

QString TDownloadTaskIniFile::GetVersion() const
{
    return FIniFile.ReadString(UpdatesSection, KeyVersion, QString());
}

QString TDownloadTaskIniFile::GetDirectory() const
{
    return FIniFile.ReadString(UpdatesSection, KeyDirectory, QString()).trimmed();
}

QString TDownloadTaskIniFile::GetServers() const
{
    return FIniFile.ReadString(UpdatesSection, KeyServers, QString()).trimmed();
}

QString TDownloadTaskIniFile::GetProxy() const
{
    return FIniFile.ReadString(UpdatesSection, KeyProxy, QString()).trimmed();
}

bool TDownloadTaskIniFile::GetCheckEnabled() const
{
    return CheckEnabledValue(FIniFile.ReadString(UpdatesSection, KeyCheck, QString()));
}

TDownloadTaskStore::TDownloadTaskStore(const QString& aiFile, const QString& miFile)
    : TDownloadTaskIniFile(TIniFile(aiFile)), FMiFile(miFile)
{}

TIniFile& TDownloadTaskStore::Route(QString& section)
{
    return IsMiSection(section) ? FMiFile : FIniFile;
}

const TIniFile& TDownloadTaskStore::Route(QString& section) const
{
    return IsMiSection(section) ? FMiFile : FIniFile;
}

void TDownloadTaskStore::WriteString(const QString& section, const QString& key,
                                     const QString& value)
{
    QString name = section;
    Route(name).WriteString(name, key, value);
}

void TDownloadTaskStore::WriteInteger(const QString& section, const QString& key, int value)
{
    QString name = section;
    Route(name).WriteInteger(name, key, value);
}

QString TDownloadTaskStore::ReadString(const QString& section, const QString& key,
                                       const QString& def) const
{
    QString name = section;
    return Route(name).ReadString(name, key, def);
}

int TDownloadTaskStore::ReadInteger(const QString& section, const QString& key, int def) const
{
    QString name = section;
    return Route(name).ReadInteger(name, key, def);
}

void TDownloadTaskStore::EraseSection(const QString& section)
{
    QString name = section;
    Route(name).EraseSection(name);
}

void TDownloadTaskStore::DeleteKey(const QString& section, const QString& key)
{
    QString name = section;
    Route(name).DeleteKey(name, key);
}

QStringList TDownloadTaskStore::ReadSectionValues(const QString& section) const
{
    QString name = section;
    return Route(name).ReadSectionValues(name);
}

bool TDownloadTaskStore::ValueExists(const QString& section, const QString& key) const
{
    QString name = section;
    return Route(name).ValueExists(name, key);
}

QString TDownloadTaskStore::GetClient() const
{
    return FMiFile.ReadString(UpdatesSection, KeyClient, DefaultClient).trimmed();
}

QString TDownloadTaskStore::GetDirectory() const
{
    return FMiFile.ReadString(UpdatesSection, KeyDirectory, QString()).trimmed();
}

QString TDownloadTaskStore::GetServers() const
{
    const QString ai = FIniFile.ReadString(UpdatesSection, KeyServers, QString()).trimmed();
    const QString mi = FMiFile.ReadString(UpdatesSection, KeyServers, QString()).trimmed();
    return ai.isEmpty() ? mi : ai + QLatin1Char(',') + mi;
}

QString TDownloadTaskStore::GetProxy() const
{
    return ReadString(UpdatesSection, KeyProxy, QString()).trimmed();
}

bool TDownloadTaskStore::GetCheckEnabled() const
{
    const QString mi = FMiFile.ReadString(UpdatesSection, KeyCheck, QString()).trimmed();
    return mi.isEmpty() ? TDownloadTaskIniFile::GetCheckEnabled() : CheckEnabledValue(mi);
}
