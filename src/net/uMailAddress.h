#pragma once

#include <QString>

// One address as users type it: a bare address, or a display name followed
// by the address in angle brackets ("Jonas <jonas@imone.lt>").
struct TMailAddress
{
    QString Name;
    QString Address;

    static TMailAddress Parse(const QString& text);
};
