// Replay by the simulated controller: a recording at its pace and ten times
// faster, a raw capture at the controller's rate, the controller set up as
// the recording says, and recordings that are corrupted (refused by the
// program with the line and exit status 2) or cut off at the end (the cut
// line skipped).
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "simulator/simcontroller.h"
#include "simulator/simmodel.h"
#include "simulator/simrecording.h"
#include "simulator/simreplay.h"

namespace {

const int Timeout = 20000;
const QByteArray Header = "# orvel-recording 1\n# frontend 1.0.0\n# product BRIXEL 3 3.1.7\n# backend 1.13.2\n"
                          "# started 2024-05-06T07:08:09Z\n";

// Frames of the simulated controller itself, stepMs apart, as the front-end records them.
QByteArray simulatedRecording(int frames, int stepMs)
{
    SimModel model;
    model.setManualClock(true);
    model.respond("orvel2 set output active chmon 6dmt yes");
    model.respond("orvel2 set output active chmon 6dmtr yes");
    model.respond("orvel2 tracking start");
    QByteArray text = Header;
    for (int frame = 0; frame < frames; ++frame) {
        const QList<QByteArray> lines = model.nextFrame();
        for (const QByteArray &line : lines)
            text += "D " + QByteArray::number(frame * stepMs) + ' ' + line.left(line.indexOf(' ')) + ' ' + line + '\n';
        model.advanceClock(stepMs);
    }
    return text;
}

// The text as the one file of the test run's scratch directory.
QString writeFile(const QByteArray &text)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("recording.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return QString();
    return path;
}

// The data lines of a recording's D records.
QList<QByteArray> dataLines(const QByteArray &recording)
{
    QList<QByteArray> lines;
    for (const QByteArray &record : recording.split('\n')) {
        if (record.startsWith("D "))
            lines << record.mid(record.indexOf(' ', record.indexOf(' ', 2) + 1) + 1);
    }
    return lines;
}

struct Played
{
    QList<QByteArray> lines;
    qint64 firstMs = -1;
    qint64 lastMs = -1;
    bool ended = false;
};

// The recording replayed by a controller on this thread with both tool outputs on.
Played play(const QString &path, double speed)
{
    Played played;
    auto recording = std::make_unique<SimRecording>();
    if (!recording->open(path))
        return played;
    SimController controller;
    controller.model().startReplay(std::make_unique<SimReplay>(std::move(recording), speed, false));
    QElapsedTimer clock;
    QObject::connect(&controller, &SimController::dataLine, [&](const QByteArray &line) {
        played.firstMs = played.lines.isEmpty() ? clock.elapsed() : played.firstMs;
        played.lastMs = clock.elapsed();
        played.lines << line;
    });
    QObject::connect(&controller, &SimController::replayEvent,
                     [&](int event) { played.ended = played.ended || event == SimReplay::Ended; });
    clock.start();
    controller.execute("orvel2 set output active chmon 6dmt yes");
    controller.execute("orvel2 set output active chmon 6dmtr yes");
    controller.execute("orvel2 tracking start");
    played.ended = QTest::qWaitFor([&]() { return played.ended; }, Timeout);
    return played;
}

QByteArray get(SimModel &model, const QByteArray &name)
{
    const QByteArray reply = model.respond("orvel2 get " + name).reply;
    return reply.mid(reply.lastIndexOf(' ') + 1);
}

} // namespace

class TestSimReplay : public QObject
{
    Q_OBJECT

private slots:
    void atSpeedOneAndTen()
    {
        const QByteArray recording = simulatedRecording(76, 20); // 1.5 s
        const QString path = writeFile(recording);
        QVERIFY(!path.isEmpty());
        const Played normal = play(path, 1.0);
        const Played fast = play(path, 10.0);
        QVERIFY(normal.ended && fast.ended);
        // Every line as recorded, in order, at either speed.
        QCOMPARE(normal.lines, dataLines(recording));
        QCOMPARE(fast.lines, normal.lines);
        const double ratio
            = double(fast.lastMs - fast.firstMs) / double(qMax<qint64>(1, normal.lastMs - normal.firstMs));
        qInfo("speed 1: %lld ms, speed 10: %lld ms", normal.lastMs - normal.firstMs, fast.lastMs - fast.firstMs);
        QVERIFY2(ratio > 1.0 / 20 && ratio < 1.0 / 5, qPrintable(QString::number(ratio)));
    }

    void setupFromRecording_data()
    {
        QTest::addColumn<QByteArray>("records");
        QTest::addColumn<QByteArray>("setUp"); // tools, references, older format, tool 2's tip calibrated
        const auto tool = [](int id, const char *quality) {
            return '[' + QByteArray::number(id) + ' ' + quality + " 4 1.000][1 2 3][1 0 0 0 1 0 0 0 1][0][0 0 0 0 0 0]";
        };
        QTest::newRow("headers") << QByteArray("# tools 4\n# references 3\nD 0 fr fr 1\n") << QByteArray("4 3 yes no");
        QTest::newRow("replies, escaped") << QByteArray(
            "C 0 2 0 orvel2 get measurementtool number_of_tools\torvel2 set measurementtool number_of_tools 3\n"
            "C 3 1 0 orvel2 set measurementtool number_of_references\\x203\torvel2 ok\n"
            "C 4 1 0 orvel2 get measurementtool tip_calibrated b02\torvel2 set measurementtool "
            "tip_calibrated b02 yes\n") << QByteArray("3 3 yes yes");
        QTest::newRow("data lines") << "D 0 6dmt2 6dmt2 3 3 " + tool(0, "0.500") + tool(1, "-1.000") + tool(2, "0.700")
                + "\nD 5 6dmtr 6dmtr 1 0\n"
                                    << QByteArray("3 1 no no");
    }

    void setupFromRecording()
    {
        QFETCH(QByteArray, records);
        auto recording = std::make_unique<SimRecording>();
        QVERIFY2(recording->open(writeFile(Header + records)), qPrintable(recording->errorText()));
        SimModel model;
        const QList<QByteArray> refused
            = model.startReplay(std::make_unique<SimReplay>(std::move(recording), 1.0, false));
        QVERIFY2(refused.isEmpty(), refused.join('\n').constData());
        QByteArrayList setUp;
        for (const char *name : {"number_of_tools", "number_of_references", "output_6dmt", "tip_calibrated b02"})
            setUp << get(model, QByteArray("measurementtool ") + name);
        QTEST(setUp.join(' '), "setUp");
        QCOMPARE(model.respond("orvel2 get system product_version").reply,
                 QByteArray("orvel2 set system product_version 3 1 7"));
    }

    void outputsEndAndLoop()
    {
        const QString path = writeFile(Header + "D 0 fr fr 1\nD 0 6dmt 6dmt 0\nD 0 6dmtr 6dmtr 0 0\nD 100 fr fr 2\n");
        for (const bool loop : {false, true}) {
            auto recording = std::make_unique<SimRecording>();
            QVERIFY(recording->open(path));
            SimModel model;
            model.setManualClock(true);
            model.startReplay(std::make_unique<SimReplay>(std::move(recording), 2.0, loop));
            SimReplay::Report report;
            model.respond("orvel2 set output active chmon 6dmt yes");
            QVERIFY(model.nextReplayLines(&report).isEmpty()); // not tracking
            model.respond("orvel2 tracking start");
            QCOMPARE(model.nextReplayLines(&report), (QList<QByteArray>{"fr 1", "6dmt 0"}));
            model.advanceClock(49);
            QVERIFY(model.nextReplayLines(&report).isEmpty());
            model.advanceClock(1); // 100 ms of the recording at speed 2, its end
            QCOMPARE(model.nextReplayLines(&report), QList<QByteArray>{"fr 2"});
            QCOMPARE(report.event, loop ? SimReplay::StartedOver : SimReplay::Ended);
            model.advanceClock(50); // the usual step after the last, a pass later
            report = SimReplay::Report();
            const QList<QByteArray> after = model.nextReplayLines(&report);
            const QList<QByteArray> expected = loop ? QList<QByteArray>{"fr 1", "6dmt 0"} : QList<QByteArray>();
            QCOMPARE(after, expected);
            QCOMPARE(report.event, SimReplay::NoEvent);
            if (!loop) { // a new start plays it again
                model.respond("orvel2 tracking stop");
                model.nextReplayLines(&report);
                model.respond("orvel2 tracking start");
                QCOMPARE(model.nextReplayLines(&report), (QList<QByteArray>{"fr 1", "6dmt 0"}));
                QCOMPARE(report.event, SimReplay::Rewound);
            }
        }
    }

    void rawCaptureAtRate_data()
    {
        QTest::addColumn<QByteArray>("capture");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("linesPerFrame");
        QByteArray framed, unframed;
        for (int i = 0; i < 10; ++i) {
            framed += "fr " + QByteArray::number(i) + "\nts " + QByteArray::number(i) + ".000\n6dmt 0\n";
            unframed += "6dmt 0\r\n6dmtr 0 0\r\n";
        }
        QTest::newRow("frames begun by fr, 50 Hz") << framed << 50 << 3;
        QTest::newRow("frames by a type again, 200 Hz, CRLF") << unframed << 200 << 2;
    }

    void rawCaptureAtRate()
    {
        QFETCH(QByteArray, capture);
        QFETCH(int, rate);
        QFETCH(int, linesPerFrame);
        auto recording = std::make_unique<SimRecording>();
        QVERIFY2(recording->open(writeFile(capture)), qPrintable(recording->errorText()));
        QVERIFY(recording->isRaw());
        QCOMPARE(recording->dataLines(), qint64(10 * linesPerFrame));
        SimModel model;
        model.setManualClock(true);
        model.setDataRate(rate);
        model.startReplay(std::make_unique<SimReplay>(std::move(recording), 1.0, false));
        model.respond("orvel2 set output active chmon 6dmt yes");
        model.respond("orvel2 set output active chmon 6dmtr yes");
        model.respond("orvel2 tracking start");
        SimReplay::Report report;
        QList<QByteArray> lines = model.nextReplayLines(&report);
        QCOMPARE(lines.size(), linesPerFrame);
        // Frame k at k / rate seconds: four more frames a millisecond before four periods have passed, then five.
        model.advanceClock(4 * 1000 / rate - 1);
        QCOMPARE(model.nextReplayLines(&report).size(), 3 * linesPerFrame);
        model.advanceClock(1);
        QCOMPARE(model.nextReplayLines(&report).size(), linesPerFrame);
        QCOMPARE(capture.startsWith("fr ") ? lines.constFirst() : lines.constLast(),
                 capture.startsWith("fr ") ? QByteArray("fr 0") : QByteArray("6dmtr 0 0"));
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
        row("time not a number", Header + d + "D 1,5 fr fr 2\n" + d,
            "7: the time \"1,5\" is no number of milliseconds");
        row("unknown record", Header + "X 1 2 3\n" + d, "6: not a record");
        row("command without reply", Header + "C 1 2 0 orvel2 get status active\n" + d, "6: a command record is");
        row("other format", "# orvel-recording 2\n" + d, "1: not a recording of format 1");
        row("bad count header", Header + "# tools many\n" + d, "6: \"# tools\" wants a number");
        row("control character", Header + "D 10 fr fr\x01 1\n" + d, "6: a control character");
        row("line too long", Header + "D 10 fr fr " + QByteArray(70000, '1') + '\n' + d,
            "6: a line longer than 65536 bytes");
        row("raw capture, not a data line", "fr 1\n6dmt 0\nhello\nfr 2\n", "3: not a data line");
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

    void truncatedRecording_data()
    {
        QTest::addColumn<QByteArray>("last");
        QTest::newRow("no line end") << QByteArray("D 30 6dmt 6dmt 1 [0 1.000 0][1 2");
        QTest::newRow("record cut short") << QByteArray("D 30 6dm\n");
    }

    void truncatedRecording()
    {
        QFETCH(QByteArray, last);
        const QByteArray whole = Header + "D 10 fr fr 1\nD 20 fr fr 2\n";
        SimRecording recording;
        QVERIFY2(recording.open(writeFile(whole + last)), qPrintable(recording.errorText()));
        QCOMPARE(recording.skippedLine(), qint64(8));
        QCOMPARE(recording.dataLines(), qint64(2));
        SimRecording::Record record;
        QList<QByteArray> lines;
        while (recording.next(&record))
            lines << record.line;
        QVERIFY(!recording.failed());
        QCOMPARE(lines, dataLines(whole));
    }
};

QTEST_GUILESS_MAIN(TestSimReplay)
#include "tst_simreplay.moc"
