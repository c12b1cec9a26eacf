#pragma once

#include <QByteArray>
#include <QString>

// The files the Centre and this program share (INI, instruction, history
// files, the update log) are Windows-1257 on disk; everything inside the
// program is QString. These are the only places where the two meet.
// Characters the code page lacks are written as "?".
QByteArray ToCodePage(const QString& text);
QString FromCodePage(const QByteArray& bytes);

// Upper case of a text as the single-byte code page has it, as bytes, so that
// a comparison by byte value sorts letters with diacritics after "Z".
QByteArray CodePageUpper(const QString& text);
// The same for text that is already in the code page.
QByteArray CodePageUpperBytes(QByteArray bytes);
