#include "uWorkspaceConfig.h"

#include "uIniFile.h"
#include "uShared.h"

#include <QFileInfo>

namespace {

const QString Nustatymai = QStringLiteral("Nustatymai");
const QString Istorija = QStringLiteral("Istorija");
const QString MainForm = QStringLiteral("MainForm");

QString ReadBaseFolder(const TIniFile& mi, TViewFamily family)
{
    const QString folder =
        NormalizeBaseFolder(NativeSeparators(mi.ReadString(Nustatymai, FamilyBaseKey(family), {})));
    // A folder that is not there counts as not configured.
    return folder.isEmpty() || QFileInfo(folder).isDir() ? folder : QString();
}

// A configured list of forms: name=path lines whose paths may be written the
// Windows way.
QStringList ReadFileList(const TIniFile& mi, const QString& section)
{
    QStringList lines = mi.ReadSectionValues(section);
    for (QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0)
            line = line.left(eq + 1) + NativeSeparators(line.mid(eq + 1));
    }
    return lines;
}

} // namespace

QString CheckedHistory(TViewFamily family, const QString& value, const QString& baseFolder)
{
    QString entry = NativeSeparators(value);
    if (family == TViewFamily::Lg) {
        // May name a history file, which keeps its name: only the leading
        // delimiters go.
        while (entry.startsWith(u'/'))
            entry.remove(0, 1);
    } else {
        entry = NormalizeFolderPath(entry, true);
    }
    if (entry.isEmpty())
        return entry;
    // Without a base folder there is nothing the entry could be relative to.
    if (baseFolder.isEmpty())
        return {};
    const QFileInfo target(baseFolder + entry);
    const bool namesFile = family == TViewFamily::Lg && !entry.endsWith(u'/');
    const bool exists = namesFile ? target.isFile() : target.isDir();
    return exists ? entry : QString();
}

TWorkspaceConfig TWorkspaceConfig::Read(const TIniFile& mi, const TIniFile& ai,
                                        const QStringList& buttonKeys)
{
    TWorkspaceConfig config;
    for (TViewFamily family : AllViewFamilies)
        config.BaseFolder.at(FamilyIndex(family)) = ReadBaseFolder(mi, family);
    config.ArchiveName = mi.ReadString(Nustatymai, QStringLiteral("Archyvas"),
                                       QStringLiteral("Bylos siųstos %y-%m-%d.zbx"));
    config.ControlTemplate =
        NativeSeparators(mi.ReadString(Nustatymai, QStringLiteral("Kontrole"), {}));
    config.ParamFile =
        NativeSeparators(mi.ReadString(Nustatymai, QStringLiteral("ParametraiAI"), {}));
    config.HelpFile = NativeSeparators(mi.ReadString(Nustatymai, QStringLiteral("Pagalba"), {}));

    config.FormList = ReadFileList(mi, QStringLiteral("AF"));
    config.SummaryList = ReadFileList(mi, QStringLiteral("Suvestines"));
    config.PlanList = ReadFileList(mi, QStringLiteral("Planai"));

    for (TViewFamily family : AllViewFamilies) {
        const auto i = FamilyIndex(family);
        const QString key = FamilyKey(family);
        config.IncludeMask.at(i) =
            CheckFileMask(mi.ReadString(QStringLiteral("Itraukti"), key, {}), QStringLiteral("*"));
        config.ExcludeMask.at(i) =
            CheckFileMask(mi.ReadString(QStringLiteral("Atmesti"), key, {}), {});
    }

    for (const QString& key : buttonKeys) {
        const QString caption = mi.ReadString(QStringLiteral("Button.Captions"), key, {});
        if (!caption.isEmpty())
            config.Captions.insert(key, caption);
        const QString hint = mi.ReadString(QStringLiteral("Button.Hints"), key, {});
        if (!hint.isEmpty())
            config.Hints.insert(key, hint);
    }

    TWindowState& window = config.Window;
    window.HasStoredPosition = ai.ValueExists(MainForm, QStringLiteral("Top")) &&
                               ai.ValueExists(MainForm, QStringLiteral("Left"));
    window.Top = ai.ReadInteger(MainForm, QStringLiteral("Top"), TWindowState::DesignTop);
    window.Left = ai.ReadInteger(MainForm, QStringLiteral("Left"), TWindowState::DesignLeft);
    window.Width =
        qMax(ai.ReadInteger(MainForm, QStringLiteral("Width"), TWindowState::DesignWidth),
             TWindowState::MinWidth);
    window.Height =
        qMax(ai.ReadInteger(MainForm, QStringLiteral("Height"), TWindowState::DesignHeight),
             TWindowState::MinHeight);

    for (TViewFamily family : AllViewFamilies) {
        const auto i = FamilyIndex(family);
        config.History.at(i) = CheckedHistory(
            family, ai.ReadString(Istorija, FamilyKey(family), {}), config.BaseFolder.at(i));
    }

    const int style = ai.ReadInteger(MainForm, QStringLiteral("ListView"), 0);
    window.ListView = style >= 0 && style <= 3 ? style : 0;
    return config;
}

void WriteWorkspaceState(TIniFile& ai, const TWindowState& window, const TFamilyTexts& history)
{
    ai.WriteInteger(MainForm, QStringLiteral("Top"), window.Top);
    ai.WriteInteger(MainForm, QStringLiteral("Left"), window.Left);
    ai.WriteInteger(MainForm, QStringLiteral("Width"), window.Width);
    ai.WriteInteger(MainForm, QStringLiteral("Height"), window.Height);
    for (TViewFamily family : AllViewFamilies)
        ai.WriteString(Istorija, FamilyKey(family), history.at(FamilyIndex(family)));
    ai.WriteInteger(MainForm, QStringLiteral("ListView"), window.ListView);
}
