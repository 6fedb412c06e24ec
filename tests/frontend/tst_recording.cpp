// A session recorded and exported: every data line and command reaches the
// file in order and whole; a write error ends the recording with the file
// cut at its last whole record; the CSV holds the display's values for the
// recorded lines, in the C locale whatever the process locale.
#include <csignal>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>

#include "frontend/commandmanager.h"
#include "frontend/controllerlink.h"
#include "frontend/csvexport.h"
#include "frontend/embeddedtransport.h"
#include "frontend/recordformat.h"
#include "frontend/sessionrecorder.h"
#include "frontendtestkit.h"
#include "host/backendversions.h"

namespace {

// A tool 30 degrees about x with button 1 pressed, one not tracked; of two references the second is tracked.
// Tool 2's reference is known from the start, tool 1's only after its line.
const char Recording[] = "# orvel-recording 1\n# frontend 9\n# product P 1.2.3\n# backend 1.14.0\n"
                         "# started 2026-12-07T01:02:03.456Z\n# reference_of_tool b02 b01\n"
                         "D 5 6dmt2 6dmt2 2 2 [0 0.5 2 1.5][1.5 -2 300.25][1 0 0 0 0.866025403784 0.5 0 -0.5 "
                         "0.866025403784][2][0 0 0 0 0 1] [1 -1.000 0 0][0 0 0][1 0 0 0 1 0 0 0 1][][0 0 0 0 0 0]\n"
                         "C 6 0 0 orvel2 get measurementtool reference_of_tool b01\t"
                         "orvel2 set measurementtool reference_of_tool b01 b02\n"
                         "D 7 6dmtr 6dmtr 2 1 [1 0.25][10 20 30][0 1 0 -1 0 0 0 0 1]\n"
                         "# stopped operator\n";

const char Csv[] = "time_ms,kind,number,reference,quality,tracked,buttons,x,y,z,rx,ry,rz\n"
                   "5,tool,1,,0.500,1,2,1.500,-2.000,300.250,30.000,0.000,-0.000\n"
                   "5,tool,2,1,-1.000,0,0,,,,,,\n"
                   "7,reference,1,,-1.000,0,,,,,,,\n"
                   "7,reference,2,,0.250,1,,10.000,20.000,30.000,-0.000,0.000,90.000\n";

// Files of the process may grow no further than the limit while it stands.
struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

} // namespace

class TestRecording : public QObject
{
    Q_OBJECT

private slots:
    // Every line the link delivered while recording, in order, and every command with its reply and result.
    void roundTrip()
    {
        CommandManager manager(std::make_unique<EmbeddedTransport>());
        QVERIFY(manager.open());
        BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
        QCOMPARE(manager.readBackendVersions(&versions), 0);
        // Watches the commands from the start, as in the program: the header holds what they read.
        auto recorder = std::make_unique<SessionRecorder>(&manager, &versions);
        char reply[IOManager::ReplySize];
        QCOMPARE(manager.sendCommand(reply, "orvel2 simulate rate 500"), 0);
        QCOMPARE(manager.setParameter("output active chmon 6dmt yes"), 0);
        QCOMPARE(manager.setParameter("output active chmon 6dmtr yes"), 0);
        int tools = 0;
        QCOMPARE(manager.getIntParameter(&tools, "measurementtool number_of_tools"), 0);
        QCOMPARE(manager.getParameter(reply, "measurementtool reference_of_tool b01"), 0);

        QByteArrayList delivered;
        const QString path = scratch.filePath("round.rec");
        recorder->start(path);
        const QMetaObject::Connection delivery = connect(manager.link(), &ControllerLink::dataLine, this,
                                                         [&](const QByteArray &line) { delivered << line; });
        QCOMPARE(manager.sendCommand(reply, "orvel2 tracking start"), 0);
        QTest::qWait(800);
        QCOMPARE(manager.sendCommand(reply, "orvel2 get a\tb\x01"), 4);
        QTest::qWait(200);
        disconnect(delivery);
        recorder->stop(SessionRecorder::Stop::Operator);
        recorder.reset(); // the writer finishes the file

        const QByteArrayList lines = fileText(path).trimmed().split('\n');
        QCOMPARE(lines.mid(5, 2), (QByteArrayList{"# tools 2", "# reference_of_tool b01 b01"}));
        QCOMPARE(lines.constLast(), QByteArray("# stopped operator"));

        QByteArrayList data, commands;
        qint64 rows = 0;
        for (const QByteArray &line : lines) {
            RecordFormat::Record record;
            QString reason;
            QVERIFY2(RecordFormat::parse(line, &record, &reason), qPrintable(reason));
            // "<result> <command>\t<reply>" after "C <ms> <duration> "
            if (record.kind == RecordFormat::Record::Command)
                commands << line.mid(line.indexOf(' ', line.indexOf(' ', 2) + 1) + 1);
            if (record.kind != RecordFormat::Record::Data)
                continue;
            data << record.text;
            // "6dmt <tools> ..." and "6dmtr <references> <tracked> ...": a CSV row for each.
            if (record.type == "6dmt" || record.type == "6dmtr")
                rows += record.text.split(' ').value(1).toInt();
        }
        QVERIFY(delivered.size() > 200);
        QCOMPARE(data, delivered);
        QVERIFY(commands.contains("4 orvel2 get a\\x09b\\x01\torvel2 err 4 malformed command"));

        const QString csv = scratch.filePath("round.csv");
        QString message;
        QCOMPARE(CsvExport::run(path, csv, &message), CsvExport::Outcome::Written);
        QCOMPARE(qint64(fileText(csv).count('\n') - 1), rows); // a row a line after the header
    }

    void writeError_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("sizeLimit"); // 0: none
        QTest::newRow("full device") << "/dev/full" << 0;
        // Root writes into any folder of its own: /proc takes no new file from anyone.
        QString locked = scratch.filePath("locked");
        QDir().mkpath(locked);
        ::chmod(QFile::encodeName(locked).constData(), 0555);
        if (geteuid() == 0)
            locked = "/proc";
        QTest::newRow("folder not writable") << locked + "/x.rec" << 0;
        QTest::newRow("file size limit in a record") << scratch.filePath("limited.rec") << 20000;
    }

    void writeError()
    {
        QFETCH(QString, path);
        QFETCH(int, sizeLimit);
        std::unique_ptr<FileSizeLimit> limit(sizeLimit > 0 ? new FileSizeLimit(rlim_t(sizeLimit)) : nullptr);
        CommandManager manager(std::make_unique<EmbeddedTransport>());
        BackendVersions versions{{1, 2, 3}, {1, 14, 0}, QStringLiteral("P")};
        SessionRecorder recorder(&manager, &versions);
        QStringList told;
        connect(&recorder, &SessionRecorder::told, this, [&](const QString &text) { told << text; });
        recorder.start(path);
        const QByteArray line = "3d 40 " + QByteArray("[0 1][0 0 0]").repeated(40);
        for (int i = 0; i < 100 && recorder.state() == SessionRecorder::State::Recording; ++i) {
            recorder.recordDataLine(line);
            QTest::qWait(5);
        }
        QTRY_COMPARE_WITH_TIMEOUT(recorder.state(), SessionRecorder::State::Off, 5000);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains("cannot write " + path), qPrintable(told.first()));
        if (sizeLimit == 0)
            return;
        const QByteArray text = fileText(path);
        QVERIFY(text.size() > 1000 && text.size() <= sizeLimit && text.endsWith('\n'));
        for (const QByteArray &record : fileText(path).trimmed().split('\n')) {
            RecordFormat::Record parsed;
            QString reason;
            QVERIFY2(RecordFormat::parse(record, &parsed, &reason), qPrintable(reason));
            QVERIFY(parsed.kind != RecordFormat::Record::Data || parsed.text == line);
        }
    }

    void csvExport()
    {
        const QString recording = scratch.filePath("values.rec");
        const QString csv = scratch.filePath("values.csv");
        QVERIFY(writeFile(recording, Recording));
        QString message;
        QCOMPARE(CsvExport::run(recording, csv, &message), CsvExport::Outcome::Written);
        QCOMPARE(message, QStringLiteral("4 rows from 2 tool and reference lines written to ") + csv);
        QCOMPARE(fileText(csv), QByteArray(Csv));

        // A bad one is refused at start with the file and line, exit status 2, and no CSV left behind.
        QVERIFY(QFile::remove(csv));
        QVERIFY(writeFile(recording, "# orvel-recording 1\nD 5 6dmt 6dmt 0\nC x 0 0 a\tb\n")); // time not a number
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment(); // as a script runs it: no display at all
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        const Run run = runProgram(MT_FRONTEND, {"--export-csv", csv, recording}, env);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.output.contains(recording + ":3: "), qPrintable(run.output));
        QVERIFY(!QFile::exists(csv));
    }

    // Ctrl+C or a service manager's SIGTERM ends the program as closing the window
    // does: the recording's last record says it stopped, and no line is cut.
    void endedBySignal()
    {
        const QString path = scratch.filePath("signalled.rec");
        QProcess frontend;
        frontend.setProcessEnvironment(offscreen());
        frontend.start(MT_FRONTEND, {"--start", "--record", path});
        QVERIFY(frontend.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(fileText(path).contains("\nD "), 30000);
        ::kill(pid_t(frontend.processId()), SIGTERM);
        QVERIFY(frontend.waitForFinished(30000));
        QVERIFY(fileText(path).endsWith("\n# stopped quit\n"));
    }

private:
    QTemporaryDir scratch;
};

QTEST_MAIN(TestRecording)
#include "tst_recording.moc"
