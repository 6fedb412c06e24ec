// The built front-end as an operator starts it, offscreen: a screenshot
// ends within a bounded time, with the reason when its screen cannot come;
// a wrong or refused value ends it with status 2 and the usage line;
// --show without --screenshot opens the screen and leaves it open.
#include <QImage>
#include <QLibraryInfo>
#include <QtTest>

namespace {

constexpr int BoundMs = 15000;

QProcessEnvironment environment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // English unless a test asks for German, in UTF-8.
    env.insert("LC_ALL", "C.UTF-8");
    env.remove("LANGUAGE");
    return env;
}

struct Run
{
    bool finished = false;
    int status = -1;
    qint64 ms = 0;
    QString output;
};

Run run(const QStringList &arguments, int limitMs = 30000)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(MT_FRONTEND, arguments);
    Run result;
    result.finished = process.waitForFinished(limitMs);
    result.ms = clock.elapsed();
    if (!result.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

// "@" stands for the test's scratch folder.
QStringList inFolder(QStringList arguments, const QString &folder)
{
    for (QString &argument : arguments)
        argument.replace('@', folder);
    return arguments;
}

} // namespace

class TestFrontendCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void unreachableScreen_data();
    void unreachableScreen();
    void reachableScreen_data();
    void reachableScreen();
    void usageError_data();
    void usageError();
    void showWithoutScreenshot_data();
    void showWithoutScreenshot();
    void german();

private:
    QTemporaryDir scratch;
};

void TestFrontendCli::initTestCase()
{
    QVERIFY(scratch.isValid());
    QFile empty(scratch.filePath("empty.so"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
}

void TestFrontendCli::unreachableScreen_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::newRow("countdown of a one-step calibration")
        << QStringList{"--show", "countdown"}
        << "the calibration ended without a countdown: one shows only between the steps of a two-step calibration";
    QTest::newRow("error of a calibration that succeeds")
        << QStringList{"--show", "error"} << "the calibration succeeded, so there is no error to show";
    QTest::newRow("error on an old backend")
        << QStringList{"--show", "error", "--backend-version", "1.2.0"}
        << "Calibrate is disabled in the tip calibration dialog: Measurement Tool is not available!";
    QTest::newRow("result without tracking")
        << QStringList{"--show", "result", "--simulate", "tracking_available=no"}
        << "Calibrate is disabled in the tip calibration dialog: Tracking is not available!";
    QTest::newRow("settings in observer mode")
        << QStringList{"--show", "settings", "--observer"}
        << "the module offers no dialog for \"settings\" here: no module is loaded, it runs in observer mode";
}

void TestFrontendCli::unreachableScreen()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    const QString file = scratch.filePath("unreachable.png");
    const Run result = run(arguments + QStringList{"--screenshot", file});
    QVERIFY2(result.finished, qPrintable(result.output));
    QVERIFY2(result.ms < BoundMs, qPrintable(QString::number(result.ms)));
    QCOMPARE(result.status, 1);
    QVERIFY2(result.output.contains("\nScreenshot failed: " + reason), qPrintable(result.output));
    QVERIFY(!QFile::exists(file));
}

void TestFrontendCli::reachableScreen_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("countdown of a two-step calibration")
        << QStringList{"--show", "countdown", "--simulate", "cal_steps=2"};
    QTest::newRow("error of a failing calibration") << QStringList{"--show", "error", "--simulate", "cal_fail=Moved"};
    QTest::newRow("radio devices") << QStringList{"--show", "devices"};
}

void TestFrontendCli::reachableScreen()
{
    QFETCH(QStringList, arguments);
    const QString file = scratch.filePath("reachable.png");
    QFile::remove(file);
    const Run result = run(arguments + QStringList{"--screenshot", file, "--delay", "0"});
    QVERIFY2(result.finished, qPrintable(result.output));
    QCOMPARE(result.status, 0);
    QVERIFY2(result.output.contains("Saved " + file), qPrintable(result.output));
    QVERIFY(!QImage(file).isNull());
}

void TestFrontendCli::usageError_data()
{
    const QString offscreen = QLibraryInfo::location(QLibraryInfo::PluginsPath) + "/platforms/libqoffscreen.so";
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "Unknown option 'bogus'.";
    QTest::newRow("bad value") << QStringList{"--timeout", "0"} << "--timeout wants milliseconds above 0";
    QTest::newRow("IPv6 without its closing bracket")
        << QStringList{"--controller", "[::1:5433"} << "--controller wants host:port, not \"[::1:5433\"";
    QTest::newRow("refused rate") << QStringList{"--simulate", "rate=0"}
                                  << "the controller refuses the simulation setting \"rate 0\": orvel2 err ";
    QTest::newRow("refused product") << QStringList{"--product", QString(80, 'A')}
                                     << "the controller refuses the simulation setting \"product_name AAAA";
    QTest::newRow("refused version") << QStringList{"--backend-version", "1.-2.0"}
                                     << "the controller refuses the simulation setting \"backend_version 1 -2 0\"";
    QTest::newRow("plug-in, a folder") << QStringList{"--plugin", "@"}
                                       << "--plugin: @ is a folder, not a module library";
    QTest::newRow("plug-in, an empty file")
        << QStringList{"--plugin", "@/empty.so"} << "--plugin: @/empty.so is empty, not a module library";
    QTest::newRow("plug-in, another library")
        << QStringList{"--plugin", offscreen} << "--plugin: " + offscreen + " is a plug-in for ";
}

void TestFrontendCli::usageError()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const QString file = scratch.filePath("refused.png");
    const Run result = run(inFolder(arguments, scratch.path()) + QStringList{"--screenshot", file});
    QVERIFY2(result.finished, qPrintable(result.output));
    QVERIFY2(result.ms < BoundMs, qPrintable(QString::number(result.ms)));
    QCOMPARE(result.status, 2);
    const QString expected = "orvel-frontend: " + error.replace('@', scratch.path());
    QVERIFY2(result.output.contains(expected), qPrintable(result.output));
    QVERIFY2(result.output.endsWith("\nUsage: orvel-frontend [options]\n"), qPrintable(result.output));
    QVERIFY(!QFile::exists(file));
}

void TestFrontendCli::showWithoutScreenshot_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("line");
    QTest::newRow("help") << QStringList{"--show", "help"} << "Showing help, as --show asks";
    QTest::newRow("radio devices") << QStringList{"--show", "devices"} << "Showing devices, as --show asks";
    QTest::newRow("settings in observer mode")
        << QStringList{"--show", "settings", "--observer"}
        << "Cannot show settings: the module offers no dialog for \"settings\" here";
}

void TestFrontendCli::showWithoutScreenshot()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, line);
    QProcess process;
    process.setProcessEnvironment(environment());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(MT_FRONTEND, arguments);
    QString output;
    QElapsedTimer clock;
    clock.start();
    while (!output.contains(line) && clock.elapsed() < BoundMs && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(200);
        output += QString::fromUtf8(process.readAll());
    }
    // The screen stays: the program still runs.
    QTest::qWait(300);
    const bool running = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished(5000);
    QVERIFY2(output.contains(line), qPrintable(output));
    QVERIFY(running);
}

void TestFrontendCli::german()
{
    const Run help = run({"--language", "de", "--help"});
    QCOMPARE(help.status, 0);
    QVERIFY2(help.output.startsWith("Aufruf: orvel-frontend [Optionen]\n"), qPrintable(help.output));
    QVERIFY2(help.output.contains("(Standard 5000)"), qPrintable(help.output));

    const Run wrong = run({"--language", "de", "--timeout", "0"});
    QCOMPARE(wrong.status, 2);
    QVERIFY2(wrong.output.endsWith("orvel-frontend: --timeout erwartet Millisekunden über 0\n"
                                   "Aufruf: orvel-frontend [Optionen]\n"),
             qPrintable(wrong.output));
}

QTEST_GUILESS_MAIN(TestFrontendCli)
#include "tst_frontendcli.moc"
