#ifndef SCREENSHOTTAKER_H
#define SCREENSHOTTAKER_H

#include <QObject>
#include <QPointer>
#include <QString>

#include "frontend/frontendoptions.h"
#include "frontend/screennavigator.h"

class MainWindow;
class QWidget;

// Opens one screen of the window, saves a picture of it to a PNG file after
// a delay and ends the application; works without a display (offscreen).
// A screen that cannot be reached ends it too, with the reason on stderr.
// A module dialog runs modally, so the picture is taken from within its
// event loop, after which the dialog is closed.
class ScreenshotTaker : public QObject
{
    Q_OBJECT

public:
    ScreenshotTaker(MainWindow *window, FrontendOptions::Screen screen, const QString &fileName, int delayMs,
                    QObject *parent = nullptr);

    // Starts once the application's event loop runs.
    void start();
    // 0 when the picture was saved.
    int exitCode() const { return code; }

private slots:
    void waitAndCapture(QWidget *target);
    void capture();
    void fail(const QString &reason);

private:
    void finish();

    ScreenNavigator navigator;
    QPointer<QWidget> target;
    QString fileName;
    int delayMs;
    int code = 1;
};

#endif // SCREENSHOTTAKER_H
