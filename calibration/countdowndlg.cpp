#include "calibration/countdowndlg.h"

#include <limits>

namespace {
constexpr int TickMs = 1000;
}

CountdownDlg::CountdownDlg(QWidget *parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(&timerCountdown, &QTimer::timeout, this, &CountdownDlg::updateCountdown);
    // A close button but no context help button.
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
}

void CountdownDlg::startCountdown(const QString &message, int seconds)
{
    msg->setText(message);
    iRemaining = seconds;
    lcdNumber->display(iRemaining);
    timerCountdown.start(TickMs);
}

void CountdownDlg::done(int result)
{
    timerCountdown.stop();
    QDialog::done(result);
}

void CountdownDlg::updateCountdown()
{
    if (iRemaining > std::numeric_limits<int>::min())
        --iRemaining;
    lcdNumber->display(iRemaining);
    if (iRemaining <= 0)
        done(1);
}
