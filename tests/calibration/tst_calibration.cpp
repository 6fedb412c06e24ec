#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "calibration/calibrationprogressdlg.h"
#include "modaldriver.h"
#include "pluginhost.h"
#include "tests/calibration/calibrationscript.h"

namespace {

constexpr int Patience = 10000;
const QString StatusPoll = QStringLiteral("getParameter status active"), StartNow = QStringLiteral("pushButton_2"),
              Cancel = QStringLiteral("pushButton");

// Answers each countdown with the next button of the plan ("Start now" past its end,
// "" lets it run out) and each message box with OK, noting them among the calls.
std::unique_ptr<QTimer> answerModals(FakeCommandManager *fake, const QStringList &plan)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [=, countdowns = 0, current = QPointer<QWidget>()]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == current)
            return;
        current = modal;
        if (QMessageBox *box = qobject_cast<QMessageBox *>(modal)) {
            QVERIFY(box->icon() == QMessageBox::Critical && box->textFormat() == Qt::PlainText); // text, never markup
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

} // namespace

// The countdown and the generic calibration run, against a scripted controller.
class TestCalibration : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void singlePhaseRun();
    void stepChangeCountdowns();
    void runs();

private:
    CalibrationProgressDlg *make(bool pauses = false, bool remaining = true)
    {
        dialog = std::make_unique<CalibrationProgressDlg>(fake.get(), nullptr, &versions, pauses, remaining);
        return dialog.get();
    }
    int run()
    {
        // A check that fails inside a dialog leaves it open: this closes it, so the test ends.
        QTimer::singleShot(Patience, dialog.get(), [] { ModalDriver::closeAllModal(); });
        return dialog->run_calibration("tcal");
    }
    int polls() const { return fake->calls.count(StatusPoll); }

    std::unique_ptr<FakeCommandManager> fake;
    std::unique_ptr<CalibrationProgressDlg> dialog;
    BackendVersions versions;
};

// One step, no pause; tracking runs at the start, the first tick finds the calibration finished.
void TestCalibration::init()
{
    dialog.reset();
    fake = std::make_unique<FakeCommandManager>();
    versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, 4, -1);
    applyScript(fake.get(),
                {"cal type_desc tcal=\"Test\" calibration", "cal step_pause tcal s01=no", "status active=6d|none",
                 "cal step_desc tcal s01=\"Hold the tool\"", "cal step_desc tcal s02=\"Turn the tool\"",
                 "orvel2 cal tcal start=orvel2 ok", "status progress=0.5", "status step_progress=1 0.5",
                 "orvel2 get cal step_pause tcal s01=orvel2 get cal step_pause tcal s01 yes 1",
                 "orvel2 get cal step_pause tcal s02=orvel2 get cal step_pause tcal s02 yes 0",
                 "cal step_duration tcal s01=31", "orvel2 get status err=orvel2 ok \"Tip moved\" \"more\""});
}

// One step followed to the end: the start sequence, the bars, the remaining time and its gate, and
// "calculating..." once the overall progress is full in step 1. Replies no numbers, or absurd, keep the last values.
void TestCalibration::singlePhaseRun()
{
    applyScript(fake.get(), {"status active=6d|cal|cal|cal|cal|cal|cal|none", "status progress=0.5|nan|1e300|0.999|1.0",
                             "status step_progress=1 0.5|x 0.9|1|1 0.5",
                             "cal step_duration tcal s01=31|" + QString(300, QLatin1Char('9')) + "|-inf|31"});
    CalibrationProgressDlg *d = make();
    QStringList ticks; // at each signal: its values -> both bars, the info line
    connect(d, &CalibrationProgressDlg::progress_changed, [&](double overall, double step) {
        ticks << QStringLiteral("%1 %2 -> %3 %4 %5").arg(overall).arg(step).arg(d->progressBar_overall->value())
                     .arg(d->progressBar_step->value()).arg(d->label_info->text());
        d->show_custom_message(QStringLiteral("busy"));
    });
    QCOMPARE(run(), 1);
    QCOMPARE(ticks, QStringList({"0.5 0.5 -> 50 50 ", "nan 0.5 -> 50 50 busy", "1e+300 0.5 -> 50 50 busy",
                                 "0.999 0.5 -> 99 50 busy", "1 0.5 -> 100 50 busy", "1 0.5 -> 100 50 calculating..."}));
    QCOMPARE(QStringList({d->label_info->text(), d->label_remaining_time->text(), d->label_desc->text()}),
             QStringList({"calculating...", "remaining time: 15 seconds", "Test calibration"}));
    // Descriptions come while the dialog is open: they wrap rather than being cut.
    QVERIFY(d->progressBar_step->isHidden() && d->label->isHidden() && d->label_progress_step->isHidden()
            && d->label_step_desc->isHidden() && d->label_desc->wordWrap() && d->label_step_desc->wordWrap());
    QCOMPARE(fake->calls.mid(0, 7),
             QStringList({"getParameter cal type_desc tcal", "getIntParameter cal number_of_steps tcal",
                          "getParameter cal step_pause tcal s01", StatusPoll, "sendCommand orvel2 tracking stop",
                          "commandPreset 0 5000 0", "sendCommand orvel2 cal tcal start"}));
    QCOMPARE(transcript(fake->calls), QStringLiteral("tracking stop; cal tcal start"));
    const int atEnd = polls();
    QCOMPARE((QTest::qWait(300), polls()), atEnd); // none after the end

    // The remaining time is not shown below backend 1.4, nor when not asked for.
    fake->calls.clear();
    for (const bool oldBackend : {true, false}) {
        versions.backendVersion[1] = oldBackend ? 3 : 14;
        applyScript(fake.get(), {"status active=6d|cal|none", "status progress=0.5"});
        make(false, oldBackend);
        QVERIFY(run() == 1 && dialog->progressBar_overall->value() == 50); // it did poll
    }
    QVERIFY(!fake->calls.contains(QStringLiteral("getParameter cal step_duration tcal s01")));
}

// Pauses disabled, two steps: each step the controller moves on to opens one
// 5-second countdown; a cancelled one stops polling, and only Cancel ends the run.
void TestCalibration::stepChangeCountdowns()
{
    applyScript(fake.get(), {"cal number_of_steps tcal=2", "status active=6d|cal", "status progress=1.0",
                             "status step_progress=2 0.1|2 0.1|2 0.1|3 0.1", "cal step_desc tcal s03=\"Lift it\""});
    make();
    const auto answers = answerModals(fake.get(), {StartNow, Cancel});
    ModalDriver driver("CalibrationProgressDlg", [&](QWidget *) {
        QCOMPARE(dialog->label_step_desc->text(), QStringLiteral("Hold the tool"));
        QTRY_COMPARE_WITH_TIMEOUT(fake->calls.count(QStringLiteral("* countdown 5")), 2, Patience);
        const int atCancel = polls();
        QCOMPARE((QTest::qWait(300), polls()), atCancel);
        dialog->pb_cancel->click();
    }, Patience);
    QCOMPARE(run(), 0);
    QCOMPARE(transcript(fake->calls),
             QStringLiteral("tracking stop; cal tcal start; countdown 5; countdown 5; cal tcal stop"));
    QCOMPARE(QStringList({dialog->label_desc->text(), dialog->label_step_desc->text(), dialog->label_info->text()}),
             QStringList({"Test calibration is a 2 step calibration.", "Lift it", QString()})); // no "calculating..."
    QVERIFY(!dialog->progressBar_step->isHidden() && fake->calls.count("getParameter cal step_desc tcal s02") == 1);
}

// From the controller's pauses to the end of the run, as the controller sees it: "result: transcript".
void TestCalibration::runs()
{
    const QString started = QStringLiteral("tracking stop; cal tcal start");
    const QString twoPhaseRun = QStringLiteral("get cal step_pause tcal s01; get cal step_pause tcal s02; "
                                               "countdown 1; tracking stop; cal tcal start");
    const auto pause = [](const char *reply) { return QStringList{QStringLiteral("cal step_pause tcal s01=") + reply}; };
    const struct { bool twoPhase; QStringList script; QString expected; QStringList countdownButtons; } cases[] = {
        {false, pause("yes 2.9"), "1: countdown 2; " + started, {}}, {false, pause("yes 1"), "1: countdown 1; " + started, {""}},
        {false, pause("yes 0"), "1: " + started, {}}, {false, pause("no 3"), "1: " + started, {}},
        {false, pause("yes 4"), "0: countdown 4", {Cancel}},
        {false, {"status active=wait|none"}, "0: log: cannot start calibration, waiting for sync signal", {}},
        {false, {"status active=none", "orvel2 cal tcal start=orvel2 ok "}, "0: cal tcal start", {}}, // refused
        {false, {"status active=6d|err"}, "0: " + started + "; get status err; box Calibration Error: Tip moved", {}},
        {true, {"status step_active=cal 1|pause 2|none"}, // pause 2 of 0 s is 5 s
         "1: " + twoPhaseRun + "; countdown 5; cal tcal start_step s02", {}},
        {true, {"status step_active=pause 1|none"}, "1: " + twoPhaseRun + "; countdown 1", {}},
        {true, {"status step_active=pause 2"}, "0: " + twoPhaseRun + "; countdown 5", {StartNow, Cancel}},
        {true, {"orvel2 get cal step_pause tcal s02=orvel2 get cal step_pause tcal s02 no 2"}, "1: " + twoPhaseRun, {}},
        {true, {"status step_active=cal 1|err", "orvel2 get status err=err \"<b>Too few</b>\""},
         "0: " + twoPhaseRun + "; get status err; tracking start; tracking stop; box Calibration Error: <b>Too few</b>", {}}};
    for (const auto &c : cases) {
        init();
        applyScript(fake.get(), QStringList{QStringLiteral("cal number_of_steps tcal=%1").arg(c.twoPhase ? 2 : 1)} + c.script);
        make(c.twoPhase);
        const auto answers = answerModals(fake.get(), c.countdownButtons);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(QStringLiteral("%1: %2").arg(run()).arg(transcript(fake->calls)), c.expected);
        if (c.countdownButtons.contains(QString())) // a countdown of 1 s left to run out ticks in seconds
            QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
    }
}

QTEST_MAIN(TestCalibration)
#include "tst_calibration.moc"
