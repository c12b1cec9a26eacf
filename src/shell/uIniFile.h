#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TIniDocument;

// One INI file on disk, read through and written through key by key: nothing
// is cached, so every object over the same file sees every other object's
// writes at once. Names match without regard to case; the file is
// Windows-1257; lines that a write does not concern stay byte for byte.
// A write replaces the file atomically (temporary file + rename) and writes to
// one path are serialised between threads, so no write is ever lost or half
// done. A refused write raises EAppError "Unable to write to %s". A missing
// file reads as empty; a write creates it, but not its folder. Line breaks in
// a written name or value become blanks.
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
