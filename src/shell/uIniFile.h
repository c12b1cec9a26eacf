#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMutex;
class TIniDocument;

// One INI file on disk, read through and written through key by key: nothing
// is cached, so every object over the same file sees every other object's
// writes at once. Names match without regard to case; the file is
// Windows-1257; lines that a write does not concern stay byte for byte.
// A write replaces the file atomically (temporary file + rename) and writes to
// one path are serialised between threads, so no write is ever lost or half
// done; a TIniBatch makes several writes one. A refused write raises
// EAppError "Unable to write to %s". A missing file reads as empty; a write
// creates it, but not its folder. Line breaks in a written name or value
// become blanks.
class TIniFile
{
public:
    explicit TIniFile(const QString& fileName);

    const QString& FileName() const { return FFileName; }

    // Trimmed, unquoted, at most 2047 characters; missing key or file: def.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Decimal, "0x.."/"0X.." (more than two characters) or "$.." hexadecimal;
    // anything else gives def.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    void WriteInteger(const QString& section, const QString& key, int value);

    // An integer flag: not 0 means yes.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteBool(const QString& section, const QString& key, bool value);

    // "key=value" per key of the section in file order, values read as above.
    QStringList ReadSectionValues(const QString& section) const;
    // Key names of the section in file order.
    QStringList ReadSection(const QString& section) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

private:
    TIniDocument Load() const;
    // Read, change and write back under the file's lock.
    void Change(const std::function<void(TIniDocument&)>& change);

    QString FFileName;
};

// Gathers the changes this thread makes to one file, through any TIniFile
// over it, into a single replacement of the file: one flush to disk instead
// of one per key, and a crash leaves all of them or none. While the batch
// lives, this thread reads the file with its changes and other threads' writes
// to the file wait. Commit writes the file; a batch ended without Commit
// drops its changes. A batch opened while this thread has one over the same
// file joins it: the outer one writes.
class TIniBatch
{
public:
    explicit TIniBatch(const QString& fileName);
    ~TIniBatch();
    TIniBatch(const TIniBatch&) = delete;
    TIniBatch& operator=(const TIniBatch&) = delete;

    TIniDocument& Document();
    void Commit();

private:
    friend class TIniFile;
    // This thread's open batch over the resolved path, if any.
    static TIniBatch* Active(const QString& resolvedPath);
    void End();

    QString FFileName;
    QString FPath;               // resolved
    TIniBatch* FOuter = nullptr; // the batch this one joined
    QMutex* FMutex = nullptr;    // held until End, when not joined
    QByteArray FOld;
    std::unique_ptr<TIniDocument> FDocument;
};
