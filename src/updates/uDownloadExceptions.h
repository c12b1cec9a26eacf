#pragma once

#include "uError.h"

// A file of an update could not be fetched whole and verified, or no server
// delivered the instructions.
class EDownloadFileException : public EAppError
{
public:
    explicit EDownloadFileException(const QString& message) : EAppError(message) {}
};

// The update engine was asked to work without its settings store.
class EDownloadUpdatesException : public EAppError
{
public:
    explicit EDownloadUpdatesException(const QString& message) : EAppError(message) {}
};
