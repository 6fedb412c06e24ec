#include <QtTest>
#include <QtWidgets>

#include "modaldriver.h"
#include "pluginfixture.h"
#include "tests/calibration/calibrationscript.h"

// The tip calibration road as the host opens it: the module's menu action.
class TestTipCalibration : public QObject, private PluginFixture
{
    Q_OBJECT

    static constexpr int Patience = 10000;
    const QString StatusPoll = QStringLiteral("getParameter status active");
    // The test's own notes among the calls.
    void note(const QString &text) { fake->calls << "* " + text; }

private slots:
    void cleanup() { host.reset(); }

    // Tracking stopped, tool 1 calibrated, the calibration available; one step that calibrates tool 2 on reference 3.
    void init()
    {
        fake = std::make_unique<FakeCommandManager>();
        applyScript(fake.get(),
                    {"measurementtool available=yes", "tracking available=yes", "measurementtool number_of_tools=1",
                     "body calibrated measurementtool b01=yes", "cal available measurementtool=yes",
                     "status active=none", "orvel2 cal measurementtool start=orvel2 ok", "status step_progress=1 0.5",
                     "cal step_duration measurementtool s01=31", "measurementtool calibration_body_id=b02",
                     "measurementtool reference_of_tool b02=b03", "measurementtool calibration_tip_residual=0.1234",
                     "orvel2 measurementtool accept_new_calibration=orvel2 ok"});
        mainWindow.setWindowIcon(QIcon(QStringLiteral(":/image2.png")));
        loadPlugin();
        fake->calls.clear();
    }

    void dialog_data()
    {
        QTest::addColumn<int>("minor");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("error");     // shown on opening; empty: hidden
        QTest::addColumn<QStringList>("press"); // the dialog's button, then the result dialog's
        QTest::addColumn<QString>("expected");  // the transcript from opening on
        // Opened and left with Exit.
        const auto row
            = [](const char *name, int minor, const QStringList &script, const char *error, const char *expected) {
            const QString shown = *error ? QStringLiteral("<b><font color=red>%1</font></b>").arg(error) : QString();
            QTest::newRow(name) << minor << script << shown << QStringList{"pushButton_exit"} << QString(expected);
        };
        // Opened with everything there, which starts tracking, Calibrate pressed, then the result dialog's button.
        const auto press = [](const char *name, QStringList script, const QString &expected, const char *result = "") {
            if (*result) // tracking runs, then the calibration to its end
                script << QStringLiteral("status active=none|6d|cal|none");
            QTest::newRow(name) << 14 << script << QString() << QStringList{"pushButton_calibrate", result}
                                << "tracking start; " + expected;
        };
        row("all there", 14, {}, "", "tracking start");
        row("backend 1.2", 2, {}, "Measurement Tool is not available!", "");
        row("no tracking", 14, {"tracking available=no"}, "Tracking is not available!", "");
        row("tool count failed", 14, {"measurementtool number_of_tools=!"}, "No Measurement Tool is defined!",
            "log: Error: Unable to get number of mea tools");
        // The search runs up to the controller's count, past two digits, and stops at the first calibrated tool.
        QStringList tool105{"measurementtool number_of_tools=120", "body calibrated measurementtool b105=yes",
                            "body calibrated measurementtool b106=!"};
        for (int i = 1; i < 105; ++i)
            tool105 << QStringLiteral("body calibrated measurementtool b%1=no").arg(i, 2, 10, QLatin1Char('0'));
        row("tool 105 of 120 calibrated", 14, tool105, "", "tracking start");
        row("calibration not available", 14, {"cal available measurementtool=no"},
            "Calibration Measurement Tool is not available!", "tracking start");
        row("calibration availability failed", 14, {"cal available measurementtool=!"}, "",
            "log: Error: Unable to get info calibration for Measurement Tool is available; tracking start");
        row("locked", 9, {"config is_changeable=no"}, "", "tracking start");
        row("calibration query failed, whatever its text", 14, {"body calibrated measurementtool b01=!yes"},
            "No Measurement Tool is calibrated!", "log: Error: Unable to get calibration info for Measurement Tool");

        const QString started
            = QStringLiteral("log: Measurement Tool calibration started; tracking stop; cal measurementtool start; ");
        const QString run = started + "remaining time: 15 seconds; ",
                      done = run + "log: Measurement Tool calibration finished; ";
        const QString accept = QStringLiteral("measurementtool accept_new_calibration; ");
        row("Exit while tracking", 14, {"status active=none|6d"}, "", "tracking start; tracking stop");
        press("accepted", {}, done + "M2|MR3|0.12; " + accept + "closed 0; tracking start", "pushButton_accept");
        press("no reference, cancelled",
              {"measurementtool reference_of_tool b02=none", "measurementtool calibration_tip_residual=1.5"},
              done + "M2||1.50; closed -1; tracking start", "pushButton_cancel");
        press("reference failed, acceptance refused",
              {"measurementtool reference_of_tool b02=!b03",
               "orvel2 measurementtool accept_new_calibration=orvel2 error"},
              done + "log: Error: Unable to get reference body id; M2||0.12; " + accept
                  + "log: Error: Unable to accept calibration; closed -1; tracking start",
              "pushButton_accept");
        // A controller error ends the run, tracking started again all the same, as when it stops answering.
        const QString aborted = QStringLiteral("log: Measurement Tool calibration aborted; tracking start");
        press("controller error", {"status active=none|6d|cal|err", "orvel2 get status err=err \"Tip moved\""},
              started + "get status err; box Calibration Error: Tip moved; remaining time: 15 seconds; " + aborted);
        press("controller stops answering, cancelled", {"status active=none|6d|cal|!"},
              run + "cal measurementtool stop; " + aborted);
        press("not available at the click", {"cal available measurementtool=yes|no"},
              "box Measurement Tool Calibration: Measurement Tool calibration is not available");
    }

    // What the dialog shows on opening; from its menu action through a press to tracking again, what it asks and sends.
    void dialog()
    {
        QFETCH(int, minor);
        QFETCH(QStringList, script);
        QFETCH(QString, error);
        QFETCH(QStringList, press);
        versions.backendVersion[1] = minor;
        applyScript(fake.get(), script);
        const bool locked = minor >= 9 && script.contains(QLatin1String("config is_changeable=no"));
        MenuEntry *entry = host->module()->menuEntries().at(1);
        // A check that fails inside a dialog leaves it open: this closes it, so the test ends.
        QTimer::singleShot(Patience, entry->widget, [] { ModalDriver::closeAllModal(); });
        ModalDriver driver("MtCalibrationDlg", [&](QWidget *dialog) {
            QLabel *label = dialog->findChild<QLabel *>(QStringLiteral("label_error"));
            QCOMPARE(label->isVisible() ? label->text() : QString(), error);
            QCOMPARE(dialog->findChild<QPushButton *>(QStringLiteral("pushButton_calibrate"))->isEnabled(),
                     error.isEmpty() && !locked);
            QCOMPARE(dialog->windowIcon().pixmap(48).toImage(),
                     (locked ? QIcon(QStringLiteral(":/lock.png")) : mainWindow.windowIcon()).pixmap(48).toImage());
            // Left running for three polls.
            ModalDriver progress("CalibrationProgressDlg", [&](QWidget *w) {
                const int polls = fake->calls.count(StatusPoll);
                QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible() || fake->calls.count(StatusPoll) >= polls + 3, Patience);
                note(w->findChild<QLabel *>(QStringLiteral("label_remaining_time"))->text());
                fake->answer("status active", "none"); // the run ends, cancelled if it has not
                if (w->isVisible())
                    w->findChild<QPushButton *>(QStringLiteral("pb_cancel"))->click();
            });
            // The result shown, then the dialog's result code once it closes.
            ModalDriver result("MtResultDlg", [&](QWidget *w) {
                const QTableWidget *table = w->findChild<QTableWidget *>(QStringLiteral("tableWidget"));
                note(table->item(0, 0)->text() + '|' + table->item(0, 1)->text() + '|' + table->item(0, 2)->text());
                connect(static_cast<QDialog *>(w), &QDialog::finished,
                        [this](int code) { note(QStringLiteral("closed %1").arg(code)); });
                w->findChild<QPushButton *>(press.value(1))->click();
            });
            ModalDriver box("QMessageBox", [&](QWidget *w) {
                note(QStringLiteral("box %1: %2").arg(w->windowTitle(), static_cast<QMessageBox *>(w)->text()));
                static_cast<QMessageBox *>(w)->button(QMessageBox::Ok)->click();
            });
            dialog->findChild<QPushButton *>(press[0])->click();
            if (dialog->isVisible())
                dialog->findChild<QPushButton *>(QStringLiteral("pushButton_exit"))->click();
        });
        entry->action->trigger();
        QVERIFY(driver.acted());
        QTEST(transcript(fake->calls), "expected");
        QCOMPARE(fake->calls.contains(QStringLiteral("getParameter config is_changeable")), minor >= 9);
        if (minor < 3) // nothing asked but, at Exit, whether tracking runs
            QCOMPARE(fake->calls, QStringList{StatusPoll});
        const int afterExit = fake->calls.size(); // nothing polls once the dialogs are closed
        QTest::qWait(press[0] == QLatin1String("pushButton_calibrate") ? 250 : 0);
        QCOMPARE(fake->calls.size(), afterExit);
    }
};

QTEST_MAIN(TestTipCalibration)
#include "tst_tipcalibration.moc"
