// Five seconds of the front-end's embedded controller recorded with --record,
// replayed by the standalone simulated controller over TCP and UDP into a
// fresh front-end with the plug-in: at sampled moments the display shows the
// tools of one recorded line, later ones as time goes on.
#include <cmath>

#include <QDockWidget>
#include <QRegularExpression>
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

// The positions of a tool line's two tools, "[id quality buttons][x y z][rotation]" each; untracked: none.
QVector<Pose> posesOf(const QByteArray &line)
{
    static const QRegularExpression tool(QStringLiteral(R"(\[(\d+) (\S+) \d+\]\[(\S+) (\S+) (\S+)\])"));
    QVector<Pose> poses(2);
    for (auto found = tool.globalMatch(QString::fromLatin1(line)); found.hasNext();) {
        const QRegularExpressionMatch block = found.next();
        const int id = block.captured(1).toInt();
        if (block.captured(2).toDouble() != -1.0 && id < poses.size())
            poses[id] = {block.captured(3).toDouble(), block.captured(4).toDouble(), block.captured(5).toDouble()};
    }
    return poses;
}

// The first recorded line from `from` on whose positions every tracked (green) row of the tool table
// shows, to the two decimals shown; -1 for none. Untracked rows match any line.
int findShown(const QTableWidget *table, const QVector<QVector<Pose>> &recorded, int from)
{
    for (int k = qMax(0, from); k < recorded.size(); ++k) {
        bool same = table->rowCount() == recorded.at(k).size();
        for (int row = 0; same && row < table->rowCount(); ++row) {
            const QTableWidgetItem *state = table->item(row, 0);
            const bool tracked = state && state->background().color() == Qt::green;
            for (int i = 0; same && tracked && i < 3; ++i) {
                const QTableWidgetItem *cell = table->item(row, 12 + i); // x, y, z
                const double shown
                    = cell ? cell->text().replace(QLatin1Char(','), QLatin1Char('.')).toDouble() : qQNaN();
                same = std::fabs(shown - recorded.at(k).at(row).value(i, qQNaN())) <= 0.0051;
            }
        }
        if (same)
            return k;
    }
    return -1;
}

} // namespace

class TestReplayDisplay : public QObject
{
    Q_OBJECT

private slots:
    void displayShowsTheRecording()
    {
        registerHostMetaTypes();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("session.txt"));
        const Run recorded
            = runProgram(MT_FRONTEND,
                         {"--record", path, "--start", "--simulate", "tip_calibrated=2 yes", "--simulate",
                          "reference_calibrated=2 yes", "--simulate", "rate=50", "--screenshot",
                          dir.filePath(QStringLiteral("shot.png")), "--delay", QString::number(RecordMs)},
                         offscreen(), Timeout);
        QVERIFY2(recorded.finished && recorded.status == 0, qPrintable(recorded.output));
        QVector<QVector<Pose>> tools;
        for (const QByteArray &record : fileText(path).split('\n')) {
            if (record.startsWith("D ") && record.split(' ').value(2) == "6dmt") // "D <ms> <type> <line>"
                tools << posesOf(record);
        }

        // The controller replays into the front-end's data port.
        auto transport = std::make_unique<TcpTransport>(QStringLiteral("127.0.0.1"), 0);
        QString error;
        QVERIFY2(transport->listenForData(0, &error), qPrintable(error));
        const quint16 dataPort = transport->dataPort();
        QProcess controller;
        QByteArray output;
        const quint16 port = startController(
            &controller, {"--replay", path, "--data-to", QStringLiteral("127.0.0.1:%1").arg(dataPort), "--quit-on-eof"},
            0, &output);
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
            if (toolTable->rowCount() == 0)
                continue;
            ++samples;
            tool = findShown(toolTable, tools, tool);
            QVERIFY2(tool >= 0, qPrintable(QStringLiteral("sample %1: tools not as recorded").arg(samples)));
        }
        QVERIFY2(output.contains("the data stops"), output.constData());
        // Followed through the recording, not stuck at its start.
        QVERIFY2(samples >= 10 && tool > tools.size() / 2, qPrintable(QStringLiteral("%1 samples").arg(samples)));

        window.releaseModules();
        end(&controller);
    }
};

QTEST_MAIN(TestReplayDisplay)
#include "tst_replaydisplay.moc"
