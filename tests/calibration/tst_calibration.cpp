#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "calibration/calibrationprogressdlg.h"
#include "modaldriver.h"
#include "pluginhost.h"
#include "tests/calibration/calibrationscript.h"

// The countdown and the generic calibration run, against a scripted controller.
class TestCalibration : public QObject
{
    Q_OBJECT

    static constexpr int Patience = 10000;
    const QString StatusPoll = QStringLiteral("getParameter status active"), StartNow = QStringLiteral("pushButton_2"),
                  Cancel = QStringLiteral("pushButton");

    // Answers each countdown with the next button of the plan ("Start now" past its end, "" lets it run out) and
    // each message box with OK, noting them among the calls.
    std::unique_ptr<QTimer> answerModals(const QStringList &plan)
    {
        auto timer = std::make_unique<QTimer>();
        connect(timer.get(), &QTimer::timeout, [=, countdowns = 0, current = QPointer<QWidget>()]() mutable {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == current)
                return;
            current = modal;
            if (QMessageBox *box = qobject_cast<QMessageBox *>(modal)) {
                QVERIFY(box->icon() == QMessageBox::Critical && box->textFormat() == Qt::PlainText); // never markup
                QFont titleFont = box->font();
                titleFont.setBold(true);
                const QFontMetrics title(titleFont); // the title whole beside the title bar's icon and buttons
                QVERIFY(box->width() >= title.horizontalAdvance(box->windowTitle()) + 4 * title.height());
                fake->calls << QStringLiteral("* box %1: %2").arg(box->windowTitle(), box->text());
                box->button(QMessageBox::Ok)->click();
            } else if (modal->inherits("CountdownDlg")) {
                fake->calls << QStringLiteral("* countdown %1").arg(modal->findChild<QLCDNumber *>()->intValue());
                const QString button = plan.value(countdowns++, StartNow);
                if (!button.isEmpty())
                    modal->findChild<QPushButton *>(button)->click();
            }
        });
        timer->start(10);
        return timer;
    }
    int run()
    {
        // A check that fails inside a dialog leaves it open: this closes it, so the test ends.
        QTimer::singleShot(Patience, dialog.get(), [] { ModalDriver::closeAllModal(); });
        return dialog->run_calibration("tcal");
    }

    std::unique_ptr<FakeCommandManager> fake;
    std::unique_ptr<CalibrationProgressDlg> dialog;
    BackendVersions versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, 4, -1);

private slots:
    void init()
    {
        dialog.reset();
        fake = std::make_unique<FakeCommandManager>();
        dialog = std::make_unique<CalibrationProgressDlg>(fake.get(), nullptr, &versions, false, true); // no pauses
        // One step, no pause; tracking runs at the start, the first tick finds the calibration finished.
        applyScript(fake.get(),
                    {"cal type_desc tcal=\"Test\" calibration", "cal step_pause tcal s01=no", "status active=6d|none",
                     "cal step_desc tcal s01=\"Hold the tool\"", "cal step_desc tcal s02=\"Turn the tool\"",
                     "orvel2 cal tcal start=orvel2 ok", "status progress=0.5", "status step_progress=1 0.5",
                     "orvel2 get cal step_pause tcal s01=orvel2 get cal step_pause tcal s01 yes 1",
                     "orvel2 get cal step_pause tcal s02=orvel2 get cal step_pause tcal s02 yes 0",
                     "cal step_duration tcal s01=31", "orvel2 get status err=orvel2 ok \"Tip moved\" \"more\""});
    }

    // One step to the end: the start, the bars, the remaining time, "calculating..." once the overall progress is
    // full in step 1. Replies no numbers, or absurd, keep the last values.
    void singlePhaseRun()
    {
        applyScript(fake.get(),
                    {"status active=6d|cal|cal|cal|cal|cal|cal|none", "status progress=0.5|nan|1e300|0.999|1.0",
                     "status step_progress=1 0.5|x 0.9|1|1 0.5",
                     "cal step_duration tcal s01=31|" + QString(300, QLatin1Char('9')) + "|-inf|31"});
        CalibrationProgressDlg *d = dialog.get();
        QStringList ticks; // at each signal: its values -> both bars, the info line
        connect(d, &CalibrationProgressDlg::progress_changed, [&](double overall, double step) {
            ticks << QStringLiteral("%1 %2 -> %3 %4 %5")
                         .arg(QString::number(overall), QString::number(step),
                              QString::number(d->progressBar_overall->value()),
                              QString::number(d->progressBar_step->value()), d->label_info->text());
            d->show_custom_message(QStringLiteral("busy"));
        });
        QCOMPARE(run(), 1);
        QCOMPARE(ticks,
                 QStringList({"0.5 0.5 -> 50 50 ", "nan 0.5 -> 50 50 busy", "1e+300 0.5 -> 50 50 busy",
                              "0.999 0.5 -> 99 50 busy", "1 0.5 -> 100 50 busy", "1 0.5 -> 100 50 calculating..."}));
        QCOMPARE(d->label_remaining_time->text(), QStringLiteral("remaining time: 15 seconds"));
        QCOMPARE(fake->calls.mid(0, 7),
                 QStringList({"getParameter cal type_desc tcal", "getIntParameter cal number_of_steps tcal",
                              "getParameter cal step_pause tcal s01", StatusPoll, "sendCommand orvel2 tracking stop",
                              "commandPreset 0 5000 0", "sendCommand orvel2 cal tcal start"}));
    }

    // Pauses disabled: each step the controller moves on to opens a 5 s countdown; a cancelled one stops polling.
    void stepChangeCountdowns()
    {
        applyScript(fake.get(),
                    {"cal number_of_steps tcal=2", "status active=6d|cal", "status progress=1.0",
                     "status step_progress=2 0.1|2 0.1|2 0.1|3 0.1", "cal step_desc tcal s03=\"Lift it\""});
        const auto answers = answerModals({StartNow, Cancel});
        ModalDriver driver("CalibrationProgressDlg", [&](QWidget *) {
            QCOMPARE(dialog->label_step_desc->text(), QStringLiteral("Hold the tool"));
            QTRY_COMPARE_WITH_TIMEOUT(fake->calls.count(QStringLiteral("* countdown 5")), 2, Patience);
            const int atCancel = fake->calls.count(StatusPoll);
            QTest::qWait(300);
            QCOMPARE(fake->calls.count(StatusPoll), atCancel);
            dialog->pb_cancel->click();
        });
        QCOMPARE(run(), 0);
        QCOMPARE(transcript(fake->calls),
                 QStringLiteral("tracking stop; cal tcal start; countdown 5; countdown 5; cal tcal stop"));
        QCOMPARE(dialog->label_desc->text() + " | " + dialog->label_step_desc->text() + " | "
                     + dialog->label_info->text(),
                 "Test calibration is a 2 step calibration. | Lift it | "); // no "calculating..."
        QVERIFY(!dialog->progressBar_step->isHidden() && fake->calls.count("getParameter cal step_desc tcal s02") == 1);
    }

    void pollingUnderStepCountdown_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("expected");          // the transcript after the start
        QTest::addColumn<QList<int>>("underCountdown"); // the step bar at each tick while the countdown is open
        QTest::addColumn<QString>("step");              // the step's text at the end
        QTest::newRow("finished") << QStringList{"status active=6d|cal|cal|cal|none",
                                                 "status step_progress=2 0.1|2 0.4|2 0.7"}
                                  << 1 << "countdown 5" << QList<int>{40, 70} << "Turn the tool";
        QTest::newRow("error") << QStringList{"status active=6d|cal|cal|err", "status step_progress=2 0.1|2 0.4"} << 0
                               << "countdown 5; get status err; box Calibration Error: Tip moved" << QList<int>{40}
                               << "Turn the tool";
        QTest::newRow("a further step") << QStringList{"status active=6d|cal|cal|cal|none",
                                                       "status step_progress=2 0.1|3 0.2|3 0.5",
                                                       "cal step_desc tcal s03=\"Lift it\""}
                                        << 1 << "countdown 5" << QList<int>{20, 50} << "Lift it";
    }

    // Pauses disabled, two steps: the status is polled on under the step change countdown. Those ticks move the bars,
    // end the run in the poll that reports its end (long before the 5 s) and open no second countdown.
    void pollingUnderStepCountdown()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, expected);
        QFETCH(QList<int>, underCountdown);
        applyScript(fake.get(), QStringList{"cal number_of_steps tcal=2"} + script);
        CalibrationProgressDlg *d = dialog.get();
        QElapsedTimer clock;
        qint64 lastPoll = -1;
        fake->whenAsked("status active", [&] { lastPoll = clock.elapsed(); });
        QList<int> seen;
        connect(d, &CalibrationProgressDlg::progress_changed, [&] {
            if (QApplication::activeModalWidget() && QApplication::activeModalWidget()->inherits("CountdownDlg"))
                seen << d->progressBar_step->value();
        });
        const auto answers = answerModals({QString()}); // the countdown is left to run
        clock.start();
        QTEST(run(), "result");
        const qint64 ended = clock.elapsed();
        QCOMPARE(seen, underCountdown);
        QCOMPARE(transcript(fake->calls), "tracking stop; cal tcal start; " + expected);
        QVERIFY2(ended - lastPoll < 200, qPrintable(QString::number(ended - lastPoll))); // within the poll's 200 ms
        QVERIFY2(ended < 4500, qPrintable(QString::number(ended))); // the countdown's 5 s not waited for
        QVERIFY(!QApplication::activeModalWidget());
        QTEST(d->label_step_desc->text(), "step");
        QCOMPARE(d->label_remaining_time->text(), QStringLiteral("remaining time: 27 seconds"));
    }

    // From the controller's pauses to the end of the run: "result: transcript"; "two phases..." rows in that mode.
    void runs_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("countdownButtons");
        const QString started = QStringLiteral("tracking stop; cal tcal start");
        const QString twoPhaseRun = QStringLiteral("get cal step_pause tcal s01; get cal step_pause tcal s02; "
                                                   "countdown 1; tracking stop; cal tcal start");
        const auto row =
            [](const char *name, const QStringList &script, const QString &expected, const QStringList &buttons = {}) {
            QTest::newRow(name) << script << expected << buttons;
        };
        row("pause of 2.9 s", {"cal step_pause tcal s01=yes 2.9"}, "1: countdown 2; " + started);
        row("pause of 0 s", {"cal step_pause tcal s01=yes 0"}, "1: " + started);
        row("pause seconds beyond an int: as read, bounded there", {"cal step_pause tcal s01=yes 1e300"},
            "1: countdown 2147483647; " + started);
        row("waiting for the sync signal", {"status active=wait|none"},
            "0: log: cannot start calibration, waiting for sync signal");
        row("start refused", {"status active=none", "orvel2 cal tcal start=orvel2 ok "}, "0: cal tcal start");
        row("two phases, a pause is a countdown with polling stopped", {"status step_active=pause 1|none"},
            "1: " + twoPhaseRun + "; countdown 1", {"", ""});
        row("two phases, pause 2 of 0 s is 5 s", {"status step_active=cal 1|pause 2|none"},
            "1: " + twoPhaseRun + "; countdown 5; cal tcal start_step s02");
        row("two phases, cancelled in pause 2", {"status step_active=pause 2"}, "0: " + twoPhaseRun + "; countdown 5",
            {StartNow, Cancel});
        row("two phases, step 2 without pause",
            {"orvel2 get cal step_pause tcal s02=orvel2 get cal step_pause tcal s02 no 2"}, "1: " + twoPhaseRun);
        row("two phases, error in markup",
            {"status step_active=cal 1|err", "orvel2 get status err=err \"<b>Too few</b>\""},
            "0: " + twoPhaseRun
                + "; get status err; tracking start; tracking stop; box Calibration Error: <b>Too few</b>");
    }

    void runs()
    {
        QFETCH(QStringList, script);
        QFETCH(QStringList, countdownButtons);
        const bool twoPhase = QByteArray(QTest::currentDataTag()).startsWith("two phases");
        applyScript(fake.get(),
                    QStringList{QStringLiteral("cal number_of_steps tcal=%1").arg(twoPhase ? 2 : 1)} + script);
        dialog = std::make_unique<CalibrationProgressDlg>(fake.get(), nullptr, &versions, twoPhase, true);
        const auto answers = answerModals(countdownButtons);
        QElapsedTimer clock;
        clock.start();
        QTEST(QStringLiteral("%1: %2").arg(run()).arg(transcript(fake->calls)), "expected");
        if (countdownButtons.contains(QString())) { // two countdowns of 1 s ran out: no poll under them
            QVERIFY2(clock.elapsed() >= 1800, qPrintable(QString::number(clock.elapsed())));
            QCOMPARE(fake->calls.count(QStringLiteral("getParameter status step_active")), 2);
        }
    }
};

QTEST_MAIN(TestCalibration)
#include "tst_calibration.moc"
