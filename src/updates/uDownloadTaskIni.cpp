#include "uDownloadTaskIni.h"

namespace {
const QString KeyVersion = QStringLiteral("Version");
const QString KeySection = QStringLiteral("Section");
const QString KeyKey = QStringLiteral("Key");
const QString KeyValue = QStringLiteral("Value");
// The install journal's record of the state before the change.
const QString KeyOldVersion = QStringLiteral("OldVersion");
const QString KeyOldValue = QStringLiteral("OldValue");
const QString KeyOldCount = QStringLiteral("OldValues");

QString OldValueKey(qsizetype index)
{
    return QStringLiteral("Old%1").arg(index + 1);
}
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
    Owner().BeforeChange(*this);
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

void TDownloadTaskSetVersion::WriteJournal(const QString& section) const
{
    TDownloadTask::WriteJournal(section);
    Store()->WriteString(section, KeyOldVersion, FOldVersion);
}

void TDownloadTaskSetVersion::ReadJournal(const TSavedTask& saved)
{
    TDownloadTask::ReadJournal(saved);
    FOldVersion = ReadSaved(saved, KeyOldVersion);
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
    WriteSectionAndKey(section);
}

void TDownloadTaskIni::WriteJournal(const QString& section) const
{
    TDownloadTask::WriteJournal(section);
    WriteSectionAndKey(section);
}

void TDownloadTaskIni::WriteSectionAndKey(const QString& section) const
{
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
        Owner().BeforeChange(*this);
        store->EraseSection(Section());
        return;
    }
    // Only a key that is there is remembered, so that a rollback does not
    // create an empty key that hides the key's default from every reader.
    if (store->ValueExists(Section(), Key()))
        FSavedValues.append(store->ReadString(Section(), Key(), QString()));
    Owner().BeforeChange(*this);
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

void TDownloadTaskIniDelete::WriteJournal(const QString& section) const
{
    TDownloadTaskIni::WriteJournal(section);
    const auto store = Store();
    store->WriteInteger(section, KeyOldCount, static_cast<int>(FSavedValues.size()));
    for (qsizetype i = 0; i < FSavedValues.size(); ++i)
        store->WriteString(section, OldValueKey(i), FSavedValues.at(i));
}

void TDownloadTaskIniDelete::ReadJournal(const TSavedTask& saved)
{
    TDownloadTaskIni::ReadJournal(saved);
    const int count = Store()->ReadInteger(saved.Section, KeyOldCount, 0);
    FSavedValues.clear();
    for (int i = 0; i < count; ++i)
        FSavedValues.append(ReadSaved(saved, OldValueKey(i)));
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
    Owner().BeforeChange(*this);
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

void TDownloadTaskIniUpdate::WriteJournal(const QString& section) const
{
    TDownloadTaskIni::WriteJournal(section);
    // No "OldValue" key: the key was absent.
    if (FOldValue)
        Store()->WriteString(section, KeyOldValue, *FOldValue);
}

void TDownloadTaskIniUpdate::ReadJournal(const TSavedTask& saved)
{
    TDownloadTaskIni::ReadJournal(saved);
    FInstalled = true;
    FOldValue.reset();
    if (Store()->ValueExists(saved.Section, KeyOldValue))
        FOldValue = ReadSaved(saved, KeyOldValue);
}
