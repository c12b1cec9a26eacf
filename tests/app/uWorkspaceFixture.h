#pragma once

#include "uIniFile.h"

#include <QString>
#include <QTemporaryDir>

// A small workspace on disk: base folders for the six families (AF with the
// sub-folder 2006/), a configured base path, and the two INI files.
class TWorkspaceFixture
{
public:
    TWorkspaceFixture();

    QString Root() const { return FDir.path(); }
    QString Folder(const QString& name) const { return FDir.path() + u'/' + name + u'/'; }
    QString ConfigFileName() const { return FDir.path() + QStringLiteral("/kelmira.ini"); }
    TIniFile& Mi() { return FMi; }
    TIniFile& Ai() { return FAi; }
    // Creates a file (and its folders) below the root.
    QString Touch(const QString& relativePath, const QByteArray& content = {});

private:
    QTemporaryDir FDir;
    TIniFile FMi;
    TIniFile FAi;
};
