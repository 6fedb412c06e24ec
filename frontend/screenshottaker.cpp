#include "frontend/screenshottaker.h"

#include <cstdio>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QPixmap>
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
        return "MtSettingsDlg";
    case FrontendOptions::Screen::Calibration:
        return "MtCalibrationDlg";
    case FrontendOptions::Screen::Window:
    case FrontendOptions::Screen::Display:
        break;
    }
    return nullptr;
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
        QTimer::singleShot(delayMs, this, &ScreenshotTaker::capture);
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

void ScreenshotTaker::capture()
{
    QWidget *target = window;
    if (dialogClass(screen)) {
        target = QApplication::activeModalWidget();
        if (!target) {
            fail(QStringLiteral("the dialog did not open"));
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
