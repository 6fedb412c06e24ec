// Replay by the simulated controller: a recording at its pace and ten times
// faster, looped, a raw capture at the controller's rate, the controller set
// up as the recording says, and recordings that are corrupted (refused by the
// program with the line and exit status 2) or cut off at the end (the cut
// line skipped).
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "simulator/simmodel.h"
#include "simulator/simrecording.h"
#include "simulator/simreplay.h"

namespace {

const int Timeout = 20000;
const QByteArray Header = "# orvel-recording 1\n# frontend 1.0.0\n# product BRIXEL 3 3.1.7\n# backend 1.13.2\n"
                          "# started 2024-05-06T07:08:09Z\n";

// The text as the one file of the test run's scratch directory.
QString writeFile(const QByteArray &text)
{
    static QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("recording.txt")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return QString();
    return file.fileName();
}

// The model, on a manual clock, replaying the text; the recording's error, or what the model refused of it.
QString startReplay(SimModel *model, const QByteArray &text, double speed = 1.0, bool loop = false)
{
    auto recording = std::make_unique<SimRecording>();
    if (!recording->open(writeFile(text)))
        return recording->errorText();
    model->setManualClock(true);
    return model->startReplay(std::make_unique<SimReplay>(std::move(recording), speed, loop)).join('\n');
}

// The lines a replay at the speed gives, tracking with both tool outputs on, and the clock's time at its end.
QList<QByteArray> playManually(const QByteArray &text, double speed, qint64 *endMs)
{
    SimModel model;
    if (!startReplay(&model, text, speed).isEmpty())
        return {};
    for (const char *output : {"6dmt", "6dmtr"})
        model.respond(QByteArray("orvel2 set output active chmon ") + output + " yes");
    model.respond("orvel2 tracking start");
    QList<QByteArray> lines;
    SimReplay::Report report;
    for (*endMs = 0; report.event != SimReplay::Ended && *endMs < Timeout; ++*endMs) {
        lines += model.nextReplayLines(&report);
        model.advanceClock(1);
    }
    return lines;
}

} // namespace

class TestSimReplay : public QObject
{
    Q_OBJECT

private slots:
    // Every line but a cut last one, in order, at either speed; ten times faster, in a tenth of the time.
    void atSpeedOneAndTen()
    {
        QByteArray recording = Header;
        QList<QByteArray> recorded;
        for (int frame = 0; frame < 76; ++frame) { // 1.5 s at 50 Hz
            recorded << "fr " + QByteArray::number(frame) << "6dmt 0";
            recording += "D " + QByteArray::number(frame * 20) + " fr " + recorded.at(recorded.size() - 2) + '\n';
            recording += "D " + QByteArray::number(frame * 20) + " 6dmt 6dmt 0\n";
        }
        recording += "D 1520 6dmt 6dmt 1 [0 1.000 0][1 2"; // cut off, as by a crash while writing: skipped
        qint64 normalMs = 0, fastMs = 0;
        QCOMPARE(playManually(recording, 1.0, &normalMs), recorded);
        QCOMPARE(playManually(recording, 10.0, &fastMs), recorded);
        QVERIFY2(normalMs >= 1500 && qAbs(fastMs * 10 - normalMs) <= 20,
                 qPrintable(QStringLiteral("%1 ms, ten times faster %2 ms").arg(normalMs).arg(fastMs)));
    }

    // The controller set up as the front-end's recorded commands read it, escapes undone. Its lines only while
    // tracking and only the outputs switched on; looped, it starts over a pass after its end.
    void setupOutputsAndLoop()
    {
        const QByteArray records
            = "C 0 2 0 orvel2 get measurementtool number_of_tools\torvel2 set measurementtool number_of_tools 3\n"
              "C 3 1 0 orvel2 set measurementtool number_of_references\\x203\torvel2 ok\n"
              "D 0 fr fr 1\nD 0 6dmt 6dmt 0\nD 0 6dmtr 6dmtr 0 0\nD 100 fr fr 2\n";
        SimModel model;
        QCOMPARE(startReplay(&model, Header + records, 2.0, true), QString());
        QCOMPARE(model.respond("orvel2 get measurementtool number_of_tools").reply,
                 QByteArray("orvel2 set measurementtool number_of_tools 3"));
        QCOMPARE(model.respond("orvel2 get measurementtool number_of_references").reply,
                 QByteArray("orvel2 set measurementtool number_of_references 3"));
        QCOMPARE(model.respond("orvel2 get system product_version").reply,
                 QByteArray("orvel2 set system product_version 3 1 7"));
        SimReplay::Report report;
        model.respond("orvel2 set output active chmon 6dmt yes");
        QVERIFY(model.nextReplayLines(&report).isEmpty()); // not tracking
        model.respond("orvel2 tracking start");
        QCOMPARE(model.nextReplayLines(&report), (QList<QByteArray>{"fr 1", "6dmt 0"}));
        model.advanceClock(49);
        QVERIFY(model.nextReplayLines(&report).isEmpty());
        model.advanceClock(1); // 100 ms of the recording at speed 2, its end
        QCOMPARE(model.nextReplayLines(&report), QList<QByteArray>{"fr 2"});
        QCOMPARE(report.event, SimReplay::StartedOver);
        model.advanceClock(50); // the usual step after the last, a pass later
        report = SimReplay::Report();
        QCOMPARE(model.nextReplayLines(&report), (QList<QByteArray>{"fr 1", "6dmt 0"}));
        QCOMPARE(report.event, SimReplay::NoEvent);
    }

    // A capture of the data output without times: its frames, begun by "fr", at the controller's rate.
    void rawCaptureAtRate()
    {
        QByteArray capture;
        for (int i = 0; i < 10; ++i)
            capture += "fr " + QByteArray::number(i) + "\nts " + QByteArray::number(i) + ".000\n6dmt 0\n";
        SimModel model;
        model.setDataRate(50);
        QCOMPARE(startReplay(&model, capture), QString());
        model.respond("orvel2 set output active chmon 6dmt yes");
        model.respond("orvel2 tracking start");
        SimReplay::Report report;
        QCOMPARE(model.nextReplayLines(&report), (QList<QByteArray>{"fr 0", "ts 0.000", "6dmt 0"}));
        // Frame k at k / 50 seconds: three more frames a millisecond before four periods have passed, then one.
        model.advanceClock(4 * 20 - 1);
        QCOMPARE(model.nextReplayLines(&report).size(), 3 * 3);
        model.advanceClock(1);
        QCOMPARE(model.nextReplayLines(&report), (QList<QByteArray>{"fr 4", "ts 4.000", "6dmt 0"}));
    }

    void corruptedRecording_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message"); // after "<file>:"
        const QByteArray d = "D 10 fr fr 1\n";
        const auto row = [](const char *name, const QByteArray &text, const char *message) {
            QTest::newRow(name) << text << QString::fromLatin1(message);
        };
        row("time going back", Header + d + "D 20 fr fr 2\nD 15 fr fr 3\n" + d,
            "8: the time goes back from 20 to 15 ms");
        row("other format", "# orvel-recording 2\n" + d, "1: not a recording of format 1");
        row("raw capture, not a data line", "fr 1\n6dmt 0\nhello\nfr 2\n", "3: not a data line");
        row("a whole wrong last line", Header + d + "D 1,5 fr fr 2\n",
            "7: the time \"1,5\" is no number of milliseconds");
        row("nothing to replay", Header, " holds no data line to replay");
    }

    void corruptedRecording()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        const QString path = writeFile(text);
        QProcess program;
        program.start(QStringLiteral(MT_CONTROLLER_SIM), {"--replay", path, "--listen", "127.0.0.1:0"});
        QVERIFY(program.waitForFinished(Timeout));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 2);
        const QString error = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(error.contains(path + ':' + message), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestSimReplay)
#include "tst_simreplay.moc"
