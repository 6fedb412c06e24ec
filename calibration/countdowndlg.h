#ifndef COUNTDOWNDLG_H
#define COUNTDOWNDLG_H

#include <QDialog>
#include <QString>
#include <QTimer>

#include "ui_countdowndlg.h"

// Counts whole seconds down before a calibration step; accepts itself at 0.
// "Start now" accepts at once, Cancel (Escape, close) rejects.
class CountdownDlg : public QDialog, private Ui::CountdownDialog
{
    Q_OBJECT

public:
    explicit CountdownDlg(QWidget *parent);

    // Shows the message and the seconds and starts counting; the caller then runs exec().
    void startCountdown(const QString &message, int seconds);

    // Whatever ends the dialog also ends the count.
    void done(int result) override;

private slots:
    void updateCountdown();

private:
    int iRemaining = 0;
    QTimer timerCountdown;
};

#endif // COUNTDOWNDLG_H
