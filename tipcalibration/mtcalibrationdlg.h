#ifndef MTCALIBRATIONDLG_H
#define MTCALIBRATIONDLG_H

#include <QDialog>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include "host/requester.h"
#include "ui_mtcalibrationdlg.h"

class IOManager;
class QTimer;
struct BackendVersions;

// Entry point of the tool tip calibration: checks that tracking and a
// calibrated tool are there and that the configuration may be changed,
// animates the movement the operator has to make, keeps tracking running and
// runs the controller's "measurementtool" calibration up to its result.
class MtCalibrationDlg : public QDialog, public Requester
{
    Q_OBJECT

public:
    MtCalibrationDlg(IOManager *commandManager, QWidget *parent, BackendVersions *backendVersions);
    ~MtCalibrationDlg() override;

    // The animation ends with the dialog, however it is closed.
    void done(int result) override;

public slots:
    // Checks what the controller offers, then runs the dialog modally.
    int update_and_exec();

private slots:
    void on_pushButton_help_clicked();
    void on_pushButton_calibrate_clicked();
    void on_pushButton_exit_clicked();
    void reject() override;
    void onShowDlg();
    void onHideDlg();
    void update_image();

private:
    void checkAvailability();
    void fitContents();
    void setAvailable(bool available, const QString &reason);
    void resumeTracking();
    void stopAnimationAndTracking();
    bool anyToolCalibrated(int numberOfTools, bool *queryFailed);

    Ui::MtCalibrationDlgClass ui;
    IOManager *pCommandManager;
    BackendVersions *pBackendVersions;
    QTimer *timerImage;
    QWidget *pMainWindow;
    int iImageIndex = 0;
    QPixmap pixImage1;
    QPixmap pixImage2;
    QPixmap pixImage3;
    QPixmap pixImage4;
    bool bLocked = false;
    QIcon iconLock;
};

#endif // MTCALIBRATIONDLG_H
