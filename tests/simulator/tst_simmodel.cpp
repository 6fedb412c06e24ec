// The simulated controller's replies (gates, values, lock, tracking, faults, refusals, bad input) and its
// data output as the outputs are switched. Its calibrations are driven through the front-end's screens.
#include <QtTest>

#include "simulator/simmodel.h"

namespace {

// Plays a transcript: "get <name> = <value>" expects "orvel2 set <name> <value>"; "<command> = <reply>"
// expects "orvel2 <reply>" to "orvel2 <command>", or "<dropped>" for no answer at all; a bare "<command>"
// expects "orvel2 ok". Returns the first mismatch.
QByteArray play(SimModel &model, const QByteArrayList &steps)
{
    for (const QByteArray &step : steps) {
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

} // namespace

class TestSimModel : public QObject
{
    Q_OBJECT

private slots:
    void transcripts_data()
    {
        QTest::addColumn<QByteArrayList>("steps");
        const QByteArray unknown = " = err 1 unknown parameter", notNow = " = err 3 not allowed now",
                         bad = " = err 2 bad value";
        // Parameters newer than the backend are unknown to it, as to an older controller; patch -1 is the first
        // build of a version.
        QTest::newRow("version gates") << QByteArrayList{
            "simulate backend_version 1 12 99", "get measurementtool tip_radius b01" + unknown,
            "simulate backend_version 1 13 -1", "get measurementtool tip_radius b01 = 1.500",
            "simulate backend_version 1 13 5",  "get measurementtool device b01" + unknown,
            "simulate backend_version 1 14 -1", "get measurementtool device b01 = kinwave simco mt4b 42"};
        const QByteArray parameters[][4] = {
            // name, value of b01 (none: not per body), a valid value, an invalid one
            {"reference_of_tool", "b01", "none", "x02"},
            {"device", "kinwave simco mt4b 42", "kinwave radix mt4b 123456", "other radix mt4b 1"},
            {"tip_radius", "1.500", "1.250", "1,5"},
            {"measurement_start_simulation", "no", "yes", "Yes"},
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
            "tracking stop", "get status active = none",
            // Failing parameters match whole words.
            "simulate fail_param measurementtool number_of_tools",
            "get measurementtool number_of_tools = err 6 injected fault", "get measurementtool max_number_of_tools = 4",
            "simulate fail_param none",
            // A dropped command gets no answer and is not executed.
            "simulate drop_next 1", "tracking start = <dropped>", "get status active = none"};

        // What a controller refuses, with the error it gives; the refused command changes nothing.
        const QByteArray malformed = " = err 4 malformed command";
        QTest::newRow("negative versions, extra words") << QByteArrayList{
            "simulate backend_version -1 -2 -3" + bad, "simulate backend_version 1 -1 0" + bad,
            "simulate product_version -3 2 0" + bad, "get system backend_version = 1 14 0",
            "get system product_version = 3 2 0",
            // A reset with a word too many resets nothing.
            "simulate locked yes", "simulate reset extra" + malformed, "get config is_changeable = no",
            "simulate reset", "tracking start now" + malformed, "get status active = none",
            "tracking stop now" + malformed, "tracking" + malformed, "tracking run = err 1 unknown parameter",
            // Patch -1 is the first build of a version, as the gates count; below it there is none.
            "simulate backend_version 1 13 -2" + bad, "simulate backend_version 0 0 -1",
            "get system backend_version = 0 0 -1"};
        QTest::newRow("tip radius above its maximum, minus zero") << QByteArrayList{
            "set measurementtool tip_radius b01 20.0000000001" + bad,
            "set measurementtool tip_radius b01 -1e-300" + bad, "get measurementtool tip_radius b01 = 1.500",
            "set measurementtool tip_radius b01 20", "get measurementtool tip_radius b01 = 20.000",
            // Minus zero is zero.
            "set measurementtool tip_radius b01 -0", "get measurementtool tip_radius b01 = 0.000",
            "set measurementtool tip_radius b02 -0.000", "get measurementtool tip_radius b02 = 0.000"};
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
        const QByteArray mismatch = play(model, steps);
        QVERIFY2(mismatch.isEmpty(), mismatch.constData());
    }

    void badInput()
    {
        SimModel model;
        const QByteArray malformed = "orvel2 err 4 malformed command";
        QCOMPARE(model.respond(QByteArray("orvel2 get status\0 active", 25)).reply, malformed);
        QCOMPARE(model.respond("orvel2 get" + QByteArray(" w").repeated(30)).reply, malformed);
        QCOMPARE(model.respond("orvel2 get status active" + QByteArray(1001, ' ')).reply,
                 QByteArray("orvel2 err 5 line too long"));
        QCOMPARE(model.respond("orvel2 set status active meas").reply, QByteArray("orvel2 err 8 read-only parameter"));
        // Exactly at the limit is still read; runs of blanks separate words.
        QCOMPARE(model.respond("orvel2  get\tstatus active" + QByteArray(SimModel::MaxLineLength - 25, ' ')).reply,
                 QByteArray("orvel2 set status active none"));
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
            QCOMPARE(model.respond("orvel2 " + command).reply, QByteArray("orvel2 ok"));
            QByteArray seen = command + ':';
            for (const QByteArray &line : model.nextFrame())
                seen += " <" + line.left(line.indexOf(' ')) + '>';
            QCOMPARE(seen, step);
        }
    }
};

QTEST_GUILESS_MAIN(TestSimModel)
#include "tst_simmodel.moc"
