#include "platform/qt_quit_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <cerrno>
#include <utility>

namespace platform {

namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};
int gPipe[2] = {-1, -1}; // read end, write end; one set of handlers per process

void NoteSignal(int number)
{
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t ignored = ::write(gPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

QtQuitSignals::QtQuitSignals(std::function<void()> quit) : Quit(std::move(quit))
{
    if (gPipe[0] >= 0 || ::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    Notifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, [this] { Notified(); });
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int number : kQuitSignals)
        ::sigaction(number, &action, nullptr);
}

QtQuitSignals::~QtQuitSignals()
{
    if (Notifier == nullptr)
        return;
    for (int number : kQuitSignals)
        ::signal(number, SIG_DFL);
    delete Notifier;
    ::close(gPipe[0]);
    ::close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

void QtQuitSignals::Notified()
{
    char bytes[16];
    while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (Quit)
        Quit();
}

} // namespace platform
