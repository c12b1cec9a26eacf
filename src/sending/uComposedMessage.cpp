#include "uComposedMessage.h"

#include "uError.h"
#include "uMailError.h"

TComposedMessage ComposeMessage(const TComposeInput& input)
{
    TComposedMessage composed;
    composed.Message = std::make_unique<TMimeMessage>();
    TMimeMessage& message = *composed.Message;
    try {
        message.SetTo(input.Recipient);
        message.SetSubject(input.Subject);
        message.SetBody(input.BodyLines);
        message.SetFrom(input.Sender);
        if (input.CopyToSelf)
            message.AddBcc(TMailAddress::Parse(input.Sender).Address);
        for (const TSelectedItem& item : input.Selection) {
            message.AddAttachment(item.Path);
            composed.History.append({HistoryTimeText(QDateTime::currentDateTime()), item.Path});
        }
    } catch (const EMailError& error) {
        throw EAppError(error.Message());
    }
    return composed;
}
