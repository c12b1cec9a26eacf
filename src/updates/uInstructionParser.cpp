#include "uInstructionParser.h"

#include "uCodePage.h"
#include "uDownloadTaskFile.h"
#include "uDownloadTaskIni.h"
#include "uShared.h"

#include <QCoreApplication>

namespace {

char16_t AsciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + (u'a' - u'A')) : u;
}

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

QString TrimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && IsBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// A task of one instruction line, or nullptr when the line is no task or
// misses a required field.
std::unique_ptr<TDownloadTask> ParseTask(const QString& line, IDownloadTaskOwner& owner)
{
    QString rest;
    const auto word = [&](int n) { return GetCommandWord(rest, n); };
    if (IsCommandLine(line, CmdRun, rest)) {
        const QString url = word(1);
        const QString md5 = word(2);
        if (url.isEmpty() || md5.isEmpty())
            return nullptr;
        return std::make_unique<TDownloadTaskFileRun>(owner, url, md5, GetCommandTail(rest, 3));
    }
    if (IsCommandLine(line, CmdFileUpdate, rest)) {
        const QString url = word(1);
        const QString md5 = word(2);
        const QString file = word(3);
        if (url.isEmpty() || md5.isEmpty() || file.isEmpty())
            return nullptr;
        return std::make_unique<TDownloadTaskFileUpdate>(owner, url, md5,
                                                         NativeSeparators(ExpandVariables(file)));
    }
    if (IsCommandLine(line, CmdFileDelete, rest)) {
        const QString file = word(1);
        if (file.isEmpty())
            return nullptr;
        return std::make_unique<TDownloadTaskFileDelete>(owner, NativeSeparators(file));
    }
    if (IsCommandLine(line, CmdIniUpdate, rest)) {
        const QString section = word(1);
        const QString key = word(2);
        const QString value = word(3);
        if (section.isEmpty() || key.isEmpty() || value.isEmpty())
            return nullptr;
        return std::make_unique<TDownloadTaskIniUpdate>(owner, section, key, value);
    }
    if (IsCommandLine(line, CmdIniDelete, rest)) {
        const QString section = word(1);
        if (section.isEmpty())
            return nullptr;
        return std::make_unique<TDownloadTaskIniDelete>(owner, section, word(2));
    }
    if (IsCommandLine(line, CmdSetVersion, rest)) {
        const QString version = word(1);
        if (version.isEmpty())
            return nullptr;
        return std::make_unique<TDownloadTaskSetVersion>(owner, version);
    }
    return nullptr;
}

} // namespace

bool IsCommandLine(const QString& line, const QString& word, QString& rest)
{
    rest.clear();
    if (line.size() < word.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i)
        if (AsciiLower(line.at(i)) != AsciiLower(word.at(i)))
            return false;
    if (line.size() > word.size() && line.at(word.size()) != QLatin1Char(' '))
        return false;
    rest = TrimControls(line.mid(word.size()));
    return true;
}

QString LookupVariable(const QString& name)
{
    if (name.isEmpty())
        return QString();
    if (name.compare(QLatin1String("ZUBEXEDIR"), Qt::CaseInsensitive) == 0)
        return QCoreApplication::applicationDirPath();
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString ExpandVariables(const QString& text)
{
    QString result;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(QLatin1Char('%'), pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('%'), open + 1);
        if (close < 0)
            return result + text.mid(pos);
        result += text.mid(pos, open - pos) + LookupVariable(text.mid(open + 1, close - open - 1));
        pos = close + 1;
    }
}

QStringList InstructionLines(const QByteArray& text)
{
    const qsizetype nul = text.indexOf('\0');
    const QString decoded = FromCodePage(nul < 0 ? text : text.left(nul));
    QStringList lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const QChar c = decoded.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(decoded.mid(begin, i - begin));
        if (c == QLatin1Char('\r') && i + 1 < decoded.size() && decoded.at(i + 1) == '\n')
            ++i;
        begin = i + 1;
    }
    if (begin < decoded.size())
        lines.append(decoded.mid(begin));
    return lines;
}

TInstructionsResult ParseInstructions(const QByteArray& text, IDownloadTaskOwner& owner,
                                      TDownloadTaskList& tasks)
{
    TInstructionsResult result;
    QString rest;
    for (const QString& line : InstructionLines(text)) {
        if (IsCommandLine(line, QStringLiteral("#"), rest))
            continue;
        if (IsCommandLine(line, QStringLiteral("REDIRECT"), rest)) {
            result.Redirect = rest;
            break;
        }
        if (IsCommandLine(line, QStringLiteral("NO-UPDATES"), rest)) {
            result.NoUpdates = true;
            continue;
        }
        if (auto task = ParseTask(line, owner))
            tasks.push_back({line, std::move(task)});
    }
    return result;
}
