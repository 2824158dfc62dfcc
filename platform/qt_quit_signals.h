#pragma once
// SIGTERM, SIGINT and SIGHUP (the desktop session ending, Ctrl+C in a terminal, the terminal
// closing) end the program the way closing its window does, so that its settings and lists are
// saved, instead of killing it. The signal is only noted by its handler; the GUI thread hears of it
// through a pipe and calls `quit`. A second signal, once the first is being handled, kills as usual.
#include <QObject>

#include <functional>

class QSocketNotifier;

namespace platform {

class QtQuitSignals : public QObject {
public:
    explicit QtQuitSignals(std::function<void()> quit);
    ~QtQuitSignals() override;
    QtQuitSignals(const QtQuitSignals&) = delete;
    QtQuitSignals& operator=(const QtQuitSignals&) = delete;

private:
    void Notified();

    std::function<void()> Quit;
    QSocketNotifier* Notifier = nullptr; // owned as a child
};

} // namespace platform
