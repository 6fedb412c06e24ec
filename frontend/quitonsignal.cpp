#include "frontend/quitonsignal.h"

#include <csignal>

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may only write to a descriptor: the event loop reads the other end.
int pipeEnds[2] = {-1, -1};
constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};

void setAction(void (*action)(int))
{
    struct sigaction handling = {};
    handling.sa_handler = action;
    sigemptyset(&handling.sa_mask);
    handling.sa_flags = SA_RESTART;
    for (int number : Signals)
        sigaction(number, &handling, nullptr);
}

} // namespace

QuitOnSignal::QuitOnSignal(QObject *parent)
    : QObject(parent)
{
    if (pipeEnds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0)
        return;
    notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &QuitOnSignal::readSignal);
    setAction(&QuitOnSignal::handle);
}

QuitOnSignal::~QuitOnSignal()
{
    if (!notifier)
        return;
    setAction(SIG_DFL);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void QuitOnSignal::handle(int signalNumber)
{
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

void QuitOnSignal::readSignal()
{
    unsigned char byte = 0;
    if (::read(pipeEnds[1], &byte, 1) != 1)
        return;
    setAction(SIG_DFL);
    emit received(byte);
    QCoreApplication::quit();
}
