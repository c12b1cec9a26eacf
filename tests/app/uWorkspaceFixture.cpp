#include "uWorkspaceFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TWorkspaceFixture::TWorkspaceFixture()
    : FMi(FDir.path() + QStringLiteral("/kelmira_MI.ini")),
      FAi(FDir.path() + QStringLiteral("/kelmira_AI.ini"))
{
    const QStringList families = {QStringLiteral("AF"), QStringLiteral("Ko"), QStringLiteral("Su"),
                                  QStringLiteral("Mi"), QStringLiteral("Lg"), QStringLiteral("PL")};
    for (const QString& family : families) {
        QDir().mkpath(Folder(family));
        FMi.WriteString(QStringLiteral("Nustatymai"), family + QStringLiteral(" perziura pirma"),
                        Folder(family));
    }
    QDir().mkpath(Folder(QStringLiteral("AF/2006")));
}

QString TWorkspaceFixture::Touch(const QString& relativePath, const QByteArray& content)
{
    QString path = FDir.path() + u'/' + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}
