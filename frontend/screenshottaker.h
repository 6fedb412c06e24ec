#ifndef SCREENSHOTTAKER_H
#define SCREENSHOTTAKER_H

#include <QObject>
#include <QString>

#include "frontend/frontendoptions.h"

class MainWindow;

// Opens one screen of the window, saves a picture of it to a PNG file after
// a delay and ends the application; works without a display (offscreen).
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

    // The module's dialog class behind a screen; null for the window and the display.
    static const char *dialogClass(FrontendOptions::Screen screen);

private slots:
    void openScreen();
    void capture();
    void finish();

private:
    void fail(const QString &reason);

    MainWindow *window;
    FrontendOptions::Screen screen;
    QString fileName;
    int delayMs;
    int code = 1;
};

#endif // SCREENSHOTTAKER_H
