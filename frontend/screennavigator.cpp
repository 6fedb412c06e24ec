#include "frontend/screennavigator.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLCDNumber>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStringList>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QTimer>

#include "frontend/mainwindow.h"

namespace {

// A running calibration moves its progress bars or its countdown
// within this time; a wait without any change has no end.
constexpr int StallLimitMs = 12000;

using Screen = FrontendOptions::Screen;

constexpr char EntryDialog[] = "MtCalibrationDlg";
constexpr char ProgressDialog[] = "CalibrationProgressDlg";
constexpr char ResultDialog[] = "MtResultDlg";
constexpr char ErrorBox[] = "QMessageBox";

QWidget *visibleWindow(const char *className)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (widget->isVisible() && widget->inherits(className))
            return widget;
    }
    return nullptr;
}

QString plainText(const QString &text)
{
    return QTextDocumentFragment::fromHtml(text).toPlainText().trimmed();
}

} // namespace

ScreenNavigator::ScreenNavigator(MainWindow *mainWindow, FrontendOptions::Screen screen, QObject *parent)
    : QObject(parent)
    , window(mainWindow)
    , shownScreen(screen)
{ }

const char *ScreenNavigator::dialogClass(FrontendOptions::Screen screen)
{
    switch (screen) {
    case Screen::Settings:
    case Screen::Devices: return "MtSettingsDlg";
    case Screen::Calibration:
    case Screen::Help:
    case Screen::Progress:
    case Screen::Countdown:
    case Screen::Result:
    case Screen::Error: return EntryDialog;
    case Screen::Window:
    case Screen::Display: break;
    }
    return nullptr;
}

const char *ScreenNavigator::targetClass(FrontendOptions::Screen screen)
{
    switch (screen) {
    case Screen::Help: return "MtHelpDlg";
    case Screen::Progress: return ProgressDialog;
    case Screen::Countdown: return "CountdownDlg";
    case Screen::Result: return ResultDialog;
    case Screen::Error: return ErrorBox;
    default: return dialogClass(screen);
    }
}

void ScreenNavigator::start()
{
    QTimer::singleShot(0, this, &ScreenNavigator::openScreen);
}

QWidget *ScreenNavigator::findTarget() const
{
    const char *className = targetClass(shownScreen);
    return className ? visibleWindow(className) : window;
}

void ScreenNavigator::openScreen()
{
    sinceChange.start();
    const char *dialog = dialogClass(shownScreen);
    if (!dialog) {
        if (shownScreen == Screen::Display) {
            QDockWidget *dock = window->moduleDock();
            if (!dock) {
                finish(nullptr, tr("the module offers no display here"));
                return;
            }
            dock->show();
            dock->raise();
        }
        finish(window, QString());
        return;
    }
    QAction *action = window->moduleActionFor(dialog);
    if (!action) {
        finish(nullptr,
               tr("the module offers no dialog for \"%1\" here: no module is loaded, it runs in observer "
                  "mode, or it refuses the controller's product")
                   .arg(FrontendOptions::screenName(shownScreen)));
        return;
    }
    QTimer::singleShot(0, this, &ScreenNavigator::poll);
    // The dialog runs modally in here; poll() runs within its event loop.
    const QPointer<ScreenNavigator> self(this);
    action->trigger();
    if (self)
        opened = true;
}

void ScreenNavigator::poll()
{
    if (done)
        return;
    if (QWidget *target = findTarget()) {
        if (shownScreen == Screen::Devices && !showDevicePage(target))
            finish(nullptr, tr("the settings dialog has no radio device page here"));
        else
            finish(target, QString());
        return;
    }
    const QString reason = deadEnd();
    if (!reason.isEmpty()) {
        finish(nullptr, reason);
        return;
    }
    driveEntryDialog(QApplication::activeModalWidget());
    // Measured on the clock: a command's wait delays the polls.
    const QString state = visibleState();
    if (state != lastState) {
        lastState = state;
        sinceChange.restart();
    } else if (sinceChange.elapsed() > StallLimitMs) {
        finish(nullptr,
               tr("\"%1\" did not show, and nothing changed for %2 s")
                   .arg(FrontendOptions::screenName(shownScreen))
                   .arg(StallLimitMs / 1000));
        return;
    }
    QTimer::singleShot(PollMs, this, &ScreenNavigator::poll);
}

void ScreenNavigator::finish(QWidget *target, const QString &reason)
{
    if (done)
        return;
    done = true;
    if (target)
        emit reached(target);
    else
        emit failed(reason);
}

QString ScreenNavigator::deadEnd() const
{
    const QString name = FrontendOptions::screenName(shownScreen);
    if (opened)
        return tr("the module's dialog did not open, or closed before \"%1\" showed").arg(name);
    const char *dialog = dialogClass(shownScreen);
    if (!dialog || qstrcmp(targetClass(shownScreen), dialog) == 0)
        return QString();
    QWidget *modal = QApplication::activeModalWidget();
    const bool atEntry = modal && modal->inherits(dialog);
    if (atEntry && !pressed) {
        const QAbstractButton *button = entryButton(modal);
        if (!button)
            return tr("the tip calibration dialog has no button that leads to \"%1\"").arg(name);
        if (!button->isEnabled()) {
            const QString buttonText = button->text().remove(QLatin1Char('&'));
            const QLabel *error = modal->findChild<QLabel *>(QStringLiteral("label_error"));
            const QString why = error && error->isVisible() ? plainText(error->text()) : QString();
            return why.isEmpty() ? tr("%1 is disabled in the tip calibration dialog").arg(buttonText)
                                 : tr("%1 is disabled in the tip calibration dialog: %2").arg(buttonText, why);
        }
    }
    if (atEntry && pressReturned)
        return tr("the tip calibration ended without showing \"%1\"; the message log may say why").arg(name);
    return calibrationDeadEnd();
}

// The calibration's screens come in one order: progress, between two steps
// the countdown, then the result or the error box.
QString ScreenNavigator::calibrationDeadEnd() const
{
    const bool result = visibleWindow(ResultDialog) != nullptr;
    const QMessageBox *box = qobject_cast<QMessageBox *>(visibleWindow(ErrorBox));
    switch (shownScreen) {
    case Screen::Progress:
        if (result || box)
            return tr("the calibration ended before its progress showed");
        break;
    case Screen::Countdown:
        if (result || box)
            return tr("the calibration ended without a countdown: one shows only between the steps of a two-step "
                      "calibration (--simulate cal_steps=2)");
        break;
    case Screen::Result:
        if (box)
            return tr("the calibration failed: %1").arg(plainText(box->text()));
        break;
    case Screen::Error:
        if (result)
            return tr("the calibration succeeded, so there is no error to show (make it fail with --simulate "
                      "\"cal_fail=<text>\")");
        break;
    default: break;
    }
    return QString();
}

QAbstractButton *ScreenNavigator::entryButton(QWidget *dialog) const
{
    const QString name
        = shownScreen == Screen::Help ? QStringLiteral("pushButton_help") : QStringLiteral("pushButton_calibrate");
    return dialog->findChild<QAbstractButton *>(name);
}

void ScreenNavigator::driveEntryDialog(QWidget *modal)
{
    const char *dialog = dialogClass(shownScreen);
    if (pressed || !modal || !dialog || qstrcmp(targetClass(shownScreen), dialog) == 0 || !modal->inherits(dialog))
        return;
    QAbstractButton *button = entryButton(modal);
    if (!button || !button->isEnabled())
        return;
    pressed = true;
    // Queued: the button runs the next modal loop, which must not run inside this slot.
    const QPointer<ScreenNavigator> self(this);
    QTimer::singleShot(0, button, [self, button]() {
        button->click();
        if (self)
            self->pressReturned = true;
    });
}

bool ScreenNavigator::showDevicePage(QWidget *settings) const
{
    QTabWidget *pages = settings->findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QWidget *page = settings->findChild<QWidget *>(QStringLiteral("tab_availableMt"));
    const int index = pages && page ? pages->indexOf(page) : -1;
    if (index < 0 || !pages->isTabEnabled(index))
        return false;
    pages->setCurrentIndex(index);
    return true;
}

QString ScreenNavigator::visibleState()
{
    QStringList windows;
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (const QWidget *widget : topLevels) {
        if (!widget->isVisible())
            continue;
        QStringList parts{QLatin1String(widget->metaObject()->className())};
        const QList<QProgressBar *> bars = widget->findChildren<QProgressBar *>();
        for (const QProgressBar *bar : bars)
            parts << QString::number(bar->value());
        const QList<QLCDNumber *> numbers = widget->findChildren<QLCDNumber *>();
        for (const QLCDNumber *number : numbers)
            parts << QString::number(number->intValue());
        windows << parts.join(QLatin1Char(' '));
    }
    // The application lists its windows in no fixed order.
    windows.sort();
    return windows.join(QLatin1Char('|'));
}
