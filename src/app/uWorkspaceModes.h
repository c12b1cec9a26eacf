#pragma once

#include "uViewFamily.h"

#include <QString>

#include <array>

// What a workspace button does: a folder view of one family, a configured
// list of forms, or a plain action that leaves the mode alone.
enum class TButtonKind { FolderView, FillList, Action };
enum class TFillList { None, Forms, Summaries, Plans };
enum class TOpenAction { None, OpenSelectedFiles, ComposeSend, OpenHistoryEntry };

struct TWorkspaceButton
{
    const char* Name;      // component name, e.g. "cxButtonAFView"
    const char* ConfigKey; // key in "Button.Captions" and "Button.Hints"
    const char* Caption;   // built-in caption ("\r\n" breaks the line)
    TButtonKind Kind;
    TViewFamily Family; // folder views
    TFillList List;     // fill lists
    TOpenAction Open;
    bool Locked; // rename and delete refused
};

enum TButtonId {
    btnAFFill,
    btnAFView,
    btnKontrole,
    btnKoView,
    btnSuvest,
    btnSuView,
    btnPLFill,
    btnPLView,
    btnParam,
    btnSend,
    btnLog,
    btnHelp,
    ButtonCount
};

inline constexpr std::array<TWorkspaceButton, ButtonCount> WorkspaceButtons = {{
    {"cxButtonAFFill", "AF perziura", "AF pildymas", TButtonKind::FillList, TViewFamily::AF,
     TFillList::Forms, TOpenAction::OpenSelectedFiles, true},
    {"cxButtonAFView", "AF perziura view", "AF peržiūra", TButtonKind::FolderView, TViewFamily::AF,
     TFillList::None, TOpenAction::OpenSelectedFiles, false},
    {"cxButtonKontrole", "Ko perziura", "Kontrolė", TButtonKind::Action, TViewFamily::Ko,
     TFillList::None, TOpenAction::None, true},
    {"cxButtonKoView", "Ko perziura view", "Kontrolės \r\nperžiūra", TButtonKind::FolderView,
     TViewFamily::Ko, TFillList::None, TOpenAction::OpenSelectedFiles, false},
    {"cxButtonSuvest", "Su perziura", "Suvestinės\r\nAF", TButtonKind::FillList, TViewFamily::Su,
     TFillList::Summaries, TOpenAction::OpenSelectedFiles, true},
    {"cxButtonSuView", "Su perziura view", "Suvestinių\r\nAF peržiūra", TButtonKind::FolderView,
     TViewFamily::Su, TFillList::None, TOpenAction::OpenSelectedFiles, false},
    {"cxButtonPLFill", "PL perziura", "Plano\r\npildymas", TButtonKind::FillList, TViewFamily::PL,
     TFillList::Plans, TOpenAction::OpenSelectedFiles, true},
    {"cxButtonPLView", "PL perziura view", "Plano\r\nperžiūra", TButtonKind::FolderView,
     TViewFamily::PL, TFillList::None, TOpenAction::OpenSelectedFiles, true},
    {"cxButtonParam", "Param perziura", "Parametrai", TButtonKind::Action, TViewFamily::AF,
     TFillList::None, TOpenAction::None, true},
    {"cxButtonSend", "Send perziura", "Išsiųsti AF\r\nį Centrą", TButtonKind::FolderView,
     TViewFamily::Mi, TFillList::None, TOpenAction::ComposeSend, false},
    {"cxButtonLog", "Lg perziura", "Išsiųstos AF", TButtonKind::FolderView, TViewFamily::Lg,
     TFillList::None, TOpenAction::OpenHistoryEntry, true},
    {"cxButtonHelp", "Help perziura", "Pagalba", TButtonKind::Action, TViewFamily::AF,
     TFillList::None, TOpenAction::None, true},
}};

// A caption or hint as a button shows it: "\r\n" is one line break.
QString ButtonText(const QString& text);
