#include "frontend/screenshottaker.h"

#include <cstdio>

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

ScreenshotTaker::ScreenshotTaker(MainWindow *window, FrontendOptions::Screen screen, const QString &file, int delay,
                                 QObject *parent)
    : QObject(parent)
    , navigator(window, screen)
    , fileName(file)
    , delayMs(delay)
{
    connect(&navigator, &ScreenNavigator::reached, this, &ScreenshotTaker::waitAndCapture);
    connect(&navigator, &ScreenNavigator::failed, this, &ScreenshotTaker::fail);
}

void ScreenshotTaker::start()
{
    navigator.start();
}

void ScreenshotTaker::waitAndCapture(QWidget *shown)
{
    target = shown;
    QTimer::singleShot(delayMs, this, &ScreenshotTaker::capture);
}

void ScreenshotTaker::capture()
{
    // A dialog may close during the delay; the window, the display's, stays.
    if (!target || !target->isVisible()) {
        fail(tr("\"%1\" closed before the picture").arg(FrontendOptions::screenName(navigator.screen())));
        return;
    }
    if (!target->grab().save(fileName, "PNG")) {
        fail(tr("cannot write %1").arg(fileName));
        return;
    }
    code = 0;
    std::fprintf(stderr, "%s\n",
                 qPrintable(tr("Saved %1 (%2x%3)").arg(fileName).arg(target->width()).arg(target->height())));
    finish();
}

void ScreenshotTaker::fail(const QString &reason)
{
    code = 1;
    std::fprintf(stderr, "%s\n", qPrintable(tr("Screenshot failed: %1").arg(reason)));
    finish();
}

// Ends every event loop at once, the dialogs' included; a loop the module
// might start after its dialog closed ends at once too.
void ScreenshotTaker::finish()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        modal->close();
    QCoreApplication::exit(code);
}
