#pragma once

#include "uMimeMessage.h"
#include "uSelectedItem.h"
#include "uSentHistory.h"

#include <QDateTime>
#include <QStringList>

#include <memory>

// What the compose dialog holds when "Siųsti" is pressed.
struct TComposeInput
{
    QString Recipient;
    QString Subject;
    QStringList BodyLines;
    bool CopyToSelf = false;
    QString Sender;
    QList<TSelectedItem> Selection;
};

struct TComposedMessage
{
    std::unique_ptr<TMimeMessage> Message;
    // One entry per attached file, in list order, timed when it was attached.
    QList<THistoryEntry> History;
};

// Builds the message: one recipient, the sender, a blind copy to the
// sender's address when asked, and every selected entry attached (files
// opened now). Raises EAppError, before anything is sent, for an address
// that could inject commands or headers, and with the file system's reason
// when an entry cannot be read: a folder, a file gone, a file another
// program is writing, anything but a regular file.
TComposedMessage ComposeMessage(const TComposeInput& input);
