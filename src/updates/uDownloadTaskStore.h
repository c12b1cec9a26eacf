#pragma once

#include "uIniFile.h"

#include <QString>
#include <QStringList>

#include <functional>

// Everything the update engine and its tasks read or write in the
// configuration goes through this interface. Shared through std::shared_ptr:
// the store lives as long as its last user.
class IDownloadTaskStore
{
public:
    virtual ~IDownloadTaskStore() = default;

    virtual void WriteString(const QString& section, const QString& key, const QString& value) = 0;
    virtual void WriteInteger(const QString& section, const QString& key, int value) = 0;
    virtual QString ReadString(const QString& section, const QString& key,
                               const QString& def) const = 0;
    virtual int ReadInteger(const QString& section, const QString& key, int def) const = 0;
    virtual void EraseSection(const QString& section) = 0;
    virtual void DeleteKey(const QString& section, const QString& key) = 0;
    virtual QStringList ReadSectionValues(const QString& section) const = 0;
    // Whether the key is present at all (an empty value counts as present).
    virtual bool ValueExists(const QString& section, const QString& key) const = 0;
    // Runs changes that belong together so that they reach the file of
    // this user's settings in one write (see TIniBatch); changes to other
    // files are written one by one as usual.
    virtual void WriteTogether(const std::function<void()>& changes) = 0;

    // The named settings of section "Atnaujinimai".
    virtual void SetVersion(const QString& version) = 0;
    virtual QString GetClient() const = 0;
    virtual QString GetVersion() const = 0;
    virtual QString GetDirectory() const = 0;
    virtual QString GetServers() const = 0;
    virtual QString GetProxy() const = 0;
    virtual bool GetCheckEnabled() const = 0;
};

extern const QString UpdatesSection; // "Atnaujinimai"
extern const QString DefaultClient;  // "47150926"

// "Tikrinti": no exactly when the first character of the trimmed value
// followed by "T" is one of "Nn0", so an empty value means yes.
bool CheckEnabledValue(const QString& value);

// True when the section name begins with "[MI]" (any letter case); the prefix
// is then removed from the name. "[MI]" alone names the empty section.
bool IsMiSection(QString& section);

// The store over a single INI file: every setting from that one file.
class TDownloadTaskIniFile : public IDownloadTaskStore
{
public:
    explicit TDownloadTaskIniFile(const TIniFile& file);

    void WriteString(const QString& section, const QString& key, const QString& value) override;
    void WriteInteger(const QString& section, const QString& key, int value) override;
    QString ReadString(const QString& section, const QString& key,
                       const QString& def) const override;
    int ReadInteger(const QString& section, const QString& key, int def) const override;
    void EraseSection(const QString& section) override;
    void DeleteKey(const QString& section, const QString& key) override;
    QStringList ReadSectionValues(const QString& section) const override;
    bool ValueExists(const QString& section, const QString& key) const override;
    void WriteTogether(const std::function<void()>& changes) override;

    void SetVersion(const QString& version) override;
    QString GetClient() const override;
    QString GetVersion() const override;
    QString GetDirectory() const override;
    QString GetServers() const override;
    QString GetProxy() const override;
    bool GetCheckEnabled() const override;

protected:
    // An INI file object holds only its path, so a copy reads and writes the
    // same file as the caller's object.
    TIniFile FIniFile;
};

// The store of the program: this user's AI file and the Centre's MI file. A
// section whose name begins with "[MI]" goes to the MI file without the
// prefix; any other to the AI file. Each named setting comes from the file
// that owns it.
class TDownloadTaskStore : public TDownloadTaskIniFile
{
public:
    TDownloadTaskStore(const QString& aiFile, const QString& miFile);

    void WriteString(const QString& section, const QString& key, const QString& value) override;
    void WriteInteger(const QString& section, const QString& key, int value) override;
    QString ReadString(const QString& section, const QString& key,
                       const QString& def) const override;
    int ReadInteger(const QString& section, const QString& key, int def) const override;
    void EraseSection(const QString& section) override;
    void DeleteKey(const QString& section, const QString& key) override;
    QStringList ReadSectionValues(const QString& section) const override;
    bool ValueExists(const QString& section, const QString& key) const override;

    QString GetClient() const override;
    QString GetDirectory() const override;
    QString GetServers() const override;
    QString GetProxy() const override;
    bool GetCheckEnabled() const override;

private:
    // The file a section name addresses, and the name to use in it.
    TIniFile& Route(QString& section);
    const TIniFile& Route(QString& section) const;

    TIniFile FMiFile;
};
