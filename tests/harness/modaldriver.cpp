#include "modaldriver.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace {
constexpr int PollMs = 10;
}

ModalDriver::ModalDriver(const QByteArray &className, Action act, int timeoutMs)
    : wantedClass(className)
    , action(std::move(act))
    , remainingMs(timeoutMs)
{
    connect(&timer, &QTimer::timeout, this, &ModalDriver::poll);
    timer.start(PollMs);
}

void ModalDriver::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && (wantedClass.isEmpty() || modal->inherits(wantedClass.constData()))) {
        timer.stop();
        bActed = true;
        action(modal);
        return;
    }
    remainingMs -= PollMs;
    if (remainingMs <= 0) {
        timer.stop();
        bTimedOut = true;
        closeAllModal();
    }
}

void ModalDriver::closeAllModal()
{
    // Bounded: each round closes one level; a widget refusing to close cannot loop us.
    for (int round = 0; round < 16; ++round) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (QDialog *dialog = qobject_cast<QDialog *>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        QCoreApplication::processEvents();
    }
}
