#include "uSmtpThread.h"

#include "uMimeMessage.h"
#include "uSendFailure.h"

TSMTPThread::TSMTPThread(const TSmtpServer& server, TMimeMessage& message, QObject* parent)
    : QThread(parent), FServer(server), FMessage(message)
{}

TSMTPThread::~TSMTPThread()
{
    FClient.Abort();
    wait();
}

void TSMTPThread::run()
{
    const qint64 size = qMax<qint64>(1, FMessage.Size());
    int shownPercent = -1;
    FClient.OnProgress = [&](qint64 value) {
        // The connection reports every buffer; the bar moves by whole percents.
        const int percent = value <= 0 ? -1 : int(value * 100 / size);
        if (value > 0 && percent == shownPercent)
            return;
        shownPercent = percent;
        emit Progress(value);
    };
    FClient.OnReply = [this](const QString& line) { emit Status(line); };
    const TSmtpOutcome outcome = FClient.Send(FServer, FMessage);
    FErrorText = outcome.Ok() ? QString() : SendFailureText(outcome);
    emit CloseRequest();
}
