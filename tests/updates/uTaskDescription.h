#pragma once

#include "uDownloadTaskFile.h"
#include "uDownloadTaskIni.h"

#include <QStringList>

// A task as one line of text: its class and its instruction fields, each in
// angle brackets so that blanks at their ends show.
inline QString DescribeTask(const TDownloadTask& task)
{
    QStringList fields;
    if (auto* t = dynamic_cast<const TDownloadTaskSetVersion*>(&task))
        fields << t->Version();
    if (auto* t = dynamic_cast<const TDownloadTaskFileDelete*>(&task))
        fields << t->File();
    if (auto* t = dynamic_cast<const TDownloadTaskDownloadFile*>(&task))
        fields << t->Url() << t->Md5();
    if (auto* t = dynamic_cast<const TDownloadTaskFileRun*>(&task))
        fields << t->Args();
    if (auto* t = dynamic_cast<const TDownloadTaskFileUpdate*>(&task))
        fields << t->File();
    if (auto* t = dynamic_cast<const TDownloadTaskIni*>(&task))
        fields << t->Section() << t->Key();
    if (auto* t = dynamic_cast<const TDownloadTaskIniUpdate*>(&task))
        fields << t->Value();
    QString text = task.ClassName() + QLatin1Char(' ') + task.Command();
    for (const QString& field : fields)
        text += QStringLiteral(" <%1>").arg(field);
    return text;
}
