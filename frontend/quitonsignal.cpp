#include "frontend/quitonsignal.h"

#include <cerrno>
#include <csignal>

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int SignalCount = int(sizeof Signals / sizeof Signals[0]);

// A signal handler may only write to a descriptor: the event loop reads the other end.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;
// What was there before: nohup's ignored SIGHUP stays ignored, and the
// defaults come back for a second signal.
struct sigaction previous[SignalCount];
bool handled[SignalCount] = {};

void restorePrevious()
{
    for (int i = 0; i < SignalCount; ++i) {
        if (handled[i])
            sigaction(Signals[i], &previous[i], nullptr);
    }
}

} // namespace

QuitOnSignal::QuitOnSignal(QObject *parent)
    : QObject(parent)
{
    int ends[2];
    if (readEnd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    // A full pipe must not block the handler: one byte waiting is enough.
    ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    writeEnd = ends[0];
    readEnd = ends[1];
    notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &QuitOnSignal::readSignal);
    struct sigaction handling = {};
    handling.sa_handler = &QuitOnSignal::handle;
    sigemptyset(&handling.sa_mask);
    handling.sa_flags = SA_RESTART;
    for (int i = 0; i < SignalCount; ++i) {
        sigaction(Signals[i], nullptr, &previous[i]);
        handled[i] = previous[i].sa_handler != SIG_IGN;
        if (handled[i])
            sigaction(Signals[i], &handling, nullptr);
    }
}

QuitOnSignal::~QuitOnSignal()
{
    if (!notifier)
        return;
    restorePrevious();
    const int end = writeEnd;
    writeEnd = -1;
    ::close(end);
    ::close(readEnd);
    readEnd = -1;
}

// Async-signal-safe only: the earlier actions come back at once, so a second
// signal ends even a program whose event loop no longer runs.
void QuitOnSignal::handle(int signalNumber)
{
    const int savedErrno = errno;
    restorePrevious();
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (writeEnd >= 0) [[maybe_unused]]
        const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

void QuitOnSignal::readSignal()
{
    unsigned char byte = 0;
    if (::read(readEnd, &byte, 1) != 1)
        return;
    emit received(byte);
    QCoreApplication::quit();
}
