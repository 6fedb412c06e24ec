#ifndef RECORDINGCONTROLS_H
#define RECORDINGCONTROLS_H

#include <QObject>
#include <QString>
#include <QTimer>

class MainWindow;
class QAction;
class QLabel;
class SessionRecorder;

// The window's side of a recording: "Start recording..." (a file dialog) and
// "Stop recording" in the File menu, and a status bar field that shows that
// it runs, for how long and how many lines it holds.
class RecordingControls : public QObject
{
    Q_OBJECT

public:
    // Before Quit in the File menu.
    static constexpr int StartActionOrder = 50;
    static constexpr int StopActionOrder = 60;

    RecordingControls(MainWindow *window, SessionRecorder *recorder);

    QAction *startAction() const { return start; }
    QAction *stopAction() const { return stop; }

private slots:
    void chooseFile();
    void refresh();
    void showMessage(const QString &text);

private:
    MainWindow *window;
    SessionRecorder *recorder;
    QAction *start;
    QAction *stop;
    QLabel *field;
    QTimer refreshTimer;
    QString folder; // where the last recording went
};

#endif // RECORDINGCONTROLS_H
