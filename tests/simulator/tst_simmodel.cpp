// The simulated controller's replies (gates, values, radio, lock, tracking, calibration, bad and random
// input, faults) and its data output (accepted by the parser, switched, paced on a worker thread).
#include <QtTest>

#include "data/orvelparser.h"
#include "simulator/simcontroller.h"
#include "simulator/simmodel.h"

namespace {

// Plays a transcript: "+<ms>" advances the clock; "get <name> = <value>" expects "orvel2 set <name> <value>";
// "<command> = <reply>" expects "orvel2 <reply>" to "orvel2 <command>", or "<dropped>" for no answer at all;
// a bare "<command>" expects "orvel2 ok". Returns the first mismatch.
QByteArray play(SimModel &model, const QByteArrayList &steps)
{
    for (const QByteArray &step : steps) {
        if (step.startsWith('+')) {
            model.advanceClock(step.mid(1).toLongLong());
            continue;
        }
        const int split = step.indexOf(" = ");
        const QByteArray command = split < 0 ? step : step.left(split),
                         expected = split < 0 ? "ok" : step.mid(split + 3);
        const SimResponse response = model.respond("orvel2 " + command);
        QByteArray reply = response.dropped ? QByteArray("<dropped>") : response.reply.mid(7);
        if (command.startsWith("get ") && reply.startsWith("set " + command.mid(4) + ' '))
            reply = reply.mid(command.size() + 1);
        if (reply != expected)
            return step + " <- " + reply;
    }
    return {};
}

QByteArrayList types(QByteArrayList lines)
{
    for (QByteArray &line : lines)
        line = line.left(line.indexOf(' '));
    return lines;
}

} // namespace

#define PLAY(...)                                                                                                      \
    do {                                                                                                               \
        const QByteArray m = play(model, __VA_ARGS__);                                                                 \
        QVERIFY2(m.isEmpty(), m.constData());                                                                          \
    } while (false)

class TestSimModel : public QObject
{
    Q_OBJECT

private slots:
    void transcripts_data()
    {
        QTest::addColumn<QByteArrayList>("steps");
        const QByteArray unknown = " = err 1 unknown parameter", notNow = " = err 3 not allowed now",
                         injected = " = err 6 injected fault", bad = " = err 2 bad value";
        // Parameters newer than the backend are unknown to it, as to an older controller.
        QTest::newRow("version gates, radio") << QByteArrayList{
            "simulate backend_version 1 9" + bad, "simulate backend_version 1 2 9",
            "get measurementtool available" + unknown, "simulate backend_version 1 3 -1",
            "get measurementtool available = yes", "simulate backend_version 1 3 0",
            "get cal step_duration measurementtool s01" + unknown, "simulate backend_version 1 4 -1",
            "get cal step_duration measurementtool s01 = 4.000", "simulate backend_version 1 12 99",
            "get measurementtool tip_radius b01" + unknown, "simulate backend_version 1 13 -1",
            "get measurementtool tip_radius b01 = 1.500", "simulate backend_version 1 13 5",
            "get measurementtool device b01" + unknown, "simulate backend_version 1 14 -1",
            "get measurementtool device b01 = kinwave simco mt4b 42",
            // The fourth device comes into range and leaves again; every one has a model description.
            "+5000", "get measurementtool kinwave_device d04 = radix mt4b 123456", "+5000",
            "get measurementtool number_of_kinwave_devices = 3", "get measurementtool kinwave_device d04 = none",
            "get kinwave device_model_desc simco mt4b = \"Measurement Tool 4 buttons\"",
            "get kinwave device_model_desc simco mt2b = \"Measurement Tool 2 buttons\"",
            "get kinwave device_model_desc radix mt4b = \"Measurement Tool 4 buttons\"",
            "get kinwave device_model_desc simco mtx = \"Measurement Tool without buttons\"",
            "get kinwave device_model_desc simco mt9 = err 7 no such item"};
        // Capacity 6, 2 tools, 2 references: each count bounds the other's maximum.
        QTest::newRow("counts") << QByteArrayList{"get measurementtool max_number_of_tools = 4",
                                                  "set measurementtool number_of_tools 5" + bad,
                                                  "set measurementtool number_of_tools 4",
                                                  "get measurementtool max_number_of_references = 2",
                                                  "set measurementtool number_of_references 3" + bad,
                                                  "set measurementtool number_of_tools 1",
                                                  "get measurementtool reference_of_tool b02 = err 7 no such item"};
        const QByteArray parameters[][4] = {
            // name, value of b01 (none: not per body), a valid value, an invalid one
            {"reference_of_tool", "b01", "none", "x02"},
            {"device", "kinwave simco mt4b 42", "kinwave radix mt4b 123456", "other radix mt4b 1"},
            {"tip_radius", "1.500", "1.250", "1,5"},
            {"measurement_duration", "1.000", "2.500", "10.5"},
            {"measurement_tip_tolerance", "1.500", "0.100", "0.0"},
            {"measurement_start_simulation", "no", "yes", "Yes"},
            {"measurement_start_angle", "40.000", "120.000", "9.9"},
            {"measurement_start_lead_time", "0.200", "1.000", "1.1"},
            {"output_6dmt", "", "no", "false"},
        };
        for (const auto &p : parameters) {
            const QByteArray name = "measurementtool " + p[0] + (p[1].isEmpty() ? "" : " b02");
            const QByteArray get = "get " + name + " = " + p[2],
                             other = "get measurementtool " + p[0] + " b01 = " + p[1];
            QTest::newRow(p[0].constData()) << QByteArrayList{
                "set " + name + ' ' + p[2], get, "set " + name + ' ' + p[3] + bad, get, p[1].isEmpty() ? get : other};
        }
        QTest::newRow("lock, tracking, faults") << QByteArrayList{
            "simulate locked yes", "get config is_changeable = no", "set measurementtool number_of_tools 1" + notNow,
            "set output active chmon 6dmt yes", // outputs are not configuration
            "cal measurementtool start" + notNow, "simulate locked no",
            // Without the sync signal tracking waits for it; calibration is refused meanwhile.
            "simulate sync_missing yes", "tracking start", "get status active = wait",
            "cal measurementtool start" + notNow, "simulate sync_missing no", "get status active = meas",
            "tracking stop", "get status active = none", "simulate tracking_available no", "tracking start" + notNow,
            // Failing parameters match whole words; simulate itself never fails.
            "simulate fail_param measurementtool number_of_tools", "get measurementtool number_of_tools" + injected,
            "get measurementtool max_number_of_tools = 4", "simulate fail_param kinwave device_model_desc simco mtx",
            "get kinwave device_model_desc simco mtx" + injected, "simulate fail_param none",
            "get measurementtool number_of_tools = 2", "simulate fail_rate 1", "get status active" + injected,
            "simulate fail_rate 0", "simulate tracking_available yes",
            // A dropped command gets no answer and is not executed.
            "simulate drop_next 1", "tracking start = <dropped>", "get status active = none"};
        QTest::newRow("calibrations") << QByteArrayList{
            // One step: the announced pause is the operator's, the run starts at once.
            "get cal number_of_steps measurementtool = 1", "simulate cal_pause1 2",
            "get cal step_pause measurementtool s01 = yes 2", "cal measurementtool start",
            "get status step_active = cal 1", "tracking start" + notNow, "+1000", "get status progress = 0.250",
            "get status step_progress = 1 0.250", "+3000", "get status active = cal", "get status progress = 1.000",
            "+500", "get status active = none",
            // Tool 2 is the calibrated tool without a calibrated tip.
            "get measurementtool calibration_body_id = b02", "get measurementtool calibration_tip_residual = 0.1234",
            "measurementtool accept_new_calibration", "get measurementtool tip_calibrated b02 = yes",
            "measurementtool accept_new_calibration" + notNow,
            // A failing run ends in "err" with the quoted text, until tracking starts.
            "simulate cal_fail \"Tool tip moved too much\"", "cal measurementtool start", "+10000",
            "get status active = err", "get status err = 12 \"Tool tip moved too much\"",
            "measurementtool accept_new_calibration" + notNow, "tracking start", "get status err = 0 \"\"",
            "cal measurementtool start" + notNow, "tracking stop", "simulate cal_fail none",
            // Two steps: the second waits for its start, or for the end of its pause.
            "simulate cal_steps 2", "simulate cal_pause2 3", "get cal step_pause measurementtool s02 = yes 3",
            "cal measurementtool start", "+1999", "get status step_active = pause 1", "+4001",
            "get status step_active = pause 2", "get status progress = 0.500", "cal measurementtool start_step s02",
            "get status step_active = cal 2", "+4500", "get status active = none", "cal measurementtool start",
            "+10000", "get status step_progress = 2 0.250", "cal measurementtool stop", "get status active = none"};

        // What a controller refuses, with the error it gives; the refused command changes nothing.
        const QByteArray malformed = " = err 4 malformed command";
        QTest::newRow("negative versions")
            << QByteArrayList{"simulate backend_version -1 -2 -3" + bad, "simulate backend_version 1 -1 0" + bad,
                              "simulate product_version -3 2 0" + bad, "get system backend_version = 1 14 0",
                              "get system product_version = 3 2 0",
                              // Patch -1 is the first build of a version, as the gates count; below it there is none.
                              "simulate backend_version 1 13 -2" + bad, "simulate backend_version 0 0 -1",
                              "get system backend_version = 0 0 -1"};
        QTest::newRow("tip radius above its maximum")
            << QByteArrayList{"set measurementtool tip_radius b01 20.0000000001" + bad,
                              "set measurementtool tip_radius b01 -1e-300" + bad,
                              "get measurementtool tip_radius b01 = 1.500",
                              "set measurementtool tip_radius b01 20",
                              "get measurementtool tip_radius b01 = 20.000",
                              "set measurementtool measurement_duration b01 0.19999999999" + bad,
                              "set measurementtool measurement_duration b01 0.2",
                              "get measurementtool measurement_duration b01 = 0.200"};
        QTest::newRow("minus zero") << QByteArrayList{
            "set measurementtool tip_radius b01 -0", "get measurementtool tip_radius b01 = 0.000",
            "set measurementtool tip_radius b02 -0.000", "get measurementtool tip_radius b02 = 0.000"};
        QTest::newRow("extra words") << QByteArrayList{"simulate locked yes",
                                                       "simulate reset extra" + malformed,
                                                       "get config is_changeable = no",
                                                       "simulate reset",
                                                       "tracking start now" + malformed,
                                                       "get status active = none",
                                                       "tracking stop now" + malformed,
                                                       "tracking" + malformed,
                                                       "tracking run = err 1 unknown parameter"};
        const QByteArray sixteen = "a b c d e f g h i j k l m n o p";
        QByteArrayList failing{"simulate fail_param " + sixteen + " q" + bad, "simulate fail_param " + sixteen,
                               "get status active = none"};
        for (int i = 2; i <= 16; ++i)
            failing << "simulate fail_param status w" + QByteArray::number(i);
        failing << "simulate fail_param status w17" + bad << "get status w16 = err 6 injected fault";
        QTest::newRow("failing parameters: 16 words, 16 of them") << failing;
        QTest::newRow("capacity below the counts") << QByteArrayList{
            "simulate body_capacity 0", "get measurementtool number_of_tools = 0",
            "get measurementtool number_of_references = 0", "get measurementtool max_number_of_tools = 0",
            "simulate body_capacity 8", "set measurementtool number_of_tools 4",
            "set measurementtool number_of_references 4",
            // The references give way first.
            "simulate body_capacity 5", "get measurementtool number_of_tools = 4",
            "get measurementtool number_of_references = 1", "get measurementtool max_number_of_tools = 4",
            "get measurementtool max_number_of_references = 1", "simulate body_capacity 3",
            "get measurementtool number_of_tools = 3", "get measurementtool number_of_references = 0"};
    }

    void transcripts()
    {
        QFETCH(QByteArrayList, steps);
        SimModel model;
        model.setManualClock(true);
        PLAY(steps);
    }

    void badInput_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("reply");
        const auto row = [](const char *name, const QByteArray &line, const char *reply = "err 4 malformed command") {
            QTest::newRow(name) << line << "orvel2 " + QByteArray(reply);
        };
        row("empty line", QByteArray());
        row("prefix in capitals", "ORVEL2 get status active");
        row("NUL inside", QByteArray("orvel2 get status\0 active", 25));
        row("too many words", "orvel2 get" + QByteArray(" w").repeated(30));
        row("line too long", "orvel2 get status active" + QByteArray(1001, ' '), "err 5 line too long");
        row("read-only parameter", "orvel2 set status active meas", "err 8 read-only parameter");
        row("unknown setting", "orvel2 simulate warp_speed 9", "err 1 unknown setting");
        // Exactly at the limit is still read; runs of blanks separate words.
        row("at the length limit, blanks and tab",
            "orvel2  get\tstatus active" + QByteArray(SimModel::MaxLineLength - 25, ' '), "set status active none");
    }

    void badInput()
    {
        QFETCH(QByteArray, line);
        SimModel model;
        QTEST(model.respond(line).reply, "reply");
    }

    void randomInput()
    {
        SimModel model;
        // Random input: always exactly one well-formed, bounded reply.
        const QByteArrayList words
            = QByteArray("orvel2 get set simulate measurementtool number_of_tools reference_of_tool device kinwave "
                         "device_model_desc "
                         "cal start stop start_step status active output chmon 6dmt tracking b01 b00 b999 s02 d01 yes "
                         "none 1.5 "
                         "-2147483649 1e308 nan cal_steps clock_advance reset accept_new_calibration \"quoted\"")
                  .split(' ');
        model.setManualClock(true);
        QRandomGenerator random(42);
        const QRegularExpression valid(QStringLiteral("^orvel2 (ok|set \\S.*|err [1-9][0-9]* \\S.*)$"));
        for (int i = 0; i < 20000; ++i) {
            QByteArray line = i % 3 ? "orvel2 " : "";
            for (int w = random.bounded(9); w > 0; --w)
                line += (random.bounded(10) ? words.at(random.bounded(words.size()))
                                            : QByteArray(random.bounded(1, 8), char(random.bounded(256))))
                    + ' ';
            const SimResponse response = model.respond(line.trimmed());
            QVERIFY2(response.dropped || valid.match(QString::fromLatin1(response.reply)).hasMatch(),
                     response.reply.constData());
            QVERIFY(response.reply.size() < 200);
            model.advanceClock(random.bounded(300));
            model.nextFrame();
        }
    }

    void dataOutput()
    {
        // Only the outputs switched on; the tool format by the format switch, where the backend knows both.
        // Each step changes the state the next one starts from; a mismatch names its step.
        // Each step: the command, then the types of the next frame's lines.
        SimModel model;
        const QByteArrayList steps = {"tracking start:",
                                      "set output active chmon 6dmtr yes: <fr> <ts> <6dmtr>",
                                      "set output active chmon 6dmt yes: <fr> <ts> <6dmt> <6dmtr>",
                                      "set measurementtool output_6dmt no: <fr> <ts> <6dmtr>",
                                      "set output active chmon 6dmt2 yes: <fr> <ts> <6dmt2> <6dmtr>",
                                      "set output active chmon 6dmtr no: <fr> <ts> <6dmt2>",
                                      "simulate backend_version 1 12 0: <fr> <ts> <6dmt>",
                                      "tracking stop:"};
        for (const QByteArray &step : steps) {
            const QByteArray command = step.left(step.indexOf(':'));
            PLAY({command});
            QByteArray seen = command + ':';
            for (const QByteArray &type : types(model.nextFrame()))
                seen += " <" + type + '>';
            QCOMPARE(seen, step);
        }

        // Every line is accepted by the module's parser with the counts it gives, in both formats, with tools
        // and references lost and back.
        PLAY({"simulate reset", "simulate clock manual", "set measurementtool number_of_tools 4",
              "simulate button_count 16", "set output active chmon 6dmt yes", "set output active chmon 6dmt2 yes",
              "set output active chmon 6dmtr yes", "tracking start"});
        OrvelParser parser;
        for (int frame = 0; frame < 400; ++frame) {
            PLAY({frame % 2 ? "set measurementtool output_6dmt no" : "set measurementtool output_6dmt yes"});
            const QByteArrayList lines = model.nextFrame();
            QCOMPARE(types(lines), QByteArrayList({"fr", "ts", frame % 2 ? "6dmt2" : "6dmt", "6dmtr"}));
            parser.beginFrame();
            for (const QByteArray &line : lines) {
                QByteArray copy = line; // the parser may write into it
                char *cursor = copy.data();
                QVERIFY2(parser.parseDataLine(&cursor), line.constData());
                // References first, tools last before the blocks.
                const QByteArrayList words = line.left(line.indexOf('[')).simplified().split(' ');
                if (words.at(0) == "6dmtr")
                    QCOMPARE(parser.toolRefCount(), words.at(1).toInt());
                else if (words.at(0).startsWith("6dmt"))
                    QCOMPARE(parser.toolCount(), words.last().toInt());
            }
            QCOMPARE(parser.frameCounter, uint32_t(frame + 1));
            model.advanceClock(97);
        }
    }

    // Commands from this thread; the timer lives in the worker.
    void controllerEmitsOnItsThread()
    {
        QThread worker;
        auto *controller = new SimController;
        controller->moveToThread(&worker);
        connect(&worker, &QThread::finished, controller, &QObject::deleteLater);
        QByteArrayList lines;
        QObject receiver; // takes any line still queued with it when the test ends
        connect(controller, &SimController::dataLine, &receiver, [&lines](const QByteArray &line) { lines << line; });
        worker.start();
        for (const char *command : {"orvel2 set output active chmon 6dmt yes", "orvel2 tracking start"})
            QCOMPARE(controller->execute(command), QByteArray("orvel2 ok"));
        QTRY_VERIFY_WITH_TIMEOUT(lines.size() >= 9, 10000);
        QCOMPARE(types(lines.mid(0, 3)), QByteArrayList({"fr", "ts", "6dmt"}));
        worker.quit();
        QVERIFY(worker.wait(10000));
    }
};

QTEST_GUILESS_MAIN(TestSimModel)
#include "tst_simmodel.moc"
