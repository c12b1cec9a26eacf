#pragma once

#include <QString>

#include <stdexcept>

// A failure of the mail layer whose text can be shown to the user as it is.
class EMailError : public std::runtime_error
{
public:
    explicit EMailError(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message)
    {}
    const QString& Message() const noexcept { return FMessage; }

private:
    QString FMessage;
};
