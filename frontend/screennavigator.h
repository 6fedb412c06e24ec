#ifndef SCREENNAVIGATOR_H
#define SCREENNAVIGATOR_H

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include "frontend/frontendoptions.h"

class MainWindow;
class QAbstractButton;
class QWidget;

// Brings the window to one of its screens as an operator would: opens the
// module's dialog through its menu action and, for the screens behind the
// tip calibration dialog, presses Help or Calibrate and follows the
// calibration until the screen shows. Ends once, with reached() or with
// failed() and the reason: the module offers no such dialog, a button is
// disabled, the calibration took another way, or nothing on the screens
// changed for 12 s.
// A module dialog runs modally, so reached() comes from within its event loop.
class ScreenNavigator : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollMs = 50;

    ScreenNavigator(MainWindow *window, FrontendOptions::Screen screen, QObject *parent = nullptr);

    // Starts once the application's event loop runs.
    void start();
    FrontendOptions::Screen screen() const { return shownScreen; }

    // The module's dialog class behind a screen (the one its menu action
    // opens); null for the window and the display.
    static const char *dialogClass(FrontendOptions::Screen screen);
    // The class of the window that shows the screen; for the screens
    // reached from a dialog it differs from dialogClass().
    static const char *targetClass(FrontendOptions::Screen screen);
    // A visible top-level window of the target class (the window itself for
    // the window and the display); a dialog covered by a later one still counts.
    QWidget *findTarget() const;

signals:
    void reached(QWidget *target);
    void failed(const QString &reason);

private slots:
    void openScreen();
    void poll();

private:
    void finish(QWidget *target, const QString &reason);
    // Why the screen can no longer come; empty while it still may.
    QString deadEnd() const;
    QString calibrationDeadEnd() const;
    // The entry dialog's button that leads on towards the screen.
    QAbstractButton *entryButton(QWidget *dialog) const;
    // Presses the entry dialog's button, once.
    void driveEntryDialog(QWidget *modal);
    // False when the settings dialog has no enabled radio device page.
    bool showDevicePage(QWidget *settings) const;
    // What the screens show that a running calibration changes.
    static QString visibleState();

    MainWindow *window;
    FrontendOptions::Screen shownScreen;
    QElapsedTimer sinceChange;
    QString lastState;
    bool opened = false;        // the menu action returned
    bool pressed = false;       // the entry dialog's button is pressed
    bool pressReturned = false; // and what it opened has closed
    bool done = false;
};

#endif // SCREENNAVIGATOR_H
