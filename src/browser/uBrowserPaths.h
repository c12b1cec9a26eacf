#pragma once

#include <QString>

// The folder above a sub-folder of the root: "a/b/" gives "a/", "a/" and a
// file directly in the root ("x.zbx") give the root (empty).
QString ParentSubDir(const QString& subDir);

// A folder as names are joined to it: ending with one "/" unless empty.
QString FolderWithDelimiter(const QString& folder);

// The sub-folder a folder entry of the list leads to: its path after the
// root, with "/" appended.
QString SubDirOfEntry(const QString& path, const QString& rootDir);
