#pragma once

#include <QString>

class TIniFile;

// Section "Siuntimas" of the AI file: the mail server and message defaults,
// read afresh at every use.
namespace SendSettings {
inline const QString Section = QStringLiteral("Siuntimas");

// "SSL": trimmed, "N" appended, first character one of "YyTt1".
bool SslFlag(const QString& value);
// "Beep": trimmed, first character one of "Tt1Yy"; an empty value is false.
bool BeepFlag(const QString& value);
inline QString FlagText(bool value)
{
    return value ? QStringLiteral("T") : QStringLiteral("N");
}
} // namespace SendSettings

// What a delivery needs, read the way sending reads it: numbers as integers
// with their defaults, the user name trimmed.
struct TSendSettings
{
    QString MailTo;
    QString Subject;
    QString Host;
    int Port = 25;
    QString Username;
    QString Password;
    bool UseSsl = false;
    int TimeoutMs = 60000;
    QString MyMail;
    bool Beep = true;

    static TSendSettings Read(const TIniFile& aiFile);
};

// The ten values as the settings dialog shows them: numbers as the text the
// file holds.
struct TSendValues
{
    QString Host;
    QString Port;
    QString Timeout;
    QString MailTo;
    QString MyMail;
    QString Subject;
    QString Username;
    QString Password;
    bool Ssl = false;
    bool Beep = true;

    static TSendValues Read(const TIniFile& aiFile);
    // All ten keys, locked or not, in the dialog's order.
    void Write(TIniFile& aiFile) const;
};

// The administrator's " readonly" keys: any non-zero integer locks.
struct TSendLocks
{
    bool Host = false;
    bool Port = false;
    bool Timeout = false;
    bool MailTo = false;
    bool Username = false;
    bool Ssl = false;

    static TSendLocks Read(const TIniFile& aiFile);
};
