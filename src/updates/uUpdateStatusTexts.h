#pragma once

#include "uDownloadUpdatesDataModule.h"

#include <QDateTime>
#include <QString>

#include <array>

class TIniFile;

// What the user sees of each update state: the texts (title "|"
// description), the status image and the buttons that apply.
constexpr int UpdateCheckStatusCount = 8;
using TStatusTexts = std::array<QString, UpdateCheckStatusCount>;

// The name of a state as the configuration keys spell it ("NotStarted" …).
QString StatusName(TUpdateCheckStatus status);

// The program's own texts; the update site is the engine's default host.
TStatusTexts BuiltInStatusTexts();
// The built-in texts with the overrides "SUpdateCheckStatus<Name>" of section
// "Atnaujinimai" of the MI file; an empty or missing value keeps the built-in
// text, a given one has its escapes expanded.
TStatusTexts LoadStatusTexts(const TIniFile& mi);

// The hint convention: the title is what stands before the first "|", the
// description what follows it; a text without "|" is both.
QString StatusTitle(const QString& text);
QString StatusDescription(const QString& text);

// The index of the status image, -1 for none.
int StatusImageIndex(TUpdateCheckStatus status);
// Whether a check may start: the timer only after none or after an
// installation, the user also after nothing found or a failure.
bool IsCheckAllowed(TUpdateCheckStatus status, bool userAsked);
// The states that ask for the user's attention when another program is in
// front.
bool IsNoteworthy(TUpdateCheckStatus status);
// "&Perleisti" is offered only while updates wait for a restart.
bool IsRestartOffered(TUpdateCheckStatus status);

// "Paskutinįsyk patikrinta atnaujinimų: …" with the date and time in the
// locale's short date and long time format, "(netikrinta)" for none.
QString LastCheckText(const QDateTime& lastCheck);
