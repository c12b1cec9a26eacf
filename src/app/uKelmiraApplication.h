#pragma once

#include <QApplication>

// The application object: title "KELMIRA", the windows' background colour,
// and the one place where an error raised in a handler is shown to the user
// (Qt must never unwind an exception through its event loop).
class TKelmiraApplication : public QApplication
{
    Q_OBJECT
public:
    static inline const QColor WindowColor{255, 241, 206};

    TKelmiraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
