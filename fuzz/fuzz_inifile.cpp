// An INI file of any bytes, then reads and writes of one key through
// TIniFile: reads never fail, writes succeed, and what was written reads back.

#include "uFuzzSupport.h"
#include "uIniFile.h"

#include <QFile>

namespace {

// Names the file format can hold as written: no line break, no blanks at the
// ends, a section without "]" and a key that does not look like a section,
// a comment or a value.
bool IsPlainName(const QString& name, bool isKey)
{
    if (name.isEmpty() || name != name.trimmed() || name.contains(u'\r') || name.contains(u'\n'))
        return false;
    if (!isKey)
        return !name.contains(u']');
    return !name.contains(u'=') && !name.startsWith(u'[') && !name.startsWith(u';');
}

// Values that read back exactly: printable ASCII without blanks or quotes at
// the ends, within the read limit.
bool IsPlainValue(const QString& value)
{
    for (QChar c : value)
        if (c.unicode() < 32 || c.unicode() > 126)
            return false;
    return value.size() <= 2047 && value == value.trimmed() &&
           !(value.startsWith(u'"') || value.startsWith(u'\''));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString section = NextText(input);
    const QString key = NextText(input);
    const QString value = NextText(input);
    const int number = input.ConsumeIntegral<int>();
    const std::string content = input.ConsumeRemainingBytesAsString();

    const QString path = ScratchFolder() + QStringLiteral("/fuzz.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content.data(), qint64(content.size())) != qint64(content.size()))
        Expect(false, "the scratch file cannot be written");
    file.close();

    TIniFile ini(path);
    ini.ReadString(section, key, QString());
    ini.ReadInteger(section, key, 0);
    ini.ReadSectionValues(section);
    const QStringList keys = ini.ReadSection(section);
    Expect(ini.SectionExists(section) || keys.isEmpty(), "keys of a missing section");
    Expect(!ini.ValueExists(section, key) || ini.SectionExists(section),
           "a key of a missing section");

    const bool plain = IsPlainName(section, false) && IsPlainName(key, true);
    ini.WriteString(section, key, value);
    if (plain) {
        Expect(ini.ValueExists(section, key), "a written key is missing");
        if (IsPlainValue(value))
            Expect(ini.ReadString(section, key, QString()) == value, "a written value changed");
    }
    ini.WriteInteger(section, key, number);
    if (plain)
        Expect(ini.ReadInteger(section, key, ~number) == number, "a written number changed");
    ini.DeleteKey(section, key);
    ini.EraseSection(section);
    return 0;
}
