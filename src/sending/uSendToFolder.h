#pragma once

#include <QStringList>

class QWidget;

// "Siųsti į aplanką...": asks for a folder and copies the given files and
// folders there, with a progress window for long copies and one message
// listing whatever could not be copied. Cancelling the question copies
// nothing. `owner` (the compose dialog) stays open.
void SendToFolder(QWidget* owner, const QStringList& sources);
