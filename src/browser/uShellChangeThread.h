#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

// Watches one folder (not its sub-folders) and reports every creation,
// deletion, rename, attribute or content change of its entries through
// Changed(), waiting until the receiver on the GUI thread has handled it.
// Started at once; deletes itself when it ends. No polling, no time-outs: it
// sleeps until the system reports a change or Stop() wakes it.
class TShellChangeThread : public QThread
{
    Q_OBJECT
public:
    // Arms the watch and connects the handler, run on the receiver's thread
    // while the watcher waits, before the thread starts: no change after the
    // creation goes unreported. A folder that cannot be watched gives a
    // watcher that ends at once.
    TShellChangeThread(const QString& folder, QObject* receiver, std::function<void()> handler);
    ~TShellChangeThread() override;

    // Asks the watcher to end; it does so at once, or when the receiver of
    // the report it is making has returned. Never waits.
    void Stop();

    // Watchers in existence, for the owner's checks that they do end.
    static int Instances();

signals:
    void Changed();

protected:
    void run() override;

private:
    void Watch();

    int FNotify = -1; // inotify descriptor with the folder's watch
    int FWake = -1;   // eventfd written by Stop()
    std::atomic<bool> FStopped{false};
    static std::atomic<int> FInstances;
};
