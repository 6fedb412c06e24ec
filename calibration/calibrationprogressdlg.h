#ifndef CALIBRATIONPROGRESSDLG_H
#define CALIBRATIONPROGRESSDLG_H

#include <QByteArray>
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "ui_calibrationprogressdlg.h"

class CountdownDlg;
class IOManager;
class ReplyBuffer;
struct BackendVersions;

// Runs one controller calibration, named by its type keyword, from start to
// end: reads its description, steps and pauses, counts down before the first
// step, starts it and polls the controller's status until the controller
// reports it finished (result 1), failed or the operator cancels (result 0).
//
// Single-phase mode (one step, or pauses disabled): the controller runs all
// steps by itself and the dialog follows the step it reports. Two-phase mode
// (two steps, pauses enabled): the dialog counts down through the
// controller's pauses and starts the second step itself.
class CalibrationProgressDlg : public QDialog, public Ui::CalibrationProgressDialog
{
    Q_OBJECT

public:
    CalibrationProgressDlg(IOManager *commandManager, QWidget *parent, BackendVersions *backendVersions,
                           bool pausesEnabled, bool showRemainingTime);
    ~CalibrationProgressDlg() override;

    // Prepares and starts the calibration, then runs the dialog modally.
    // 0 when the run never started, else the dialog's result.
    int run_calibration(const char *type);

    // Ends the polling and any step countdown still open, whatever ends the dialog.
    void done(int result) override;

signals:
    void progress_changed(double progress, double step_progress);

public slots:
    void show_custom_message(const QString &msg);

private slots:
    void update_cal_status();
    void reject() override;

private:
    bool twoPhaseMode() const { return iNumberOfSteps == 2 && bPausesEnabled; }
    QByteArray typeText() const { return sCalType.toLatin1(); }

    void readTwoPhasePauses();
    bool readControllerPause(int step, int *seconds);
    int runCountdown(int seconds);
    void runStepCountdown();
    void closeStepCountdown();
    void showStepDescription(int step);
    int updateProgressBars();
    void updateRemainingTime();
    void updateSinglePhase();
    void updateTwoPhase();
    void finishOnEndStatus(ReplyBuffer &status);
    void failCalibration();

    IOManager *pCommandManager;
    BackendVersions *pBackendVersions;
    QTimer timerStatus;
    QString sCalType;
    int iNumberOfSteps = 1;
    int iCurrentStep = 1;
    bool bCalculating = false;
    int iPause1 = 5;
    int iPause2 = 5;
    bool bPausesEnabled;
    bool bPause2Pending = true;
    bool bShowRemainingTime;

    double dProgress = 0.0;
    double dStepProgress = 0.0;
    // The countdown open under this dialog, if any (polling goes on under a step change one).
    QPointer<CountdownDlg> pOpenCountdown;
};

#endif // CALIBRATIONPROGRESSDLG_H
