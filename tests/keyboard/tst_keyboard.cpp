#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "modaldriver.h"
#include "pluginfixture.h"
#include "tests/calibration/calibrationscript.h"

namespace {

// The widget with the keyboard focus, named after the form's widget that
// owns it (a spin box's line edit, a tab widget's tab bar).
QString focusName()
{
    QWidget *focus = QApplication::focusWidget();
    while (focus && focus->objectName().startsWith(QLatin1String("qt_")))
        focus = focus->parentWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

// Presses a key on whatever has the focus, as a keyboard would; returns where the focus is after each press.
QStringList press(int times, Qt::Key key = Qt::Key_Tab, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QStringList visited;
    for (int i = 0; i < times; ++i) {
        QWidget *focus = QApplication::focusWidget();
        if (!focus)
            return visited << QStringLiteral("<none>");
        QTest::keyClick(focus, key, modifiers);
        visited << focusName();
    }
    return visited;
}
QStringList back(int times)
{
    return press(times, Qt::Key_Backtab, Qt::ShiftModifier);
}

// A window manager activates a dialog that opens, and its owner again when a nested dialog closes; the offscreen
// platform does either only now and then. Keys are typed only once the window has the focus, as a user would wait.
void enter(QWidget *window)
{
    QApplication::setActiveWindow(window);
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::focusWidget() && window->isAncestorOf(QApplication::focusWidget()), 3000);
}

// Walks the dialog's Tab order both ways from its first widget, which must have the focus on opening.
void checkTabOrder(QWidget *dialog, const QStringList &order)
{
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::focusWidget() && dialog->isAncestorOf(QApplication::focusWidget()), 3000);
    QCOMPARE(focusName(), order.first());
    QCOMPARE(press(order.size()), order.mid(1) << order.first()); // each once, in order, then the first again
    QCOMPARE(back(order.size()), QStringList(order.crbegin(), order.crend()));
}

void closeIfOpen(QWidget *dialog)
{
    if (dialog->isVisible())
        static_cast<QDialog *>(dialog)->done(-99);
}

} // namespace

// Every module dialog, opened, walked and closed by the keyboard alone.
class TestKeyboard : public QObject, private PluginFixture
{
    Q_OBJECT

    // Acts on the next modal dialog of the class once it has the focus, closes it if left open, and notes
    // its result code among the calls ("* class code").
    std::unique_ptr<ModalDriver> drive(const QByteArray &className, const ModalDriver::Action &act)
    {
        return std::make_unique<ModalDriver>(className, [this, className, act](QWidget *w) {
            connect(static_cast<QDialog *>(w), &QDialog::finished, w, [this, className](int code) {
                fake->calls << QStringLiteral("* %1 %2").arg(QLatin1String(className)).arg(code);
            });
            enter(w);
            act(w);
            closeIfOpen(w);
        });
    }

    // Opens a dialog of the module from the main window's menu by its Alt letters while act drives it.
    bool open(char menuKey, char entryKey, const QByteArray &className, const ModalDriver::Action &act)
    {
        const auto driver = drive(className, act);
        if (!menuBarReady())
            return false;
        QTest::keyClick(&mainWindow, menuKey, Qt::AltModifier);
        if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 3000))
            return false;
        QTest::keyClick(QApplication::activePopupWidget(), entryKey); // returns once the dialog has closed
        return driver->acted() && !driver->timedOut();
    }

    // The main window shown and focused, its menus holding the module's entries as a host's do.
    bool menuBarReady()
    {
        if (mainWindow.menuBar()->actions().isEmpty()) {
            QMap<QString, QMenu *> menus;
            for (MenuEntry *entry : host->module()->menuEntries()) {
                QMenu *&menu = menus[entry->menuTitle];
                if (!menu)
                    menu = mainWindow.menuBar()->addMenu(entry->menuTitle);
                menu->addAction(entry->action);
            }
        }
        mainWindow.show();
        if (!QTest::qWaitForWindowExposed(&mainWindow))
            return false;
        QApplication::setActiveWindow(&mainWindow);
        return QTest::qWaitFor([this] { return QApplication::activeWindow() == &mainWindow; }, 3000);
    }

private slots:
    // Two tools (tool 1 on MR2), three references; tracking runs; a one-step tip calibration with a pause of 9 s.
    void init()
    {
        fake = std::make_unique<FakeCommandManager>();
        applyScript(fake.get(),
                    {"measurementtool available=yes", "measurementtool max_number_of_tools=4",
                     "measurementtool max_number_of_references=4", "measurementtool number_of_tools=2",
                     "measurementtool number_of_references=3", "measurementtool reference_of_tool b01=b02",
                     "measurementtool tip_radius b01=1.0", "measurementtool measurement_start_simulation b01=yes"});
        applyScript(fake.get(),
                    {"tracking available=yes", "body calibrated measurementtool b01=yes",
                     "cal available measurementtool=yes", "status active=6d", "cal number_of_steps measurementtool=1",
                     "cal step_pause measurementtool s01=yes 9", "orvel2 cal measurementtool start=orvel2 ok",
                     "status progress=0.5", "status step_progress=1 0.5", "measurementtool calibration_body_id=b01",
                     "measurementtool calibration_tip_residual=0.25",
                     "orvel2 measurementtool accept_new_calibration=orvel2 ok"});
        loadPlugin();
    }
    void cleanup()
    {
        host.reset();
        mainWindow.menuBar()->clear();
        mainWindow.hide();
    }

    // The Tab order of the twelve widgets both ways, the tools table, the page tabs and the page's list at the
    // end of the round; Alt letters reach the counts and the tolerance; a tip diameter typed into the tools
    // table is sent by OK, which Enter presses.
    void settingsDialog()
    {
        QVERIFY(open('t', 'm', "MtSettingsDlg", [&](QWidget *d) {
            checkTabOrder(d,
                          QStringList({"spinBox_noOfMeaBodies", "spinBox_noOfRefBodies", "pushButton_select",
                                       "pushButton_deselect", "checkBox_useOldOutputFormat", "doubleSpinBox_duration",
                                       "doubleSpinBox_tipTolerance", "checkBox_startSimulation", "spinBox_startAngle",
                                       "doubleSpinBox_startLeadTime", "pushButton_ok", "pushButton_cancel",
                                       "tableWidget_meaBodies", "tabWidget", "tableWidget_refBodies"}));
            QCOMPARE(press(1, Qt::Key_T, Qt::AltModifier)
                         << press(1, Qt::Key_R, Qt::AltModifier)
                         << press(1, Qt::Key_N, Qt::AltModifier), // pressed in order: << is sequenced
                     QStringList({"doubleSpinBox_tipTolerance", "spinBox_noOfRefBodies", "spinBox_noOfMeaBodies"}));

            // The first tool's tip diameter: back round into its cell, F2, a new value, Enter, committed from the
            // queue.
            QTableWidget *tools = d->findChild<QTableWidget *>(QStringLiteral("tableWidget_meaBodies"));
            QCOMPARE(back(3), QStringList({"tableWidget_refBodies", "tabWidget", "tableWidget_meaBodies"}));
            QCOMPARE(press(1, Qt::Key_Right), QStringList{"tableWidget_meaBodies"});
            QCOMPARE(tools->currentColumn(), 1);
            QTest::keyClick(tools, Qt::Key_F2);
            QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QDoubleSpinBox *>(QApplication::focusWidget()), 3000);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2.4"));
            press(1, Qt::Key_Return);
            QTRY_COMPARE_WITH_TIMEOUT(tools->item(0, 1)->text(), QStringLiteral("2.4"), 3000);
            QVERIFY(focusName() == QStringLiteral("tableWidget_meaBodies") && d->isVisible());
            fake->calls.clear();
            press(1, Qt::Key_Return); // OK, the default button
        }));
        QCOMPARE(fake->calls.filter(QRegularExpression("^(setParameter measurementtool tip_radius|\\* )")),
                 QStringList({"setParameter measurementtool tip_radius b01 1.200", "* MtSettingsDlg 0"}));
    }

    // The tip calibration dialog and its help: both rounds of Tab, help opened with Space and closed with Escape.
    // Then Enter on Calibrate, and the countdown, the progress and the result dialogs by keys through to the
    // result accepted, and a run cancelled; the dialog left by Escape.
    void calibrationDialogs()
    {
        QVERIFY(open('t', 't', "MtCalibrationDlg", [&](QWidget *d) {
            checkTabOrder(d, {"pushButton_calibrate", "pushButton_exit", "pushButton_help"});
            QCOMPARE(back(1), QStringList{"pushButton_help"});
            const auto help = drive("MtHelpDlg", [](QWidget *h) {
                checkTabOrder(h, {"pushButton_exit"});
                press(1, Qt::Key_Escape);
            });
            press(1, Qt::Key_Space);
            QVERIFY(help->acted() && !help->timedOut());
            enter(d);
            QTRY_COMPARE_WITH_TIMEOUT(focusName(), QStringLiteral("pushButton_help"), 3000); // back where it was
            QCOMPARE(press(1), QStringList{"pushButton_calibrate"});
            // Start now by Enter, the run left to finish, the result accepted by Enter.
            const auto countdown = drive("CountdownDlg", [](QWidget *w) {
                checkTabOrder(w, {"pushButton_2", "pushButton"});
                press(1, Qt::Key_Return);
            });
            const auto progress = drive("CalibrationProgressDlg", [this](QWidget *w) {
                fake->answer("status active", "cal");
                checkTabOrder(w, {"pb_cancel"});
                fake->answer("status active", "none");
                QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 3000);
            });
            const auto result = drive("MtResultDlg", [](QWidget *w) {
                checkTabOrder(w, {"tableWidget", "pushButton_accept", "pushButton_cancel"});
                QCOMPARE(press(1), QStringList{"pushButton_accept"});
                press(1, Qt::Key_Return);
            });
            press(1, Qt::Key_Return);
            QVERIFY(countdown->acted() && progress->acted() && result->acted());
            // Start now by Space, the run cancelled by Escape.
            enter(d);
            QTRY_COMPARE_WITH_TIMEOUT(focusName(), QStringLiteral("pushButton_calibrate"), 3000);
            fake->answer("status active", "cal");
            const auto started = drive("CountdownDlg", [](QWidget *) { press(1, Qt::Key_Space); });
            const auto cancelled = drive("CalibrationProgressDlg", [](QWidget *) { press(1, Qt::Key_Escape); });
            press(1, Qt::Key_Return);
            QVERIFY(started->acted() && cancelled->acted());
            fake->answer("status active", "none");
            enter(d);
            QTRY_COMPARE_WITH_TIMEOUT(focusName(), QStringLiteral("pushButton_calibrate"), 3000);
            press(1, Qt::Key_Escape);
        }));
        QCOMPARE(
            transcript(fake->calls.filter(QRegularExpression(QStringLiteral("^(\\* |sendCommand orvel2 (cal|meas))")))),
            QStringLiteral(
                "MtHelpDlg 0; CountdownDlg 1; cal measurementtool start; CalibrationProgressDlg 1; "
                "measurementtool accept_new_calibration; MtResultDlg 0; CountdownDlg 1; cal measurementtool start; "
                "cal measurementtool stop; CalibrationProgressDlg 0; MtCalibrationDlg 0"));
    }

    // The display shown from the View menu by its Alt letters; Tab leaves its tables both ways.
    void displayTables()
    {
        QDockWidget *dock = qobject_cast<QDockWidget *>(host->module()->menuEntries().at(2)->widget);
        QVERIFY(dock);
        // Docked as the host docks it, hidden until chosen.
        mainWindow.addDockWidget(Qt::LeftDockWidgetArea, dock);
        dock->hide();
        QVERIFY(menuBarReady());
        QTest::keyClick(&mainWindow, 'v', Qt::AltModifier);
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activePopupWidget(), 3000);
        QTest::keyClick(QApplication::activePopupWidget(), 'm');
        QTRY_VERIFY_WITH_TIMEOUT(dock->isVisible(), 3000);
        enter(&mainWindow);
        // A window without a focused widget leaves the focus on its menu bar; Tab goes on from there.
        if (qobject_cast<QMenuBar *>(QApplication::focusWidget()))
            press(1);
        QCOMPARE(focusName(), QStringLiteral("tableWidget6dmt"));
        QCOMPARE(press(2) << back(2),
                 QStringList({"tableWidget6dmtref", "tableWidget6dmt", "tableWidget6dmtref", "tableWidget6dmt"}));
        mainWindow.removeDockWidget(dock);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
