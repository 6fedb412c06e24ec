// The simulated controller's data output: accepted by the parser, switched, paced on a worker thread.
#include <QtTest>
#include <vector>

#include "data/orvelparser.h"
#include "simulator/simcontroller.h"
#include "simulator/simmodel.h"

namespace {

QList<QByteArray> types(const QList<QByteArray> &lines)
{
    QList<QByteArray> result;
    for (const QByteArray &line : lines)
        result << line.left(line.indexOf(' '));
    return result;
}

void ask(SimModel &model, const QByteArray &line)
{
    QCOMPARE(model.respond(line).reply, QByteArray("orvel2 ok"));
}

} // namespace

class TestSimData : public QObject
{
    Q_OBJECT

private slots:
    void parserAcceptsEveryLine();
    void onlySwitchedOnOutputsAreSent();
    void controllerEmitsOnItsThread();
};

void TestSimData::parserAcceptsEveryLine()
{
    SimModel model;
    model.setManualClock(true);
    ask(model, "orvel2 set measurementtool number_of_tools 4");
    ask(model, "orvel2 simulate button_count 16");
    for (const char *type : {"6dmt", "6dmt2", "6dmtr"})
        ask(model, QByteArray("orvel2 set output active chmon ") + type + " yes");
    ask(model, "orvel2 tracking start");
    OrvelParser parser;
    for (int frame = 0; frame < 400; ++frame) {
        // Both tool formats in turn, with tools and references lost and back.
        ask(model, frame % 2 ? "orvel2 set measurementtool output_6dmt no" : "orvel2 set measurementtool output_6dmt yes");
        const QList<QByteArray> lines = model.nextFrame();
        QCOMPARE(types(lines), QList<QByteArray>({"fr", "ts", frame % 2 ? "6dmt2" : "6dmt", "6dmtr"}));
        parser.beginFrame();
        for (const QByteArray &line : lines) {
            std::vector<char> copy(line.constData(), line.constData() + line.size() + 1);
            char *cursor = copy.data();
            QVERIFY2(parser.parseDataLine(&cursor), line.constData());
            // The counts the line gives: tools last before the blocks, references first.
            const QList<QByteArray> words = line.left(line.indexOf('[')).simplified().split(' ');
            if (words.at(0) == "6dmt" || words.at(0) == "6dmt2")
                QCOMPARE(parser.toolCount(), words.last().toInt());
            else if (words.at(0) == "6dmtr")
                QCOMPARE(parser.toolRefCount(), words.at(1).toInt());
        }
        QCOMPARE(parser.frameCounter, uint32_t(frame + 1));
        model.advanceClock(97);
    }
}

void TestSimData::onlySwitchedOnOutputsAreSent()
{
    SimModel model;
    ask(model, "orvel2 tracking start");
    QVERIFY(model.nextFrame().isEmpty()); // no output on
    ask(model, "orvel2 set output active chmon 6dmtr yes");
    QCOMPARE(types(model.nextFrame()), QList<QByteArray>({"fr", "ts", "6dmtr"}));
    ask(model, "orvel2 set output active chmon 6dmt yes");
    QCOMPARE(types(model.nextFrame()), QList<QByteArray>({"fr", "ts", "6dmt", "6dmtr"}));
    // The newer format is due, but its output is not on.
    ask(model, "orvel2 set measurementtool output_6dmt no");
    QCOMPARE(types(model.nextFrame()), QList<QByteArray>({"fr", "ts", "6dmtr"}));
    ask(model, "orvel2 tracking stop");
    QVERIFY(model.nextFrame().isEmpty());
}

void TestSimData::controllerEmitsOnItsThread()
{
    QThread worker;
    auto *controller = new SimController;
    controller->moveToThread(&worker);
    connect(&worker, &QThread::finished, controller, &QObject::deleteLater);
    QList<QByteArray> lines;
    QObject receiver;
    connect(controller, &SimController::dataLine, &receiver, [&lines](const QByteArray &line) { lines.append(line); });
    worker.start();
    // Commands from this thread; the timer lives in the worker.
    QCOMPARE(controller->execute("orvel2 set output active chmon 6dmt yes"), QByteArray("orvel2 ok"));
    QCOMPARE(controller->execute("orvel2 tracking start"), QByteArray("orvel2 ok"));
    QTRY_VERIFY_WITH_TIMEOUT(lines.size() >= 9, 10000);
    QCOMPARE(types(lines.mid(0, 3)), QList<QByteArray>({"fr", "ts", "6dmt"}));
    QCOMPARE(controller->execute("orvel2 tracking stop"), QByteArray("orvel2 ok"));
    worker.quit();
    QVERIFY(worker.wait(10000));
}

QTEST_GUILESS_MAIN(TestSimData)
#include "tst_simdata.moc"
