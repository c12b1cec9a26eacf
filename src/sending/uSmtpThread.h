#pragma once

#include "uSmtpClient.h"

#include <QThread>

class TMimeMessage;

// Delivers one message on its own thread. Progress goes out as queued
// signals with the values 0 (the message starts), n (bytes so far, at most
// one per percent) and -1 (all of it is out); the last signal is always
// CloseRequest, after which ErrorText is final: empty on success, the user's
// text of the failure otherwise. The creator frees the thread; freeing it
// early aborts the delivery.
class TSMTPThread : public QThread
{
    Q_OBJECT

public:
    TSMTPThread(const TSmtpServer& server, TMimeMessage& message, QObject* parent = nullptr);
    ~TSMTPThread() override;

    const QString& ErrorText() const { return FErrorText; }

signals:
    void Progress(qint64 value);
    void Status(const QString& text);
    void CloseRequest();

protected:
    void run() override;

private:
    TSmtpServer FServer;
    TMimeMessage& FMessage;
    TSmtpClient FClient;
    QString FErrorText;
};
