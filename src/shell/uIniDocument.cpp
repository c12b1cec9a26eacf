#include "uIniDocument.h"

#include "uCodePage.h"

namespace {

bool SameName(const QByteArray& a, const QByteArray& b)
{
    return a.size() == b.size() && CodePageUpperBytes(a) == CodePageUpperBytes(b);
}

} // namespace

TIniDocument::TIniDocument(const QByteArray& content) : FContent(content)
{
    Parse();
}

void TIniDocument::Parse()
{
    FLines.clear();
    qsizetype begin = 0;
    while (begin < FContent.size()) {
        TLine line;
        line.Begin = begin;
        const qsizetype newline = FContent.indexOf('\n', begin);
        line.Next = newline < 0 ? FContent.size() : newline + 1;
        line.End = newline < 0 ? FContent.size() : newline;
        if (line.End > begin && FContent.at(line.End - 1) == '\r')
            --line.End;
        const QByteArray text = FContent.mid(begin, line.End - begin);
        const QByteArray trimmed = text.trimmed();
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.indexOf(']');
            line.Kind = TKind::Section;
            line.Name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
        } else if (!trimmed.startsWith(';')) {
            const qsizetype equals = text.indexOf('=');
            if (equals >= 0 && !text.left(equals).trimmed().isEmpty()) {
                line.Kind = TKind::Key;
                line.Name = text.left(equals).trimmed();
                line.ValueBegin = begin + equals + 1;
            }
        }
        FLines.append(line);
        begin = line.Next;
    }
}

qsizetype TIniDocument::FindSection(const QByteArray& section) const
{
    for (qsizetype i = 0; i < FLines.size(); ++i)
        if (FLines.at(i).Kind == TKind::Section && SameName(FLines.at(i).Name, section))
            return i;
    return -1;
}

qsizetype TIniDocument::SectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < FLines.size() && FLines.at(i).Kind != TKind::Section)
        ++i;
    return i;
}

qsizetype TIniDocument::FindKey(qsizetype header, const QByteArray& key) const
{
    const qsizetype end = SectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (FLines.at(i).Kind == TKind::Key && SameName(FLines.at(i).Name, key))
            return i;
    return -1;
}

QByteArray TIniDocument::LineEnd() const
{
    const qsizetype newline = FContent.indexOf('\n');
    return newline > 0 && FContent.at(newline - 1) == '\r' ? QByteArrayLiteral("\r\n")
                                                           : QByteArrayLiteral("\n");
}

void TIniDocument::Replace(qsizetype begin, qsizetype end, const QByteArray& bytes)
{
    FContent.replace(begin, end - begin, bytes);
    Parse();
}

bool TIniDocument::HasSection(const QByteArray& section) const
{
    return FindSection(section) >= 0;
}

std::optional<QByteArray> TIniDocument::Value(const QByteArray& section,
                                              const QByteArray& key) const
{
    const qsizetype header = FindSection(section);
    const qsizetype line = header < 0 ? -1 : FindKey(header, key);
    if (line < 0)
        return std::nullopt;
    const TLine& found = FLines.at(line);
    return FContent.mid(found.ValueBegin, found.End - found.ValueBegin);
}

QList<QPair<QByteArray, QByteArray>> TIniDocument::Entries(const QByteArray& section) const
{
    QList<QPair<QByteArray, QByteArray>> entries;
    const qsizetype header = FindSection(section);
    if (header < 0)
        return entries;
    const qsizetype end = SectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const TLine& line = FLines.at(i);
        if (line.Kind == TKind::Key)
            entries.append({line.Name, FContent.mid(line.ValueBegin, line.End - line.ValueBegin)});
    }
    return entries;
}

void TIniDocument::SetValue(const QByteArray& section, const QByteArray& key,
                            const QByteArray& value)
{
    const QByteArray eol = LineEnd();
    const qsizetype header = FindSection(section);
    if (header < 0) {
        QByteArray added;
        if (!FContent.isEmpty() && !FContent.endsWith('\n'))
            added += eol;
        added += '[' + section + ']' + eol + key + '=' + value + eol;
        Replace(FContent.size(), FContent.size(), added);
        return;
    }
    const qsizetype line = FindKey(header, key);
    if (line >= 0) {
        const TLine& found = FLines.at(line);
        Replace(found.Begin, found.End, found.Name + '=' + value);
        return;
    }
    qsizetype anchor = header;
    for (qsizetype i = header + 1; i < SectionEnd(header); ++i)
        if (FLines.at(i).Kind == TKind::Key)
            anchor = i;
    const TLine& after = FLines.at(anchor);
    // Only a line feed ends a line: a last line cut after its CR would take
    // the new key into its value.
    const bool terminated = after.Next > after.Begin && FContent.at(after.Next - 1) == '\n';
    Replace(after.Next, after.Next, (terminated ? QByteArray() : eol) + key + '=' + value + eol);
}

void TIniDocument::DeleteKey(const QByteArray& section, const QByteArray& key)
{
    const qsizetype header = FindSection(section);
    const qsizetype line = header < 0 ? -1 : FindKey(header, key);
    if (line >= 0)
        Replace(FLines.at(line).Begin, FLines.at(line).Next, {});
}

void TIniDocument::EraseSection(const QByteArray& section)
{
    const qsizetype header = FindSection(section);
    if (header < 0)
        return;
    const qsizetype end = SectionEnd(header);
    Replace(FLines.at(header).Begin, end < FLines.size() ? FLines.at(end).Begin : FContent.size(),
            {});
}
