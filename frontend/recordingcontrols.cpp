#include "frontend/recordingcontrols.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>

#include "frontend/mainwindow.h"
#include "frontend/sessionrecorder.h"

namespace {

constexpr int RefreshMs = 500;

// As long as the window's other status bar messages.
constexpr int MessageMs = 15000;

QString duration(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

RecordingControls::RecordingControls(MainWindow *mainWindow, SessionRecorder *sessionRecorder)
    : QObject(mainWindow)
    , window(mainWindow)
    , recorder(sessionRecorder)
    , start(new QAction(tr("Start &recording..."), this))
    , stop(new QAction(tr("Stop recording"), this))
    , field(new QLabel(mainWindow))
    , folder(QDir::homePath())
{
    start->setStatusTip(tr("Record the controller's data lines and the commands into a file"));
    stop->setStatusTip(tr("End the recording and close its file"));
    connect(start, &QAction::triggered, this, &RecordingControls::chooseFile);
    connect(stop, &QAction::triggered, this, [this]() { recorder->stop(SessionRecorder::Stop::Operator); });
    window->addFileAction(start, StartActionOrder);
    window->addFileAction(stop, StopActionOrder);

    field->setObjectName(QStringLiteral("label_recording"));
    field->setContentsMargins(0, 0, 16, 0); // apart from the connection beside it
    window->statusBar()->insertPermanentWidget(0, field);
    connect(recorder, &SessionRecorder::stateChanged, this, &RecordingControls::refresh);
    connect(recorder, &SessionRecorder::told, this, &RecordingControls::showMessage);
    connect(&refreshTimer, &QTimer::timeout, this, &RecordingControls::refresh);
    refreshTimer.setInterval(RefreshMs);
    refresh();
}

void RecordingControls::chooseFile()
{
    const QString name
        = QStringLiteral("orvel-%1.rec").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString file = QFileDialog::getSaveFileName(window, tr("Start recording"), QDir(folder).filePath(name),
                                                      tr("Recordings (*.rec);;All files (*)"));
    if (file.isEmpty())
        return;
    folder = QFileInfo(file).absolutePath();
    recorder->start(file);
}

void RecordingControls::refresh()
{
    const SessionRecorder::State state = recorder->state();
    start->setEnabled(state == SessionRecorder::State::Off);
    stop->setEnabled(state != SessionRecorder::State::Off);
    field->setVisible(state != SessionRecorder::State::Off);
    field->setToolTip(recorder->fileName());
    if (state == SessionRecorder::State::Off) {
        refreshTimer.stop();
        return;
    }
    if (!refreshTimer.isActive())
        refreshTimer.start();
    QString text = state == SessionRecorder::State::Waiting
        ? tr("Recording waits for the controller")
        : tr("Recording %1, %2 lines").arg(duration(recorder->elapsedMs()), QLocale().toString(recorder->lines()));
    if (recorder->dropped() > 0)
        text += tr(", %1 dropped").arg(QLocale().toString(recorder->dropped()));
    // A red dot, as recorders show it.
    field->setText(QStringLiteral("<span style=\"color:#c00000\">&#9679;</span> ") + text.toHtmlEscaped());
}

void RecordingControls::showMessage(const QString &text)
{
    window->statusBar()->showMessage(text, MessageMs);
    refresh();
}
