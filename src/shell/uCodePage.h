#pragma once

#include <QByteArray>
#include <QString>

// The files the Centre and this program share (INI, instruction, history
// files, the update log) are Windows-1257 on disk; everything inside the
// program is QString. These are the only places where the two meet.
QByteArray ToCodePage(const QString& text);
QString FromCodePage(const QByteArray& bytes);

// Upper case of a text as the single-byte code page has it, as bytes, so that
// a comparison by byte value sorts letters with diacritics after "Z".
QByteArray CodePageUpper(const QString& text);
