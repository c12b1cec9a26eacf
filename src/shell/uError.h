#pragma once

#include <QString>

#include <stdexcept>

// A failure whose text is meant for the user. Handlers let it travel up to
// the application, which shows it in the standard error box and goes on.
class EAppError : public std::runtime_error
{
public:
    explicit EAppError(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message)
    {}
    const QString& Message() const noexcept { return FMessage; }

private:
    QString FMessage;
};
