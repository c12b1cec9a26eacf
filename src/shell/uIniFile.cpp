#include "uIniFile.h"

#include "uAtomicFile.h"
#include "uCodePage.h"
#include "uError.h"
#include "uIniDocument.h"

#include <QFile>
#include <QMutex>

#include <algorithm>
#include <vector>

namespace {

constexpr qsizetype MaxValueLength = 2047;

// A line break inside a name or value would start a line of its own and
// could plant keys or sections the caller never wrote.
QByteArray OneLine(const QString& text)
{
    QByteArray bytes = ToCodePage(text);
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

QString ValueText(const QByteArray& raw)
{
    QString value = FromCodePage(raw).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(MaxValueLength);
}

bool ParseInteger(const QString& text, int& value)
{
    bool ok = false;
    QStringView digits;
    if (text.size() > 2 &&
        (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))))
        digits = QStringView(text).mid(2);
    else if (text.startsWith(u'$'))
        digits = QStringView(text).mid(1);
    else {
        value = text.toInt(&ok);
        return ok;
    }
    // Hexadecimal is a bit pattern: "$FFFFFFFF" is -1.
    for (QChar c : digits)
        if (!QStringView(u"0123456789abcdefABCDEF").contains(c))
            return false;
    const quint32 bits = digits.toUInt(&ok, 16);
    value = static_cast<int>(bits);
    return ok;
}

// The batches this thread has open, innermost last.
thread_local std::vector<TIniBatch*> OpenBatches;

EAppError WriteRefused(const QString& fileName)
{
    return EAppError(QStringLiteral("Unable to write to %1").arg(fileName));
}

} // namespace

TIniBatch::TIniBatch(const QString& fileName)
    : FFileName(fileName), FPath(ResolvedWritePath(fileName)), FOuter(Active(FPath))
{
    if (FOuter)
        return;
    FMutex = &FileWriteMutex(FPath);
    FMutex->lock();
    QFile file(FPath);
    // Writing back what could not be read would lose the whole file.
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            FMutex->unlock();
            throw WriteRefused(FFileName);
        }
        FOld = file.readAll();
    }
    FDocument = std::make_unique<TIniDocument>(FOld);
    OpenBatches.push_back(this);
}

TIniBatch::~TIniBatch()
{
    End();
}

TIniBatch* TIniBatch::Active(const QString& resolvedPath)
{
    const auto found = std::find_if(OpenBatches.begin(), OpenBatches.end(),
                                    [&](const TIniBatch* b) { return b->FPath == resolvedPath; });
    return found == OpenBatches.end() ? nullptr : *found;
}

TIniDocument& TIniBatch::Document()
{
    return FOuter ? FOuter->Document() : *FDocument;
}

void TIniBatch::Commit()
{
    if (FOuter || !FMutex)
        return;
    const bool written =
        FDocument->Content() == FOld || ReplaceFileContent(FPath, FDocument->Content());
    End();
    if (!written)
        throw WriteRefused(FFileName);
}

void TIniBatch::End()
{
    if (!FMutex)
        return;
    OpenBatches.erase(std::find(OpenBatches.begin(), OpenBatches.end(), this));
    FMutex->unlock();
    FMutex = nullptr;
}

TIniFile::TIniFile(const QString& fileName) : FFileName(fileName) {}

TIniDocument TIniFile::Load() const
{
    if (!OpenBatches.empty())
        if (const TIniBatch* batch = TIniBatch::Active(ResolvedWritePath(FFileName)))
            return *batch->FDocument;
    QFile file(FFileName);
    return TIniDocument(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

void TIniFile::Change(const std::function<void(TIniDocument&)>& change)
{
    TIniBatch batch(FFileName);
    change(batch.Document());
    batch.Commit();
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const std::optional<QByteArray> raw = Load().Value(ToCodePage(section), ToCodePage(key));
    return raw ? ValueText(*raw) : def;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Change([&](TIniDocument& document) {
        document.SetValue(OneLine(section), OneLine(key), OneLine(value));
    });
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    int value = 0;
    return ParseInteger(ReadString(section, key, QString()), value) ? value : def;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteInteger(section, key, value ? 1 : 0);
}

QStringList TIniFile::ReadSectionValues(const QString& section) const
{
    QStringList lines;
    for (const auto& [name, raw] : Load().Entries(ToCodePage(section)))
        lines.append(FromCodePage(name) + u'=' + ValueText(raw));
    return lines;
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    QStringList names;
    for (const auto& entry : Load().Entries(ToCodePage(section)))
        names.append(FromCodePage(entry.first));
    return names;
}

bool TIniFile::SectionExists(const QString& section) const
{
    return Load().HasSection(ToCodePage(section));
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return Load().Value(ToCodePage(section), ToCodePage(key)).has_value();
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    Change(
        [&](TIniDocument& document) { document.DeleteKey(ToCodePage(section), ToCodePage(key)); });
}

void TIniFile::EraseSection(const QString& section)
{
    Change([&](TIniDocument& document) { document.EraseSection(ToCodePage(section)); });
}
