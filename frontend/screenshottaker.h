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

    // The module's dialog class behind a screen (the one its menu action
    // opens); null for the window and the display.
    static const char *dialogClass(FrontendOptions::Screen screen);
    // The class of the window pictured; for the screens reached from a
    // dialog it differs from dialogClass().
    static const char *targetClass(FrontendOptions::Screen screen);

private slots:
    void openScreen();
    void waitForTarget();
    void capture();
    void finish();

private:
    void fail(const QString &reason);
    QWidget *findTarget() const;
    // Moves on from the dialog the action opened towards the target screen, once.
    void driveEntryDialog(QWidget *modal);

    MainWindow *window;
    FrontendOptions::Screen screen;
    QString fileName;
    int delayMs;
    int code = 1;
    int waitedMs = 0;
    bool driven = false;
};

#endif // SCREENSHOTTAKER_H
