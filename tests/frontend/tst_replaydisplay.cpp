// Five seconds of the front-end's embedded controller recorded with --record,
// replayed by the standalone simulated controller over TCP and UDP into a
// fresh front-end with the plug-in: at sampled moments the display shows the
// tools of one recorded line, later ones as time goes on.
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
// A position as a table row shows it: x, y, z (the angles are checked with the CSV export's).
using Pose = QVector<double>;

// The positions of the two tools of a tool line; an untracked tool has none.
QVector<Pose> posesOf(const QByteArray &line)
{
    QVector<Pose> poses(2);
    const QList<QByteArray> blocks = line.mid(line.indexOf('[') + 1).split('[');
    for (int first = 0; first + 2 < blocks.size(); first += 3) {
        const auto numbers = [&](int block) {
            QVector<double> values;
            for (const QByteArray &word : blocks.at(first + block).split(']').constFirst().split(' '))
                values << word.toDouble();
            return values;
        };
        const QVector<double> head = numbers(0), p = numbers(1);
        const int id = int(head.value(0));
        if (head.value(1) != -1.0 && id >= 0 && id < poses.size() && p.size() == 3)
            poses[id] = p;
    }
    return poses;
}

// What the tool table shows of each row with a green (tracked) state cell; others empty.
QVector<Pose> shown(QTableWidget *table)
{
    QVector<Pose> rows(table->rowCount());
    for (int row = 0; row < rows.size(); ++row) {
        const QTableWidgetItem *state = table->item(row, 0);
        if (!state || state->background().color() != Qt::green)
            continue;
        for (int column = 12; column < 15; ++column) { // x, y, z
            const QTableWidgetItem *cell = table->item(row, column);
            rows[row] << (cell ? cell->text().replace(QLatin1Char(','), QLatin1Char('.')).toDouble() : qQNaN());
        }
    }
    return rows;
}

// The first recorded line from `from` on whose poses every tracked row shows, to the two decimals shown; -1 for none.
int findShown(const QVector<Pose> &rows, const QVector<QVector<Pose>> &recorded, int from)
{
    const auto matches = [&rows](const QVector<Pose> &poses) {
        for (int row = 0; row < rows.size(); ++row) {
            for (int i = 0; i < rows.at(row).size(); ++i) {
                if (!(std::fabs(rows.at(row).at(i) - poses.value(row).value(i, qQNaN())) <= 0.0051))
                    return false;
            }
        }
        return rows.size() == poses.size();
    };
    for (int k = qMax(0, from); k < recorded.size(); ++k) {
        if (matches(recorded.at(k)))
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
    const Run recorded = runProgram(MT_FRONTEND,
                                    {"--record", path, "--start", "--simulate", "tip_calibrated=2 yes", "--simulate",
                                     "reference_calibrated=2 yes", "--simulate", "rate=50", "--screenshot",
                                     dir.filePath(QStringLiteral("shot.png")), "--delay", QString::number(RecordMs)},
                                    offscreen(), Timeout);
    QVERIFY2(recorded.finished && recorded.status == 0, qPrintable(recorded.output));
    QVector<QVector<Pose>> tools;
    for (const QByteArray &record : fileText(path).split('\n')) {
        const QByteArray line = record.mid(record.indexOf(' ', record.indexOf(' ', 2) + 1) + 1);
        if (record.startsWith("D ") && line.startsWith("6dmt "))
            tools << posesOf(line);
    }

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
    QVERIFY(toolTable);

    window.startMeasurement();
    // Sampled every 300 ms until the controller says the data stops.
    int tool = -1, samples = 0;
    const QDeadlineTimer deadline(Timeout);
    while (!output.contains("the data stops") && !deadline.hasExpired()) {
        QTest::qWait(300);
        output += controller.readAllStandardOutput();
        const QVector<Pose> toolRows = shown(toolTable);
        if (toolRows.isEmpty())
            continue;
        ++samples;
        // Untracked rows match any line: a display showing none does not move on.
        const int toolLine = findShown(toolRows, tools, tool);
        QVERIFY2(toolLine >= 0,
                 qPrintable(QStringLiteral("sample %1: tools not as recorded after line %2").arg(samples).arg(tool)));
        tool = toolLine;
    }
    QVERIFY2(output.contains("the data stops"), output.constData());
    // Followed through the recording, not stuck at its start.
    QVERIFY2(samples >= 10 && tool > tools.size() / 2,
             qPrintable(QStringLiteral("%1 samples, at line %2 of %3").arg(samples).arg(tool).arg(tools.size())));

    window.releaseModules();
    end(&controller);
}

QTEST_MAIN(TestReplayDisplay)
#include "tst_replaydisplay.moc"
