#include "tipcalibration/mtcalibrationdlg.h"

#include <QMessageBox>
#include <QTimer>

#include "calibration/calibrationprogressdlg.h"
#include "host/controllerfacts.h"
#include "host/failurelog.h"
#include "host/iomanager.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "tipcalibration/mthelpdlg.h"
#include "tipcalibration/mtresultdlg.h"

namespace {

constexpr int ImageIntervalMs = 300;
constexpr int FrameCount = 4;
constexpr char CalibrationType[] = "measurementtool";

// Reasons setAvailable understands; they choose the red text shown.
constexpr char TrackingNotAvailable[] = "Tracking is not available!";
constexpr char NoToolDefined[] = "No Measurement Tool is defined!";
constexpr char NoToolCalibrated[] = "No Measurement Tool is calibrated!";

} // namespace

MtCalibrationDlg::MtCalibrationDlg(IOManager *commandManager, QWidget *parent, BackendVersions *backendVersions)
    : QDialog(parent)
    , pCommandManager(commandManager)
    , pBackendVersions(backendVersions)
    , timerImage(new QTimer)
    , pMainWindow(parent)
    , pixImage1(QStringLiteral(":/image1.png"))
    , pixImage2(QStringLiteral(":/image2.png"))
    , pixImage3(QStringLiteral(":/image3.png"))
    , pixImage4(QStringLiteral(":/image4.png"))
    , iconLock(QStringLiteral(":/lock.png"))
{
    ui.setupUi(this);
    ui.label_fixedTip->setText(tr("as shown in the picture with <b>fixed tip!</b>"));
    // The steps take the room beside the picture before they wrap.
    ui.horizontalLayout_2->setStretchFactor(ui.verticalLayout, 1);
    // Room for the frames before the first one is shown.
    ui.label_picMesstaster->setMinimumSize(pixImage1.size());
    timerImage->setInterval(ImageIntervalMs);
    connect(timerImage, &QTimer::timeout, this, &MtCalibrationDlg::update_image);
}

MtCalibrationDlg::~MtCalibrationDlg()
{
    delete timerImage;
}

void MtCalibrationDlg::done(int result)
{
    timerImage->stop();
    QDialog::done(result);
}

int MtCalibrationDlg::update_and_exec()
{
    onShowDlg();
    // The dialog is kept between openings; each one starts at its first button,
    // so Enter and Space do what they did the first time, not what was focused last.
    if (ui.pushButton_calibrate->isEnabled())
        ui.pushButton_calibrate->setFocus(Qt::OtherFocusReason);
    else
        ui.pushButton_exit->setFocus(Qt::OtherFocusReason);
    return exec();
}

void MtCalibrationDlg::on_pushButton_help_clicked()
{
    MtHelpDlg help(this);
    help.exec();
}

void MtCalibrationDlg::on_pushButton_calibrate_clicked()
{
    if (!pCommandManager)
        return;
    ReplyBuffer available;
    if (pCommandManager->getParameter(available.data(), "cal available measurementtool") != 0) {
        FailureLog::report(pCommandManager, tr("Error: Calibration mea tool"));
        return;
    }
    if (available.is(ReplyWord::No)) {
        QMessageBox::critical(this, tr("Measurement Tool Calibration"),
                              tr("Measurement Tool calibration is not available"), QMessageBox::Ok);
        return;
    }

    FailureLog::report(pCommandManager, tr("Measurement Tool calibration started"));
    CalibrationProgressDlg progress(pCommandManager, this, pBackendVersions, false, true);
    if (progress.run_calibration(CalibrationType) != 0) {
        FailureLog::report(pCommandManager, tr("Measurement Tool calibration finished"));
        MtResultDlg result(pCommandManager, this);
        result.update_and_exec();
        resumeTracking();
    } else {
        FailureLog::report(pCommandManager, tr("Measurement Tool calibration aborted"));
        resumeTracking();
    }
}

void MtCalibrationDlg::on_pushButton_exit_clicked()
{
    stopAnimationAndTracking();
    done(0);
}

void MtCalibrationDlg::reject()
{
    stopAnimationAndTracking();
    done(0);
}

void MtCalibrationDlg::onShowDlg()
{
    timerImage->start();
    checkAvailability();
    fitContents();
}

// Each failed check ends the checks with its reason on show; tracking is
// started only once a calibrated tool was found.
void MtCalibrationDlg::checkAvailability()
{
    bLocked = ControllerFacts::configurationLocked(pCommandManager, pBackendVersions);

    if (!ControllerFacts::measurementToolAvailable(pCommandManager, pBackendVersions)) {
        setAvailable(false, QString());
        return;
    }

    // Every backend that offers measurement tools knows this query.
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "tracking available") == 0 && reply.is(ReplyWord::No)) {
        setAvailable(false, QLatin1String(TrackingNotAvailable));
        return;
    }

    int numberOfTools = 0;
    if (pCommandManager->getIntParameter(&numberOfTools, "measurementtool number_of_tools") != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to get number of mea tools"));
        setAvailable(false, QLatin1String(NoToolDefined));
        return;
    }
    if (numberOfTools <= 0) {
        setAvailable(false, QLatin1String(NoToolDefined));
        return;
    }

    if (pCommandManager->getIntParameter(&numberOfTools, "measurementtool number_of_tools") != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to get number of mea tools"));
        setAvailable(false, QLatin1String(NoToolCalibrated));
        return;
    }
    bool queryFailed = false;
    if (!anyToolCalibrated(numberOfTools, &queryFailed)) {
        if (queryFailed)
            FailureLog::report(pCommandManager, tr("Error: Unable to get calibration info for Measurement Tool"));
        setAvailable(false, QLatin1String(NoToolCalibrated));
        return;
    }

    setAvailable(true, QString());

    if (pCommandManager->getIntParameter(&numberOfTools, "measurementtool number_of_tools") != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to get number of mea tools"));
        resumeTracking();
        return;
    }
    ReplyBuffer calibration;
    if (pCommandManager->getParameter(calibration.data(), "cal available measurementtool") != 0) {
        FailureLog::report(pCommandManager,
                           tr("Error: Unable to get info calibration for Measurement Tool is available"));
        resumeTracking();
        return;
    }
    if (numberOfTools <= 0) {
        ui.pushButton_calibrate->setEnabled(false);
    } else if (!calibration.is(ReplyWord::Yes)) {
        ui.label_error->setText(tr("<b><font color=red>Calibration Measurement Tool is not available!</font></b>"));
        ui.label_error->setVisible(true);
        ui.pushButton_calibrate->setEnabled(false);
    } else if (!bLocked) {
        ui.pushButton_calibrate->setEnabled(true);
    }
    resumeTracking();
}

// The form's width holds: the step texts wrap in it. Larger fonts, longer
// translations and the error line get the height they need instead.
void MtCalibrationDlg::fitContents()
{
    const int fittedWidth = qMax(width(), minimumSizeHint().width());
    const int neededHeight
        = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(fittedWidth) : sizeHint().height();
    resize(fittedWidth, qMax(height(), neededHeight));
}

void MtCalibrationDlg::onHideDlg()
{
    stopAnimationAndTracking();
}

void MtCalibrationDlg::update_image()
{
    switch (iImageIndex % FrameCount) {
    case 0:
        ui.label_picMesstaster->setPixmap(pixImage1);
        iImageIndex = 0;
        break;
    case 1: ui.label_picMesstaster->setPixmap(pixImage2); break;
    case 2: ui.label_picMesstaster->setPixmap(pixImage3); break;
    default: ui.label_picMesstaster->setPixmap(pixImage4); break;
    }
    ++iImageIndex;
}

void MtCalibrationDlg::setAvailable(bool available, const QString &reason)
{
    if (bLocked) {
        setWindowIcon(iconLock);
        ui.pushButton_calibrate->setEnabled(false);
    } else {
        setWindowIcon(pMainWindow ? pMainWindow->windowIcon() : QIcon());
    }

    if (available) {
        ui.label_error->clear();
        ui.label_error->setVisible(false);
    } else {
        QString text;
        if (reason == QLatin1String(TrackingNotAvailable))
            text = tr("<b><font color=red>Tracking is not available!</font></b>");
        else if (reason == QLatin1String(NoToolDefined))
            text = tr("<b><font color=red>No Measurement Tool is defined!</font></b>");
        else if (reason == QLatin1String(NoToolCalibrated))
            text = tr("<b><font color=red>No Measurement Tool is calibrated!</font></b>");
        else
            text = tr("<b><font color=red>Measurement Tool is not available!</font></b>");
        ui.label_error->setText(text);
        ui.label_error->setVisible(true);
    }

    if (!bLocked)
        ui.pushButton_calibrate->setEnabled(available);
}

void MtCalibrationDlg::resumeTracking()
{
    if (!pCommandManager)
        return;
    ReplyBuffer status;
    if (pCommandManager->getParameter(status.data(), "status active") == 0
        && (status.is(ReplyWord::None) || status.is(ReplyWord::Err))) {
        ReplyBuffer reply;
        pCommandManager->sendCommand(reply.data(), "orvel2 tracking start");
    }
}

void MtCalibrationDlg::stopAnimationAndTracking()
{
    if (timerImage->isActive())
        timerImage->stop();
    if (!pCommandManager)
        return;
    ReplyBuffer status;
    if (pCommandManager->getParameter(status.data(), "status active") == 0 && !status.is(ReplyWord::None)
        && !status.is(ReplyWord::Err)) {
        ReplyBuffer reply;
        pCommandManager->sendCommand(reply.data(), "orvel2 tracking stop");
    }
}

// Tools 1 up to the controller's count; the first that reports itself
// calibrated ends the search, as does a failed query.
bool MtCalibrationDlg::anyToolCalibrated(int numberOfTools, bool *queryFailed)
{
    for (int i = 0; i < numberOfTools; ++i) {
        ReplyBuffer reply;
        if (pCommandManager->getParameter(reply.data(), "body calibrated measurementtool %s",
                                          NumberedItem::body(i).c_str())
            != 0) {
            *queryFailed = true;
            return false;
        }
        if (reply.is(ReplyWord::Yes))
            return true;
    }
    return false;
}
