#include "calibration/calibrationprogressdlg.h"

#include <QList>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <cmath>
#include <cstring>
#include <limits>

#include "calibration/countdowndlg.h"
#include "host/cnumber.h"
#include "host/failurelog.h"
#include "host/iomanager.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "host/versiongate.h"

namespace {

constexpr int StatusIntervalMs = 200;
constexpr int StepChangeCountdownSeconds = 5;
// A controller pause of 0 seconds in two-phase mode means the default one.
constexpr int DefaultControllerPauseSeconds = 5;

// Status replies of a calibration in progress.
constexpr char Calibrating[] = "cal";
constexpr char CalibratingStep1[] = "cal 1";
constexpr char CalibratingStep2[] = "cal 2";
constexpr char PauseBeforeStep1[] = "pause 1";
constexpr char PauseBeforeStep2[] = "pause 2";
// The reply word of "orvel2 get cal step_pause" that says whether the step has a pause, and its length.
constexpr int PauseFlagWord = 6;
constexpr int PauseSecondsWord = 7;

QString withoutQuotes(const char *text)
{
    QString result = QString::fromLatin1(text);
    result.remove(QLatin1Char('"'));
    return result;
}

// Seconds and steps are used as the controller reports them. They are held
// in an int, and only there are they bounded: a value beyond it would make
// the conversion undefined, so it saturates (NaN counts 0).
int truncatedToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value); // toward zero
}

int saturatedToInt(long value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

// The integer part of a percentage; values far outside 0..100 (and NaN) end
// up just outside it, which a progress bar ignores.
int percentOf(double fraction)
{
    const double percent = 100.0 * fraction;
    if (!(percent > -1.0))
        return -1;
    if (percent >= 101.0)
        return 101;
    return int(percent);
}

// The second blank-separated word of a reply such as "yes 2.9", as whole
// seconds truncated toward zero ("yes -2" gives -2); no number gives 0.
int pauseSecondsOf(const char *reply)
{
    const QList<QByteArray> words = QByteArray(reply).simplified().split(' ');
    if (words.size() < 2)
        return 0;
    char *end = nullptr;
    const double seconds = CNumber::toDouble(words.at(1).constData(), &end);
    if (end == words.at(1).constData())
        return 0;
    return truncatedToInt(seconds);
}

// The controller's own error text: what stands between the first two double
// quotes; a reply without any is shown whole.
QByteArray errorTextOf(const QByteArray &reply)
{
    const int open = reply.indexOf('"');
    if (open < 0)
        return reply.trimmed();
    const int close = reply.indexOf('"', open + 1);
    if (close < 0)
        return reply.mid(open + 1).trimmed();
    return reply.mid(open + 1, close - open - 1);
}

// A message box is as narrow as its text, and the window manager then cuts
// the title to fit. A row across the box's grid as wide as the title in a
// bold font, plus room for the title bar's icon and buttons (six line
// heights), keeps the title whole; the box sizes itself from that grid.
void reserveTitleWidth(QMessageBox *box)
{
    QFont titleFont = box->font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int width = metrics.horizontalAdvance(box->windowTitle()) + 6 * metrics.height();
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

} // namespace

CalibrationProgressDlg::CalibrationProgressDlg(IOManager *commandManager, QWidget *parent,
                                               BackendVersions *backendVersions, bool pausesEnabled,
                                               bool showRemainingTime)
    : QDialog(parent)
    , pCommandManager(commandManager)
    , pBackendVersions(backendVersions)
    , bPausesEnabled(pausesEnabled)
    , bShowRemainingTime(showRemainingTime)
{
    setupUi(this);
    timerStatus.setInterval(StatusIntervalMs);
    timerStatus.setSingleShot(false);
    connect(&timerStatus, &QTimer::timeout, this, &CalibrationProgressDlg::update_cal_status);
    label_remaining_time->setText(QString());
    // The controller's descriptions arrive while the dialog is open, at its
    // width by then: a longer one goes on in a further line, not cut.
    label_desc->setWordWrap(true);
    label_step_desc->setWordWrap(true);
    // The controller's texts are shown as they are, never as markup.
    label_desc->setTextFormat(Qt::PlainText);
    label_step_desc->setTextFormat(Qt::PlainText);
}

CalibrationProgressDlg::~CalibrationProgressDlg() = default;

int CalibrationProgressDlg::run_calibration(const char *type)
{
    sCalType = QString::fromLatin1(type ? type : "");
    bPause2Pending = true;
    if (!pCommandManager)
        return 0;
    const QByteArray calType = typeText();

    // The results of these queries are not tested: what the host left in the
    // reply (or in the value) is used, a failed query's text as well.
    ReplyBuffer description;
    pCommandManager->getParameter(description.data(), "cal type_desc %s", calType.constData());
    pCommandManager->getIntParameter(&iNumberOfSteps, "cal number_of_steps %s", calType.constData());

    ReplyBuffer pause;
    pCommandManager->getParameter(pause.data(), "cal step_pause %s %s", calType.constData(),
                                  NumberedItem::step(1).c_str());
    iPause1 = std::strncmp(pause.text(), ReplyWord::Yes, 3) == 0 ? pauseSecondsOf(pause.text()) : 0;

    if (twoPhaseMode())
        readTwoPhasePauses();

    // Nothing has been started yet: a cancelled countdown just ends the run.
    if (iPause1 != 0 && runCountdown(iPause1) == 0)
        return 0;

    label_info->clear();
    QString text = withoutQuotes(description.text());
    if (iNumberOfSteps == 1) {
        progressBar_step->hide();
        label->hide();
        label_progress_step->hide();
    } else {
        text += tr(" is a %1 step calibration.").arg(iNumberOfSteps);
    }
    label_desc->setText(text);
    if (iNumberOfSteps == 2)
        showStepDescription(1);
    else
        label_step_desc->hide();

    progressBar_overall->reset();
    progressBar_step->reset();
    bCalculating = false;
    timerStatus.start();

    // Here alone a failed query counts as an empty reply, and so stops tracking.
    ReplyBuffer status;
    if (pCommandManager->getParameter(status.data(), "status active") != 0)
        status.clear();
    if (status.is(ReplyWord::Wait)) {
        timerStatus.stop();
        FailureLog::report(pCommandManager, tr("cannot start calibration, waiting for sync signal"));
        return 0;
    }
    if (!status.is(ReplyWord::None) && !status.is(ReplyWord::Err)) {
        ReplyBuffer stopped;
        pCommandManager->sendCommand(stopped.data(), "orvel2 tracking stop");
    }

    pCommandManager->commandPreset(0, 5000, 0);
    ReplyBuffer started;
    if (pCommandManager->sendCommand(started.data(), "orvel2 cal %s start", calType.constData()) != 0
        || !started.is(ReplyWord::Ok)) {
        timerStatus.stop();
        return 0;
    }

    // The form's width suits the fonts it was drawn with; long descriptions
    // and wider fonts get the room they need.
    resize(size().expandedTo(sizeHint()));
    const int result = exec();
    timerStatus.stop();
    return result;
}

void CalibrationProgressDlg::done(int result)
{
    timerStatus.stop();
    closeStepCountdown();
    QDialog::done(result);
}

void CalibrationProgressDlg::show_custom_message(const QString &msg)
{
    if (bCalculating)
        return;
    label_info->setText(msg);
}

void CalibrationProgressDlg::update_cal_status()
{
    // A host may spin events inside its synchronous calls: no tick before the run is shown.
    if (!isVisible() || !pCommandManager)
        return;
    if (twoPhaseMode())
        updateTwoPhase();
    else
        updateSinglePhase();
}

void CalibrationProgressDlg::reject()
{
    timerStatus.stop();
    if (pCommandManager) {
        ReplyBuffer reply;
        pCommandManager->sendCommand(reply.data(), "orvel2 cal %s stop", typeText().constData());
    }
    done(0);
}

void CalibrationProgressDlg::readTwoPhasePauses()
{
    int seconds = 0;
    if (!readControllerPause(1, &seconds)) {
        iNumberOfSteps = 1;
        return;
    }
    iPause1 = seconds;
    if (!readControllerPause(2, &seconds)) {
        iNumberOfSteps = 1;
        return;
    }
    iPause2 = seconds;
}

// The reply repeats the command and adds the pause flag and its seconds:
// "orvel2 get cal step_pause <type> s01 yes 3".
bool CalibrationProgressDlg::readControllerPause(int step, int *seconds)
{
    ReplyBuffer reply;
    pCommandManager->sendCommand(reply.data(), "orvel2 get cal step_pause %s %s", typeText().constData(),
                                 NumberedItem::step(step).c_str());
    const QList<QByteArray> words = QByteArray(reply.text()).split(' ');
    if (words.size() <= PauseFlagWord || words.at(PauseFlagWord) != ReplyWord::Yes)
        return false;
    long value = 0;
    if (words.size() > PauseSecondsWord) {
        char *end = nullptr;
        value = CNumber::toLong(words.at(PauseSecondsWord).constData(), &end, 10);
    }
    const int pause = saturatedToInt(value);
    *seconds = pause == 0 ? DefaultControllerPauseSeconds : pause;
    return true;
}

int CalibrationProgressDlg::runCountdown(int seconds)
{
    CountdownDlg countdown(parentWidget());
    pOpenCountdown = &countdown;
    countdown.startCountdown(QString(), seconds);
    const int result = countdown.exec();
    pOpenCountdown = nullptr;
    return result;
}

// The step change countdown runs inside the tick that found the new step,
// and the status is polled on under it. Qt delivers no further timeout of a
// timer whose slot is still running; restarted here, it is a new timer that
// the countdown's event loop delivers. One countdown at a time.
void CalibrationProgressDlg::runStepCountdown()
{
    if (pOpenCountdown)
        return;
    timerStatus.start();
    // The ticks under the countdown may end the run, which closes it.
    if (runCountdown(StepChangeCountdownSeconds) == 0 && isVisible())
        timerStatus.stop(); // cancelled: the dialog stays up with its last values until Cancel
}

void CalibrationProgressDlg::closeStepCountdown()
{
    if (pOpenCountdown)
        pOpenCountdown->done(QDialog::Rejected);
}

void CalibrationProgressDlg::showStepDescription(int step)
{
    ReplyBuffer reply;
    pCommandManager->getParameter(reply.data(), "cal step_desc %s %s", typeText().constData(),
                                  NumberedItem::step(step).c_str());
    label_step_desc->setText(withoutQuotes(reply.text()));
}

// Both bars from the controller, whatever the queries' results; a value the
// host does not write, or a reply without numbers, keeps the previous one.
// Returns the step the controller reports, 0 if none can be read.
int CalibrationProgressDlg::updateProgressBars()
{
    pCommandManager->getDoubleParameter(&dProgress, "status progress");
    progressBar_overall->setValue(percentOf(dProgress));

    int reportedStep = 0;
    ReplyBuffer reply;
    pCommandManager->getParameter(reply.data(), "status step_progress");
    const char *text = reply.text();
    char *end = nullptr;
    const long step = CNumber::toLong(text, &end, 10);
    if (end != text) {
        // A step an int cannot hold is no step of ours.
        if (step >= std::numeric_limits<int>::min() && step <= std::numeric_limits<int>::max())
            reportedStep = int(step);
        const char *fractionText = end;
        const double fraction = CNumber::toDouble(fractionText, &end);
        if (end != fractionText)
            dStepProgress = fraction;
    }
    progressBar_step->setValue(percentOf(dStepProgress));
    return reportedStep;
}

void CalibrationProgressDlg::updateRemainingTime()
{
    if (!bShowRemainingTime || !VersionGate::supports(pBackendVersions, Feature::StepDuration))
        return;
    ReplyBuffer reply;
    pCommandManager->getParameter(reply.data(), "cal step_duration %s %s", typeText().constData(),
                                  NumberedItem::step(iCurrentStep).c_str());
    const char *text = reply.text();
    char *end = nullptr;
    const double duration = CNumber::toDouble(text, &end);
    if (end == text)
        return;
    const double remaining = (1.0 - dStepProgress) * duration;
    if (!std::isfinite(remaining))
        return;
    const int seconds = truncatedToInt(remaining);
    label_remaining_time->setText(tr("remaining time: %1 seconds").arg(seconds));
}

void CalibrationProgressDlg::updateSinglePhase()
{
    ReplyBuffer status;
    pCommandManager->getParameter(status.data(), "status active");

    if (status.is(Calibrating)) {
        const int reportedStep = updateProgressBars();
        emit progress_changed(dProgress, dStepProgress);
        updateRemainingTime();
        if (reportedStep == 1) {
            if (!bCalculating && percentOf(dProgress) == 100) {
                bCalculating = true;
                label_info->setText(tr("calculating..."));
            }
        } else if (reportedStep > iCurrentStep) {
            // Advanced first: the ticks that run under the countdown open no second one.
            iCurrentStep = reportedStep;
            showStepDescription(iCurrentStep);
            runStepCountdown();
        }
    } else {
        finishOnEndStatus(status);
    }
}

void CalibrationProgressDlg::updateTwoPhase()
{
    ReplyBuffer status;
    pCommandManager->getParameter(status.data(), "status step_active");

    if (status.is(CalibratingStep1) || status.is(CalibratingStep2)) {
        updateProgressBars();
        updateRemainingTime();
    } else if (status.is(PauseBeforeStep2)) {
        timerStatus.stop();
        iCurrentStep = 2;
        showStepDescription(2);
        if (iPause2 != 0 && bPause2Pending) {
            if (runCountdown(iPause2) == 0) {
                done(0);
                return;
            }
            bPause2Pending = false;
            ReplyBuffer reply;
            pCommandManager->sendCommand(reply.data(), "orvel2 cal %s start_step s02", typeText().constData());
        }
        // Still pausing after its countdown: keep following the controller.
        timerStatus.start();
    } else if (status.is(PauseBeforeStep1)) {
        timerStatus.stop();
        if (runCountdown(iPause1) == 0) {
            done(0);
            return;
        }
        bCalculating = false;
        timerStatus.start();
    } else {
        finishOnEndStatus(status);
    }
}

// No status: the calibration is done; an error: it failed. Any other status
// leaves it running.
void CalibrationProgressDlg::finishOnEndStatus(ReplyBuffer &status)
{
    if (status.is(ReplyWord::None)) {
        timerStatus.stop();
        accept();
    } else if (status.is(ReplyWord::Err)) {
        failCalibration();
    }
}

void CalibrationProgressDlg::failCalibration()
{
    timerStatus.stop();
    // The run is over: no step is coming to count down to.
    closeStepCountdown();
    ReplyBuffer error;
    pCommandManager->sendCommand(error.data(), "orvel2 get status err");
    if (twoPhaseMode()) {
        ReplyBuffer reply;
        pCommandManager->sendCommand(reply.data(), "orvel2 tracking start");
        pCommandManager->sendCommand(reply.data(), "orvel2 tracking stop");
    }
    // Translated where a translation of the controller's text exists.
    const QString controllerText = QString::fromLatin1(errorTextOf(QByteArray(error.text())));
    const QString message = tr(controllerText.toUtf8().constData());
    QMessageBox box(QMessageBox::Critical, tr("Calibration Error"), message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    reserveTitleWidth(&box);
    box.exec();
    done(0);
}
