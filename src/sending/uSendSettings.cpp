#include "uSendSettings.h"

#include "uIniFile.h"

using namespace SendSettings;

namespace {

QString Key(const TIniFile& file, const char* key, const QString& def = QString())
{
    return file.ReadString(Section, QLatin1String(key), def);
}

bool FirstCharIn(const QString& value, QLatin1String set)
{
    return !value.isEmpty() && set.contains(value.front());
}

bool Locked(const TIniFile& file, const char* key)
{
    return file.ReadInteger(Section, QLatin1String(key) + QLatin1String(" readonly"), 0) != 0;
}

} // namespace

bool SendSettings::SslFlag(const QString& value)
{
    return FirstCharIn(value.trimmed() + QLatin1Char('N'), QLatin1String("YyTt1"));
}

bool SendSettings::BeepFlag(const QString& value)
{
    return FirstCharIn(value.trimmed(), QLatin1String("Tt1Yy"));
}

TSendSettings TSendSettings::Read(const TIniFile& aiFile)
{
    TSendSettings settings;
    settings.MailTo = Key(aiFile, "MailTo");
    settings.Subject = Key(aiFile, "Subject");
    settings.Host = Key(aiFile, "Host");
    settings.Port = aiFile.ReadInteger(Section, QStringLiteral("Port"), 25);
    settings.Username = Key(aiFile, "Username").trimmed();
    settings.Password = Key(aiFile, "Password");
    settings.UseSsl = SslFlag(Key(aiFile, "SSL", QStringLiteral("N")));
    settings.TimeoutMs = aiFile.ReadInteger(Section, QStringLiteral("Timeout"), 60000);
    settings.MyMail = Key(aiFile, "MyMail");
    settings.Beep = BeepFlag(Key(aiFile, "Beep", QStringLiteral("T")));
    return settings;
}

TSendValues TSendValues::Read(const TIniFile& aiFile)
{
    TSendValues values;
    values.Host = Key(aiFile, "Host");
    values.Port = Key(aiFile, "Port", QStringLiteral("25"));
    values.Timeout = Key(aiFile, "Timeout", QStringLiteral("60000"));
    values.MailTo = Key(aiFile, "MailTo");
    values.MyMail = Key(aiFile, "MyMail");
    values.Subject = Key(aiFile, "Subject");
    values.Username = Key(aiFile, "Username");
    values.Password = Key(aiFile, "Password");
    values.Ssl = SslFlag(Key(aiFile, "SSL", QStringLiteral("N")));
    values.Beep = BeepFlag(Key(aiFile, "Beep", QStringLiteral("T")));
    return values;
}

void TSendValues::Write(TIniFile& aiFile) const
{
    aiFile.WriteString(Section, QStringLiteral("Host"), Host);
    aiFile.WriteString(Section, QStringLiteral("Port"), Port);
    aiFile.WriteString(Section, QStringLiteral("Timeout"), Timeout);
    aiFile.WriteString(Section, QStringLiteral("MailTo"), MailTo);
    aiFile.WriteString(Section, QStringLiteral("MyMail"), MyMail);
    aiFile.WriteString(Section, QStringLiteral("Subject"), Subject);
    aiFile.WriteString(Section, QStringLiteral("Username"), Username);
    aiFile.WriteString(Section, QStringLiteral("Password"), Password);
    aiFile.WriteString(Section, QStringLiteral("SSL"), FlagText(Ssl));
    aiFile.WriteString(Section, QStringLiteral("Beep"), FlagText(Beep));
}

TSendLocks TSendLocks::Read(const TIniFile& aiFile)
{
    TSendLocks locks;
    locks.Host = Locked(aiFile, "Host");
    locks.Port = Locked(aiFile, "Port");
    locks.Timeout = Locked(aiFile, "Timeout");
    locks.MailTo = Locked(aiFile, "MailTo");
    locks.Username = Locked(aiFile, "Username");
    locks.Ssl = Locked(aiFile, "SSL");
    return locks;
}
