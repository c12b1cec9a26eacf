#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <optional>

// The bytes of an INI file and the edits of one key or section on them.
// Everything a change does not concern (comments, blank lines, other
// sections, lines of no known form, the line ending) stays byte for byte.
// Names are code-page bytes, matched without regard to case; the first
// section and the first key of a name count.
class TIniDocument
{
public:
    explicit TIniDocument(const QByteArray& content = {});

    const QByteArray& Content() const { return FContent; }

    bool HasSection(const QByteArray& section) const;
    // The raw text after "=", blanks and quotes included.
    std::optional<QByteArray> Value(const QByteArray& section, const QByteArray& key) const;
    // Names and raw values of the section's keys in file order.
    QList<QPair<QByteArray, QByteArray>> Entries(const QByteArray& section) const;

    // Changes the key's line in place, or adds it after the section's last
    // key, or adds the section at the end of the file.
    void SetValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    void DeleteKey(const QByteArray& section, const QByteArray& key);
    // Removes the header and every line up to the next section.
    void EraseSection(const QByteArray& section);

private:
    enum class TKind { Other, Section, Key };
    struct TLine
    {
        qsizetype Begin = 0; // first byte
        qsizetype End = 0;   // end of the text, before any "\r\n" or "\n"
        qsizetype Next = 0;  // first byte of the next line
        TKind Kind = TKind::Other;
        QByteArray Name; // as written, trimmed
        qsizetype ValueBegin = 0;
    };

    void Parse();
    qsizetype FindSection(const QByteArray& section) const;
    qsizetype SectionEnd(qsizetype header) const;
    qsizetype FindKey(qsizetype header, const QByteArray& key) const;
    QByteArray LineEnd() const;
    void Replace(qsizetype begin, qsizetype end, const QByteArray& bytes);

    QByteArray FContent;
    QList<TLine> FLines;
};
