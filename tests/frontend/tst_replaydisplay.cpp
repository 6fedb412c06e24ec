// Five seconds of the front-end's embedded controller recorded with --record,
// replayed by the standalone simulated controller over TCP and UDP into a
// fresh front-end with the plug-in: at sampled moments the display shows the
// tools and references of one recorded line, later ones as time goes on, and
// the last recorded ones once the data stops.
#include <algorithm>
#include <cmath>

#include <QDockWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/mainwindow.h"
#include "frontend/moduleloader.h"
#include "frontend/tcptransport.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "frontendtestkit.h"

namespace {

const int Timeout = 20000;
const int RecordMs = 5000;
const double Degrees = 57.29577951308232;

// The numbers a table row shows: x, y, z and the three angles.
using Pose = QVector<double>;

// Five seconds of the front-end's embedded controller with two tools moving, recorded with --record.
bool recordWithFrontEnd(const QString &path, const QString &screenshot)
{
    const Run run = runProgram(MT_FRONTEND,
                               {"--record", path, "--start", "--simulate", "tip_calibrated=2 yes", "--simulate",
                                "reference_calibrated=2 yes", "--simulate", "rate=50", "--screenshot", screenshot,
                                "--delay", QString::number(RecordMs)},
                               offscreen(), Timeout);
    return run.finished && run.status == 0;
}

// The poses of a tool or reference line as the display computes them; an untracked body has none.
QVector<Pose> posesOf(const QByteArray &line, int blocksPerBody, int bodies)
{
    QVector<Pose> poses(bodies);
    const QList<QByteArray> blocks = line.mid(line.indexOf('[') + 1).split('[');
    for (int first = 0; first + 2 < blocks.size(); first += blocksPerBody) {
        const auto numbers = [&](int block) {
            QVector<double> values;
            for (const QByteArray &word : blocks.at(first + block).split(']').constFirst().split(' '))
                values << word.toDouble();
            return values;
        };
        const QVector<double> head = numbers(0), p = numbers(1), r = numbers(2);
        const int id = int(head.value(0));
        if (head.value(1) == -1.0 || id < 0 || id >= bodies || r.size() != 9)
            continue;
        const double ry = std::asin(r[6]) * Degrees;
        const bool straight = (r[7] == 0 && r[8] == 0) || (r[3] == 0 && r[0] == 0);
        const double rz = straight ? 0.0 : -std::atan2(r[3], r[0]) * Degrees;
        const double rx = straight ? std::atan2(r[5], r[4]) * Degrees : -std::atan2(r[7], r[8]) * Degrees;
        poses[id] = Pose{p.value(0), p.value(1), p.value(2), rx, ry, rz};
    }
    return poses;
}

// What the table shows of each row with a green (tracked) state cell; others empty.
QVector<Pose> shown(QTableWidget *table, int idColumn, int firstNumber)
{
    QVector<Pose> rows(table ? table->rowCount() : 0);
    for (int row = 0; row < rows.size(); ++row) {
        const QTableWidgetItem *state = table->item(row, idColumn);
        if (!state || state->background().color() != Qt::green)
            continue;
        for (int column = firstNumber; column < firstNumber + 6; ++column) {
            const QTableWidgetItem *cell = table->item(row, column);
            rows[row] << (cell ? cell->text().replace(QLatin1Char(','), QLatin1Char('.')).toDouble() : qQNaN());
        }
    }
    return rows;
}

// Whether every tracked row shows the recorded pose of its body, to the two decimals shown.
bool matches(const QVector<Pose> &rows, const QVector<Pose> &recorded)
{
    if (rows.size() != recorded.size())
        return false;
    for (int row = 0; row < rows.size(); ++row) {
        if (rows.at(row).isEmpty())
            continue;
        if (recorded.at(row).isEmpty())
            return false;
        for (int i = 0; i < 6; ++i) {
            if (!(std::fabs(rows.at(row).at(i) - recorded.at(row).at(i)) <= 0.0051))
                return false;
        }
    }
    return true;
}

// The first recorded line from `from` on that the rows show; -1 for none.
int findShown(const QVector<Pose> &rows, const QVector<QVector<Pose>> &recorded, int from)
{
    for (int k = qMax(0, from); k < recorded.size(); ++k) {
        if (matches(rows, recorded.at(k)))
            return k;
    }
    return -1;
}

} // namespace

class TestReplayDisplay : public QObject
{
    Q_OBJECT

private slots:
    void displayShowsTheRecording();
};

void TestReplayDisplay::displayShowsTheRecording()
{
    registerHostMetaTypes();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.txt"));
    QVERIFY(recordWithFrontEnd(path, dir.filePath(QStringLiteral("shot.png"))));
    const QByteArray recording = fileText(path);
    QVector<QVector<Pose>> tools, references;
    for (const QByteArray &record : recording.split('\n')) {
        const QByteArray line = record.mid(record.indexOf(' ', record.indexOf(' ', 2) + 1) + 1);
        if (record.startsWith("D ") && line.startsWith("6dmt "))
            tools << posesOf(line, 3, 2);
        else if (record.startsWith("D ") && line.startsWith("6dmtr "))
            references << posesOf(line, 3, 2);
    }
    QVERIFY2(tools.size() > RecordMs / 20 / 2 && references.size() == tools.size(), recording.left(2000).constData());

    // The controller replays into the front-end's data port.
    auto transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), 0);
    QString error;
    QVERIFY2(transport->listenForData(0, &error), qPrintable(error));
    const quint16 dataPort = transport->dataPort();
    QProcess controller;
    QByteArray output;
    const quint16 port = startController(
        &controller, {"--replay", path, "--data-to", QStringLiteral("127.0.0.1:%1").arg(dataPort), "--quit-on-eof"}, 0,
        &output);
    QVERIFY2(port != 0, output.constData());

    transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), port);
    QVERIFY2(transport->listenForData(dataPort, &error), qPrintable(error));
    CommandManager manager(std::move(transport));
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    manager.setBackendVersions(&versions);
    QVERIFY(manager.open());
    QCOMPARE(manager.readBackendVersions(&versions), 0);
    MainWindow window(&manager, &versions);
    ModuleLoader loader;
    QVERIFY2(loader.load(QStringLiteral(MT_PLUGIN_PATH)), qPrintable(loader.errorString()));
    window.installModule(loader.modules().constFirst().root, loader.modules().constFirst().interface, true);
    window.show();
    window.moduleDock()->show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableWidget *toolTable = window.moduleDock()->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmt"));
    QTableWidget *referenceTable = window.moduleDock()->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmtref"));
    QVERIFY(toolTable && referenceTable);

    window.startMeasurement();
    // Sampled every 300 ms until the controller says the data stops.
    int tool = -1, reference = -1, samples = 0, moves = 0, tracked = 0;
    QElapsedTimer clock;
    clock.start();
    while (!output.contains("the data stops") && clock.elapsed() < Timeout) {
        QTest::qWait(300);
        output += controller.readAllStandardOutput();
        const QVector<Pose> toolRows = shown(toolTable, 0, 12);
        if (toolRows.isEmpty())
            continue;
        ++samples;
        const QVector<Pose> referenceRows = shown(referenceTable, 1, 3);
        // Both tools and both references shown as tracked: the controller took them as recorded.
        tracked += std::all_of(toolRows.begin(), toolRows.end(), [](const Pose &p) { return !p.isEmpty(); })
            && referenceRows.size() == 2 && !referenceRows.at(0).isEmpty() && !referenceRows.at(1).isEmpty();
        const int toolLine = findShown(toolRows, tools, tool);
        const int referenceLine = findShown(referenceRows, references, reference);
        QVERIFY2(toolLine >= 0,
                 qPrintable(QStringLiteral("sample %1: tools not as recorded after line %2").arg(samples).arg(tool)));
        QVERIFY2(referenceLine >= 0, qPrintable(QStringLiteral("sample %1: references not as recorded").arg(samples)));
        moves += toolLine > tool ? 1 : 0;
        tool = toolLine;
        reference = referenceLine;
    }
    QVERIFY2(output.contains("the data stops"), output.constData());
    QCOMPARE(toolTable->rowCount(), 2);
    QCOMPARE(referenceTable->rowCount(), 2);
    QVERIFY2(samples >= 10 && moves >= samples / 2 && tracked >= samples / 2,
             qPrintable(QStringLiteral("%1 samples, %2 moved, %3 tracked").arg(samples).arg(moves).arg(tracked)));
    // Once the data has stopped, the last lines recorded stay on the display.
    QTest::qWait(500);
    QVERIFY(matches(shown(toolTable, 0, 12), tools.constLast()));
    QVERIFY(matches(shown(referenceTable, 1, 3), references.constLast()));

    window.releaseModules();
    controller.closeWriteChannel();
    if (!controller.waitForFinished(Timeout))
        controller.kill();
}

QTEST_MAIN(TestReplayDisplay)
#include "tst_replaydisplay.moc"
