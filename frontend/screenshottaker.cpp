#include "frontend/screenshottaker.h"

#include <cstdio>
#include <cstring>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include "frontend/mainwindow.h"

ScreenshotTaker::ScreenshotTaker(MainWindow *mainWindow, FrontendOptions::Screen shownScreen,
                                 const QString &file, int delay, QObject *parent)
    : QObject(parent)
    , window(mainWindow)
    , screen(shownScreen)
    , fileName(file)
    , delayMs(delay)
{
}

const char *ScreenshotTaker::dialogClass(FrontendOptions::Screen screen)
{
    switch (screen) {
    case FrontendOptions::Screen::Settings:
    case FrontendOptions::Screen::Devices:
        return "MtSettingsDlg";
    case FrontendOptions::Screen::Calibration:
    case FrontendOptions::Screen::Help:
    case FrontendOptions::Screen::Progress:
    case FrontendOptions::Screen::Countdown:
    case FrontendOptions::Screen::Result:
    case FrontendOptions::Screen::Error:
        return "MtCalibrationDlg";
    case FrontendOptions::Screen::Window:
    case FrontendOptions::Screen::Display:
        break;
    }
    return nullptr;
}

const char *ScreenshotTaker::targetClass(FrontendOptions::Screen screen)
{
    switch (screen) {
    case FrontendOptions::Screen::Help:
        return "MtHelpDlg";
    case FrontendOptions::Screen::Progress:
        return "CalibrationProgressDlg";
    case FrontendOptions::Screen::Countdown:
        return "CountdownDlg";
    case FrontendOptions::Screen::Result:
        return "MtResultDlg";
    case FrontendOptions::Screen::Error:
        return "QMessageBox";
    default:
        return dialogClass(screen);
    }
}

void ScreenshotTaker::start()
{
    QTimer::singleShot(0, this, &ScreenshotTaker::openScreen);
}

void ScreenshotTaker::openScreen()
{
    if (const char *className = dialogClass(screen)) {
        QAction *action = window->moduleActionFor(className);
        if (!action) {
            fail(QStringLiteral("the module offers no %1 here").arg(QLatin1String(className)));
            return;
        }
        // The dialog runs modally inside trigger(); the capture comes from within it.
        QTimer::singleShot(0, this, &ScreenshotTaker::waitForTarget);
        action->trigger();
        return;
    }
    if (screen == FrontendOptions::Screen::Display) {
        QDockWidget *dock = window->moduleDock();
        if (!dock) {
            fail(QStringLiteral("the module offers no display here"));
            return;
        }
        dock->show();
        dock->raise();
    }
    QTimer::singleShot(delayMs, this, &ScreenshotTaker::capture);
}

// A visible top-level window of the target class; a dialog covered by a
// later one (the progress under its countdown) still counts.
QWidget *ScreenshotTaker::findTarget() const
{
    const char *className = targetClass(screen);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (widget->isVisible() && widget->inherits(className))
            return widget;
    }
    return nullptr;
}

void ScreenshotTaker::driveEntryDialog(QWidget *modal)
{
    if (driven || !modal || !modal->inherits(dialogClass(screen)))
        return;
    driven = true;
    const char *button = screen == FrontendOptions::Screen::Help ? "pushButton_help" : "pushButton_calibrate";
    if (QAbstractButton *push = modal->findChild<QAbstractButton *>(QLatin1String(button))) {
        // Queued: the click runs the next modal loop, which must not run inside this slot.
        QTimer::singleShot(0, push, &QAbstractButton::click);
    }
}

// Polls until the target window shows, driving the entry dialog towards it
// (a calibration takes seconds), then takes the picture after the delay.
void ScreenshotTaker::waitForTarget()
{
    constexpr int PollMs = 50;
    constexpr int GiveUpMs = 60000;
    if (QWidget *target = findTarget()) {
        if (screen == FrontendOptions::Screen::Devices) {
            if (QTabWidget *pages = target->findChild<QTabWidget *>(QStringLiteral("tabWidget")))
                pages->setCurrentIndex(pages->count() - 1);
        }
        QTimer::singleShot(delayMs, this, &ScreenshotTaker::capture);
        return;
    }
    if (std::strcmp(targetClass(screen), dialogClass(screen)) != 0)
        driveEntryDialog(QApplication::activeModalWidget());
    waitedMs += PollMs;
    if (waitedMs > GiveUpMs) {
        fail(QStringLiteral("no %1 opened").arg(QLatin1String(targetClass(screen))));
        return;
    }
    QTimer::singleShot(PollMs, this, &ScreenshotTaker::waitForTarget);
}

void ScreenshotTaker::capture()
{
    QWidget *target = window;
    if (dialogClass(screen)) {
        target = findTarget();
        if (!target) {
            fail(QStringLiteral("the dialog did not open, or closed before the picture"));
            return;
        }
    }
    if (target->grab().save(fileName, "PNG")) {
        code = 0;
        std::fprintf(stderr, "Saved %s (%dx%d)\n", qPrintable(fileName), target->width(), target->height());
    } else {
        fail(QStringLiteral("cannot write %1").arg(fileName));
        return;
    }
    finish();
}

void ScreenshotTaker::fail(const QString &reason)
{
    code = 1;
    std::fprintf(stderr, "Screenshot failed: %s\n", qPrintable(reason));
    finish();
}

// Ends every event loop at once, the dialog's included; a loop the module
// might start after its dialog closed ends at once too.
void ScreenshotTaker::finish()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        modal->close();
    QCoreApplication::exit(code);
}
