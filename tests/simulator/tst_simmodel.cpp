// The simulated controller's replies: gates, values, radio, lock, calibration, bad input, faults.
#include <QtTest>

#include "simulator/simcontroller.h"
#include "simulator/simerror.h"
#include "simulator/simmodel.h"

namespace {

// The value of "orvel2 get <name>", or the whole reply when it is not a "set".
QByteArray value(SimModel &model, const QByteArray &name)
{
    const QByteArray reply = model.respond("orvel2 get " + name).reply;
    const QByteArray prefix = "orvel2 set " + name + ' ';
    return reply.startsWith(prefix) ? reply.mid(prefix.size()) : reply;
}

// 0 for "orvel2 ok", the error number of an error reply, -1 for anything else.
int run(SimModel &model, const QByteArray &line)
{
    const QByteArray reply = model.respond(line).reply;
    if (reply == "orvel2 ok")
        return 0;
    return reply.startsWith("orvel2 err ") ? reply.mid(11).split(' ').value(0).toInt() : -1;
}

} // namespace

class TestSimModel : public QObject
{
    Q_OBJECT

private slots:
    void versionsAndGates();
    void countsAndPerBodyValues();
    void radioDevices();
    void lockAndTracking();
    void oneStepCalibration();
    void twoStepCalibrationPauses();
    void badInputGetsAnErrorReply();
    void faultInjection();
};

void TestSimModel::versionsAndGates()
{
    SimModel model;
    QCOMPARE(run(model, "orvel2 simulate backend_version 1 9"), int(SimError::BadValue));
    // Parameters newer than the backend are unknown to it, as to an older controller.
    const struct { int minor; int patch; QByteArray name; bool known; } gates[] = {
        {2, 9, "measurementtool available", false}, {3, -1, "measurementtool available", true},
        {3, 0, "cal step_duration measurementtool s01", false}, {4, -1, "cal step_duration measurementtool s01", true},
        {12, 99, "measurementtool tip_radius b01", false}, {13, -1, "measurementtool tip_radius b01", true},
        {13, 5, "measurementtool device b01", false}, {14, -1, "measurementtool device b01", true},
    };
    for (const auto &g : gates) {
        model.setBackendVersion(1, g.minor, g.patch);
        QVERIFY2((run(model, "orvel2 get " + g.name) != int(SimError::UnknownParameter)) == g.known, g.name.constData());
    }
}

void TestSimModel::countsAndPerBodyValues()
{
    SimModel model; // capacity 6, 2 tools, 2 references
    QCOMPARE(value(model, "measurementtool max_number_of_tools"), QByteArray("4"));
    QCOMPARE(run(model, "orvel2 set measurementtool number_of_tools 4"), 0);
    QCOMPARE(value(model, "measurementtool max_number_of_references"), QByteArray("2"));
    QCOMPARE(run(model, "orvel2 set measurementtool number_of_tools 1"), 0);
    QCOMPARE(run(model, "orvel2 get measurementtool reference_of_tool b02"), int(SimError::NoSuchItem));
    QCOMPARE(run(model, "orvel2 set measurementtool number_of_tools 2"), 0);

    const QByteArray parameters[][4] = {
        // name, value of b01, a valid value, an invalid one
        {"reference_of_tool", "b01", "none", "x02"},
        {"device", "kinwave simco mt4b 42", "kinwave radix mt4b 123456", "other radix mt4b 1"},
        {"tip_radius", "1.500", "1.250", "1,5"},
        {"measurement_duration", "1.000", "2.500", "10.5"},
        {"measurement_tip_tolerance", "1.500", "0.100", "0.0"},
        {"measurement_start_simulation", "no", "yes", "Yes"},
        {"measurement_start_angle", "40.000", "120.000", "9.9"},
        {"measurement_start_lead_time", "0.200", "1.000", "1.1"},
        {"output_6dmt", "yes", "no", "false"},
    };
    for (const auto &p : parameters) {
        const bool perBody = p[0] != "output_6dmt";
        const QByteArray name = "measurementtool " + p[0] + (perBody ? " b02" : "");
        QCOMPARE(run(model, "orvel2 set " + name + ' ' + p[2]), 0);
        QCOMPARE(value(model, name), p[2]);
        QCOMPARE(run(model, "orvel2 set " + name + ' ' + p[3]), int(SimError::BadValue));
        QCOMPARE(value(model, name), p[2]);
        if (perBody)
            QCOMPARE(value(model, "measurementtool " + p[0] + " b01"), p[1]);
    }
}

void TestSimModel::radioDevices()
{
    SimModel model;
    model.setManualClock(true);
    model.advanceClock(5000); // the fourth device comes into range, and leaves again
    QCOMPARE(value(model, "measurementtool kinwave_device d04"), QByteArray("radix mt4b 123456"));
    model.advanceClock(5000);
    QCOMPARE(value(model, "measurementtool number_of_kinwave_devices"), QByteArray("3"));
    QCOMPARE(run(model, "orvel2 simulate radio_churn 0"), 0);
    // Every device in range has a model description.
    for (int d = 1; d <= 4; ++d) {
        const QList<QByteArray> device = value(model, "measurementtool kinwave_device d0" + QByteArray::number(d)).split(' ');
        const QByteArray desc = value(model, "kinwave device_model_desc " + device.at(0) + ' ' + device.at(1));
        QVERIFY2(desc.startsWith('"') && desc.endsWith('"') && desc.size() > 2, desc.constData());
    }
    QCOMPARE(run(model, "orvel2 simulate fail_param kinwave device_model_desc simco mtx"), 0);
    QCOMPARE(run(model, "orvel2 get kinwave device_model_desc simco mtx"), int(SimError::InjectedFault));
}

void TestSimModel::lockAndTracking()
{
    SimModel model;
    model.setLocked(true);
    QCOMPARE(value(model, "config is_changeable"), QByteArray("no"));
    QCOMPARE(run(model, "orvel2 set measurementtool number_of_tools 1"), int(SimError::NotAllowed));
    QCOMPARE(run(model, "orvel2 set output active chmon 6dmt yes"), 0); // outputs are not configuration
    QCOMPARE(run(model, "orvel2 cal measurementtool start"), int(SimError::NotAllowed));
    model.setLocked(false);
    QCOMPARE(run(model, "orvel2 simulate tracking_available no"), 0);
    QCOMPARE(run(model, "orvel2 tracking start"), int(SimError::NotAllowed));
}

void TestSimModel::oneStepCalibration()
{
    SimModel model;
    model.setManualClock(true);
    QCOMPARE(value(model, "cal number_of_steps measurementtool"), QByteArray("1"));
    QCOMPARE(run(model, "orvel2 simulate cal_pause1 2"), 0);
    QCOMPARE(value(model, "cal step_pause measurementtool s01"), QByteArray("yes 2"));
    QCOMPARE(run(model, "orvel2 cal measurementtool start"), 0);
    // One step: the announced pause is the operator's, the run starts at once.
    QCOMPARE(value(model, "status step_active"), QByteArray("cal 1"));
    model.advanceClock(1000);
    QCOMPARE(value(model, "status progress"), QByteArray("0.250"));
    QCOMPARE(value(model, "status step_progress"), QByteArray("1 0.250"));
    model.advanceClock(3000); // calculating
    QCOMPARE(value(model, "status active"), QByteArray("cal"));
    QCOMPARE(value(model, "status progress"), QByteArray("1.000"));
    model.advanceClock(500);
    QCOMPARE(value(model, "status active"), QByteArray("none"));
    // Tool 2 is the calibrated tool without a calibrated tip.
    QCOMPARE(value(model, "measurementtool calibration_body_id"), QByteArray("b02"));
    QCOMPARE(value(model, "measurementtool calibration_tip_residual"), QByteArray("0.1234"));
    QCOMPARE(run(model, "orvel2 measurementtool accept_new_calibration"), 0);
    QCOMPARE(value(model, "measurementtool tip_calibrated b02"), QByteArray("yes"));
    QCOMPARE(run(model, "orvel2 measurementtool accept_new_calibration"), int(SimError::NotAllowed));

    // A failing run ends in "err" with the quoted text, until tracking starts.
    QCOMPARE(run(model, "orvel2 simulate cal_fail \"Tool tip moved too much\""), 0);
    QCOMPARE(run(model, "orvel2 cal measurementtool start"), 0);
    model.advanceClock(10000);
    QCOMPARE(value(model, "status active"), QByteArray("err"));
    QCOMPARE(value(model, "status err"), QByteArray("12 \"Tool tip moved too much\""));
    QCOMPARE(run(model, "orvel2 measurementtool accept_new_calibration"), int(SimError::NotAllowed));
    QCOMPARE(run(model, "orvel2 tracking start"), 0);
    QCOMPARE(value(model, "status err"), QByteArray("0 \"\""));
    QCOMPARE(run(model, "orvel2 tracking stop"), 0);
}

void TestSimModel::twoStepCalibrationPauses()
{
    SimModel model;
    model.setManualClock(true);
    QCOMPARE(run(model, "orvel2 simulate cal_steps 2"), 0);
    QCOMPARE(run(model, "orvel2 simulate cal_pause1 2"), 0);
    QCOMPARE(run(model, "orvel2 simulate cal_pause2 3"), 0);
    QCOMPARE(value(model, "cal step_pause measurementtool s02"), QByteArray("yes 3"));
    QCOMPARE(run(model, "orvel2 cal measurementtool start"), 0);
    model.advanceClock(1999);
    QCOMPARE(value(model, "status step_active"), QByteArray("pause 1"));
    model.advanceClock(1 + 4000); // pause 1 over, step 1 done
    QCOMPARE(value(model, "status step_active"), QByteArray("pause 2"));
    QCOMPARE(run(model, "orvel2 cal measurementtool start_step s02"), 0);
    QCOMPARE(value(model, "status step_active"), QByteArray("cal 2"));
    model.advanceClock(4500);
    QCOMPARE(value(model, "status active"), QByteArray("none"));
    // Left alone, both pauses end by themselves.
    QCOMPARE(run(model, "orvel2 cal measurementtool start"), 0);
    model.advanceClock(2000 + 4000 + 3000 + 1000);
    QCOMPARE(value(model, "status step_progress"), QByteArray("2 0.250"));
}

void TestSimModel::badInputGetsAnErrorReply()
{
    SimModel model;
    const struct { QByteArray line; int error; } cases[] = {
        {"", SimError::Malformed},
        {"ORVEL2 get status active", SimError::Malformed},
        {QByteArray("orvel2 get status\0 active", 25), SimError::Malformed},
        {"orvel2 set status active meas", SimError::ReadOnly},
        {"orvel2 simulate warp_speed 9", SimError::UnknownParameter},
        {"orvel2 get" + QByteArray(" w").repeated(30), SimError::Malformed},
        {"orvel2 get status active" + QByteArray(1001, ' '), SimError::LineTooLong},
    };
    for (const auto &c : cases)
        QVERIFY2(run(model, c.line) == c.error, c.line.left(60).constData());
    // Exactly at the limit is still read; runs of blanks separate words.
    QCOMPARE(model.respond("orvel2  get\tstatus active" + QByteArray(SimModel::MaxLineLength - 25, ' ')).reply,
             QByteArray("orvel2 set status active none"));

    // Random input: always exactly one well-formed, bounded reply.
    const QList<QByteArray> words = QByteArray(
        "orvel2 get set simulate measurementtool number_of_tools reference_of_tool device kinwave device_model_desc "
        "cal start stop start_step status active output chmon 6dmt tracking b01 b00 b999 s02 d01 yes none 1.5 "
        "-2147483649 1e308 nan cal_steps clock_advance reset accept_new_calibration \"quoted\"").split(' ');
    model.setManualClock(true);
    QRandomGenerator random(42);
    const QRegularExpression valid(QStringLiteral("^orvel2 (ok|set \\S.*|err [1-9][0-9]* \\S.*)$"));
    for (int i = 0; i < 20000; ++i) {
        QByteArray line = i % 3 ? "orvel2 " : "";
        for (int w = random.bounded(9); w > 0; --w) {
            QByteArray word = words.at(random.bounded(words.size()));
            if (random.bounded(10) == 0)
                word = QByteArray(random.bounded(1, 8), char(random.bounded(256)));
            line += word + ' ';
        }
        const SimResponse response = model.respond(line.trimmed());
        QVERIFY2(response.dropped || valid.match(QString::fromLatin1(response.reply)).hasMatch(), response.reply.constData());
        QVERIFY(response.reply.size() < 200);
        model.advanceClock(random.bounded(300));
        model.nextFrame();
    }
}

void TestSimModel::faultInjection()
{
    SimModel model;
    QCOMPARE(run(model, "orvel2 simulate fail_param measurementtool number_of_tools"), 0);
    QCOMPARE(run(model, "orvel2 get measurementtool number_of_tools"), int(SimError::InjectedFault));
    QCOMPARE(run(model, "orvel2 get measurementtool max_number_of_tools"), -1); // whole words only
    QCOMPARE(run(model, "orvel2 simulate fail_param none"), 0);
    QCOMPARE(value(model, "measurementtool number_of_tools"), QByteArray("2"));


    QCOMPARE(run(model, "orvel2 simulate fail_rate 1"), 0); // simulate itself never fails
    QCOMPARE(run(model, "orvel2 get status active"), int(SimError::InjectedFault));
    QCOMPARE(run(model, "orvel2 simulate fail_rate 0"), 0);
    QCOMPARE(run(model, "orvel2 simulate reply_delay 250"), 0);
    QCOMPARE(model.respond("orvel2 get status active").delayMs, 250);
    QCOMPARE(run(model, "orvel2 simulate reply_delay 0"), 0);

    // A dropped command gets no answer and is not executed.
    SimController controller;
    QCOMPARE(controller.execute("orvel2 simulate drop_next 1"), QByteArray("orvel2 ok"));
    QVERIFY(controller.execute("orvel2 tracking start").isEmpty());
    QCOMPARE(controller.execute("orvel2 get status active"), QByteArray("orvel2 set status active none"));
}

QTEST_GUILESS_MAIN(TestSimModel)
#include "tst_simmodel.moc"
