#pragma once

#include "uViewFamily.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>

class TIniFile;

// The main window's placement and list style as stored in "MainForm".
struct TWindowState
{
    static constexpr int DesignTop = 171;
    static constexpr int DesignLeft = 303;
    static constexpr int DesignWidth = 669;
    static constexpr int DesignHeight = 540;
    static constexpr int MinWidth = 460;
    static constexpr int MinHeight = 416;

    int Top = DesignTop;
    int Left = DesignLeft;
    int Width = DesignWidth;
    int Height = DesignHeight;
    int ListView = 0;
    // True when the AI file held a position: then it decides the placement;
    // a first start is centred on the desktop instead.
    bool HasStoredPosition = false;
};

using TFamilyTexts = std::array<QString, ViewFamilyCount>;

// Everything the main window reads from the two configuration files at start,
// checked and cleaned, and the state it writes back at exit.
struct TWorkspaceConfig
{
    QString ControlTemplate; // "Nustatymai", "Kontrole"
    QString ParamFile;       // "Nustatymai", "ParametraiAI"
    QString HelpFile;        // "Nustatymai", "Pagalba"
    QString ArchiveName;     // "Nustatymai", "Archyvas"
    TFamilyTexts BaseFolder;
    TFamilyTexts IncludeMask;
    TFamilyTexts ExcludeMask;
    TFamilyTexts History;
    QStringList FormList;    // section "AF", key=value lines
    QStringList SummaryList; // section "Suvestines"
    QStringList PlanList;    // section "Planai"
    // Configured captions and hints by button key, as read (escapes not yet
    // expanded); a missing key keeps the built-in text.
    QHash<QString, QString> Captions;
    QHash<QString, QString> Hints;
    TWindowState Window;

    static TWorkspaceConfig Read(const TIniFile& mi, const TIniFile& ai,
                                 const QStringList& buttonKeys);
};

// A history entry cleaned and checked against its base folder: empty when the
// folder (or, for a Lg entry naming a history file, the file) is gone.
QString CheckedHistory(TViewFamily family, const QString& value, const QString& baseFolder);

// Writes the placement, the six history entries and the list style, in the
// order the next start expects to find them.
void WriteWorkspaceState(TIniFile& ai, const TWindowState& window, const TFamilyTexts& history);
