#pragma once

#include <QString>

// One address as users type it: a bare address, or a display name followed
// by the address in angle brackets ("Jonas <jonas@imone.lt>").
struct TMailAddress
{
    QString Name;
    QString Address;

    // Raises EMailError for text that could smuggle commands or headers of
    // its own into the mail: a control character anywhere (a line break, a
    // NUL), or an angle bracket inside the address itself.
    static TMailAddress Parse(const QString& text);
};
