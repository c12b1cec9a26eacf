#include "uDownloadTaskIni.h"

namespace {
const QString KeyVersion = QStringLiteral("Version");
const QString KeySection = QStringLiteral("Section");
const QString KeyKey = QStringLiteral("Key");
const QString KeyValue = QStringLiteral("Value");
} // namespace

// --- SET-VERSION

TDownloadTaskSetVersion::TDownloadTaskSetVersion(IDownloadTaskOwner& owner, const QString& version)
    : TDownloadTask(owner, CmdSetVersion), FVersion(version)
{}

TDownloadTaskSetVersion::TDownloadTaskSetVersion(IDownloadTaskOwner& owner, const TSavedTask& saved)
    : TDownloadTask(owner, saved), FVersion(ReadSaved(saved, KeyVersion))
{}

void TDownloadTaskSetVersion::Install()
{
    TDownloadTask::Install();
    const auto store = Store();
    FOldVersion = store->GetVersion();
    store->SetVersion(FVersion);
}

void TDownloadTaskSetVersion::Rollback()
{
    TDownloadTask::Rollback();
    Store()->SetVersion(FOldVersion);
}

void TDownloadTaskSetVersion::Save(const QString& section)
{
    TDownloadTask::Save(section);
    Store()->WriteString(section, KeyVersion, FVersion);
}

// --- configuration tasks

TDownloadTaskIni::TDownloadTaskIni(IDownloadTaskOwner& owner, const QString& command,
                                   const QString& section, const QString& key)
    : TDownloadTask(owner, command), FSection(section), FKey(key)
{}

TDownloadTaskIni::TDownloadTaskIni(IDownloadTaskOwner& owner, const TSavedTask& saved)
    : TDownloadTask(owner, saved), FSection(ReadSaved(saved, KeySection)),
      FKey(ReadSaved(saved, KeyKey))
{}

void TDownloadTaskIni::Save(const QString& section)
{
    TDownloadTask::Save(section);
    const auto store = Store();
    store->WriteString(section, KeySection, FSection);
    store->WriteString(section, KeyKey, FKey);
}

// --- INI-DELETE

TDownloadTaskIniDelete::TDownloadTaskIniDelete(IDownloadTaskOwner& owner, const QString& section,
                                               const QString& key)
    : TDownloadTaskIni(owner, CmdIniDelete, section, key)
{}

TDownloadTaskIniDelete::TDownloadTaskIniDelete(IDownloadTaskOwner& owner, const TSavedTask& saved)
    : TDownloadTaskIni(owner, saved)
{}

void TDownloadTaskIniDelete::Install()
{
    TDownloadTaskIni::Install();
    const auto store = Store();
    FSavedValues.clear();
    if (Key().isEmpty()) {
        FSavedValues = store->ReadSectionValues(Section());
        store->EraseSection(Section());
        return;
    }
    // Only a key that is there is remembered, so that a rollback does not
    // create an empty key that hides the key's default from every reader.
    if (store->ValueExists(Section(), Key()))
        FSavedValues.append(store->ReadString(Section(), Key(), QString()));
    store->DeleteKey(Section(), Key());
}

void TDownloadTaskIniDelete::Rollback()
{
    TDownloadTaskIni::Rollback();
    const auto store = Store();
    if (Key().isEmpty()) {
        for (const QString& line : FSavedValues) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            store->WriteString(Section(), line.left(equals), line.mid(equals + 1));
        }
    } else if (!FSavedValues.isEmpty()) {
        store->WriteString(Section(), Key(), FSavedValues.first());
    }
}

// --- INI-UPDATE

TDownloadTaskIniUpdate::TDownloadTaskIniUpdate(IDownloadTaskOwner& owner, const QString& section,
                                               const QString& key, const QString& value)
    : TDownloadTaskIni(owner, CmdIniUpdate, section, key), FValue(value)
{}

TDownloadTaskIniUpdate::TDownloadTaskIniUpdate(IDownloadTaskOwner& owner, const TSavedTask& saved)
    : TDownloadTaskIni(owner, saved), FValue(ReadSaved(saved, KeyValue))
{}

void TDownloadTaskIniUpdate::Install()
{
    TDownloadTaskIni::Install();
    const auto store = Store();
    FOldValue.reset();
    if (store->ValueExists(Section(), Key()))
        FOldValue = store->ReadString(Section(), Key(), QString());
    FInstalled = true;
    store->WriteString(Section(), Key(), FValue);
}

void TDownloadTaskIniUpdate::Rollback()
{
    TDownloadTaskIni::Rollback();
    if (!FInstalled)
        return;
    // A key that was absent is deleted again instead of being left empty: an
    // empty value would hide the key's default (an empty "Klientas" would
    // wreck the path of every later check).
    const auto store = Store();
    if (FOldValue)
        store->WriteString(Section(), Key(), *FOldValue);
    else
        store->DeleteKey(Section(), Key());
}

void TDownloadTaskIniUpdate::Save(const QString& section)
{
    TDownloadTaskIni::Save(section);
    Store()->WriteString(section, KeyValue, FValue);
}
