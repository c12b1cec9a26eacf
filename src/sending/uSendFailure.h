#pragma once

#include "uSmtpClient.h"

#include <QString>

// The user's text for a failed delivery. The kinds are told apart in this
// order: host not found, connection reset, an error reply of the server,
// another socket failure, anything else; the reason goes between the
// parentheses (for a server's reply, its own reply text).
QString SendFailureText(const TSmtpOutcome& outcome);
