#pragma once

#include "uFileMask.h"

#include <QString>

#include <vector>

// The masks of one ";"-separated text, in order.
class TMaskList
{
public:
    // Replaces the masks by those of the text. Pieces shorter than two
    // characters are dropped, so "*" alone gives no mask at all. An invalid
    // piece raises EAppError; the masks before it stay in the list.
    void Compile(const QString& text);

    qsizetype Count() const { return qsizetype(FMasks.size()); }
    bool IsEmpty() const { return FMasks.empty(); }
    bool MatchesAny(const QString& name) const;

private:
    std::vector<TFileMask> FMasks;
};

// The include and hide masks of the file list and the filter they make.
class TMaskFilter
{
public:
    // Store and compile a new text; false (and nothing done) when the text is
    // the one already held. The text is stored before compiling, so a text
    // that failed is not compiled again when it is set once more.
    bool SetIncludeMasks(const QString& text);
    bool SetHideMasks(const QString& text);

    const QString& IncludeMasks() const { return FIncludeText; }
    const QString& HideMasks() const { return FHideText; }
    const TMaskList& IncludeList() const { return FInclude; }
    const TMaskList& HideList() const { return FHide; }

    // A name passes when it matches an include mask (or there is none) and no
    // hide mask.
    bool Passes(const QString& name) const;

    // "Įtraukti: ...\nPaslėpti: ..." while either text is set, else empty.
    QString Hint() const;

private:
    QString FIncludeText, FHideText;
    TMaskList FInclude, FHide;
};
