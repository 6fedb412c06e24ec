#ifndef MODALDRIVER_H
#define MODALDRIVER_H

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

// Acts on the next modal widget once it is up, from a timer, so a test can
// drive a dialog that runs its own event loop. If none comes up in time, it
// closes whatever modal widget there is and reports the time-out: a test
// fails, it never hangs.
class ModalDriver : public QObject
{
    Q_OBJECT

public:
    using Action = std::function<void(QWidget *)>;

    // className: act only on a modal widget of that class (empty: any). The
    // default time-out leaves a sanitized build, several times slower, time.
    ModalDriver(const QByteArray &className, Action action, int timeoutMs = 10000);

    bool acted() const { return bActed; }
    bool timedOut() const { return bTimedOut; }

    // Closes every modal widget still open (nested ones first).
    static void closeAllModal();

private slots:
    void poll();

private:
    QByteArray wantedClass;
    Action action;
    QTimer timer;
    int remainingMs;
    bool bActed = false;
    bool bTimedOut = false;
};

#endif // MODALDRIVER_H
