// The standalone server's command line: addresses and versions as the front-end writes them, every wrong
// value a usage error (exit 2, the usage line), every option's default in the help.
#include <QProcess>
#include <QtTest>

#include "simulator/optionvalue.h"
#include "simulator/simmodel.h"
#include "simulator/simserveroptions.h"

namespace {

const int Timeout = 10000;

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The server program with these arguments, stopped when it has started listening.
Run runServer(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(MT_CONTROLLER_SIM), arguments + QStringList{"--quit-on-eof"});
    Run run;
    if (!process.waitForStarted(Timeout))
        return run;
    // Ends at once with a usage error; otherwise prints its address and runs until its input closes.
    (void)process.waitForReadyRead(Timeout);
    process.closeWriteChannel();
    if (!process.waitForFinished(Timeout))
        process.kill();
    process.waitForFinished(Timeout);
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class TestSimServerOptions : public QObject
{
    Q_OBJECT

private slots:
    void hostPort_data();
    void hostPort();
    void values_data();
    void values();
    void wrongValues_data();
    void wrongValues();
    void everyDefaultInHelp();
    void program_data();
    void program();
};

void TestSimServerOptions::hostPort_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("leastPort");
    QTest::addColumn<QString>("host"); // empty: refused
    QTest::addColumn<int>("port");
    QTest::newRow("host name") << "localhost:5432" << 1 << "localhost" << 5432;
    QTest::newRow("IPv4") << "127.0.0.1:0" << 0 << "127.0.0.1" << 0;
    QTest::newRow("IPv6 in brackets") << "[::1]:5433" << 1 << "::1" << 5433;
    QTest::newRow("IPv6, port after the last colon") << "::1:65535" << 1 << "::1" << 65535;
    QTest::newRow("port below the least") << "ctl:0" << 1 << "" << 0;
    QTest::newRow("port too high") << "ctl:65536" << 1 << "" << 0;
    QTest::newRow("port with a sign") << "ctl:+5" << 1 << "" << 0;
    QTest::newRow("port with a blank") << "ctl: 5" << 1 << "" << 0;
    QTest::newRow("no port") << "ctl:" << 1 << "" << 0;
    QTest::newRow("no host") << ":5" << 1 << "" << 0;
    QTest::newRow("no colon") << "ctl" << 1 << "" << 0;
    QTest::newRow("brackets without port") << "[::1]" << 1 << "" << 0;
    QTest::newRow("brackets not closed") << "[::1:5" << 1 << "" << 0;
    QTest::newRow("name in brackets") << "[localhost]:5" << 1 << "" << 0;
    QTest::newRow("blank in the name") << "my host:5" << 1 << "" << 0;
}

void TestSimServerOptions::hostPort()
{
    QFETCH(QString, text);
    QFETCH(int, leastPort);
    QFETCH(QString, host);
    QFETCH(int, port);
    QString readHost;
    quint16 readPort = 0;
    QCOMPARE(OptionValue::hostPort(text, leastPort, &readHost, &readPort), !host.isEmpty());
    if (!host.isEmpty()) {
        QCOMPARE(readHost, host);
        QCOMPARE(int(readPort), port);
    }
}

void TestSimServerOptions::values_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("listen");
    QTest::addColumn<QString>("dataTo"); // empty: none
    QTest::addColumn<int>("idleSeconds");
    QTest::addColumn<QByteArray>("backendVersion");
    QTest::newRow("defaults") << QStringList() << "127.0.0.1:5025"
                              << "" << 600 << QByteArray("1 14 0");
    QTest::newRow("names and versions as the front-end writes them")
        << QStringList{"--listen", "localhost:5432",    "--data-to", "[::1]:5461", "--idle-timeout",
                       "0",        "--backend-version", "1.13.-1"}
        << "127.0.0.1:5432"
        << "::1:5461" << 0 << QByteArray("1 13 -1");
}

void TestSimServerOptions::values()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, listen);
    QFETCH(QString, dataTo);
    QFETCH(int, idleSeconds);
    QFETCH(QByteArray, backendVersion);
    SimServerOptions options;
    SimModel model;
    QVERIFY2(options.parse(QStringList{"orvel-controller-sim"} + arguments, &model), qPrintable(options.errorText));
    QCOMPARE(QStringLiteral("%1:%2").arg(options.listenAddress.toString()).arg(options.listenPort), listen);
    QCOMPARE(options.dataPort == 0 ? QString()
                                   : QStringLiteral("%1:%2").arg(options.dataAddress.toString()).arg(options.dataPort),
             dataTo);
    QCOMPARE(options.idleSeconds, idleSeconds);
    QCOMPARE(model.respond("orvel2 get system backend_version").reply,
             "orvel2 set system backend_version " + backendVersion);
}

void TestSimServerOptions::wrongValues_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "Unknown option 'bogus'.";
    QTest::newRow("missing value") << QStringList{"--rate"} << "Missing value after '--rate'.";
    QTest::newRow("positional") << QStringList{"12"} << "Unexpected argument: 12";
    QTest::newRow("listen") << QStringList{"--listen", "[::1]"} << "--listen wants host:port, not \"[::1]\"";
    QTest::newRow("data port 0") << QStringList{"--data-to", "localhost:0"}
                                 << "--data-to wants host:port, not \"localhost:0\"";
    QTest::newRow("idle time-out") << QStringList{"--idle-timeout", "86401"}
                                   << "--idle-timeout wants seconds from 0 to 86400, not \"86401\"";
    QTest::newRow("rate 0") << QStringList{"--rate", "0"} << "--rate wants n (1 to 1000), not \"0\"";
    QTest::newRow("version in words") << QStringList{"--backend-version", "1 12 0"}
                                      << "--backend-version wants major.minor.patch (each 0 to 1000, the patch "
                                         "from -1), not \"1 12 0\"";
    QTest::newRow("negative version") << QStringList{"--product-version", "-1.-2.-3"}
                                      << "--product-version wants major.minor.patch (each 0 to 1000, the patch "
                                         "from -1), not \"-1.-2.-3\"";
    QTest::newRow("product name") << QStringList{"--product-name", "BRIXEL \"3\""}
                                  << "--product-name wants text (up to 64 characters), not \"BRIXEL \"3\"\"";
    QTest::newRow("product name beyond Latin-1") << QStringList{"--product-name", QStringLiteral("BRIXEL \u2162")}
                                                 << QStringLiteral("--product-name wants text (up to 64 characters), "
                                                                   "not \"BRIXEL \u2162\"");
    QTest::newRow("a repeated option's later value")
        << QStringList{"--cal-steps", "2", "--cal-steps", "3"} << "--cal-steps wants n (1 to 2), not \"3\"";
}

void TestSimServerOptions::wrongValues()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    SimServerOptions options;
    SimModel model;
    QVERIFY(!options.parse(QStringList{"orvel-controller-sim"} + arguments, &model));
    QVERIFY(!options.exitNow);
    QCOMPARE(options.errorText, error);
    QCOMPARE(options.usageText, "Usage: " + QCoreApplication::applicationName() + " [options]\n");
}

void TestSimServerOptions::everyDefaultInHelp()
{
    SimServerOptions options;
    SimModel model;
    QVERIFY(!options.parse({"orvel-controller-sim", "--help"}, &model));
    QVERIFY(options.exitNow);
    // One entry per option: from its "-" at the start of a line to the next.
    const QStringList entries = options.outputText.section("Options:", 1).split(QRegularExpression("\\n  -"));
    QVERIFY(entries.size() > 30);
    for (const QString &entry : entries) {
        const QString text = entry.simplified();
        const bool qtOwn = text.startsWith("-help") || text.startsWith("h, --help") || text.startsWith("v, --version");
        if (text.isEmpty() || qtOwn)
            continue;
        QVERIFY2(text.contains("(default") || text.contains("; default "), qPrintable(text));
    }
    QVERIFY(options.outputText.contains("(default 127.0.0.1:5025)"));
    QVERIFY(options.outputText.contains("(default 600)"));
    QVERIFY(options.outputText.simplified().contains("--backend-version <x.y.z>"));
}

void TestSimServerOptions::program_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // in stdout or stderr
    const QString usage = "Usage: orvel-controller-sim [options]";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << usage;
    QTest::newRow("refused setting") << QStringList{"--rate", "0"} << 2 << usage;
    QTest::newRow("refused address") << QStringList{"--listen", "127.0.0.1"} << 2 << usage;
    QTest::newRow("help") << QStringList{"--help"} << 0 << "(default 600)";
    QTest::newRow("host name and dotted version")
        << QStringList{"--listen", "localhost:0", "--backend-version", "1.12.0"} << 0 << "listening on 127.0.0.1:";
}

void TestSimServerOptions::program()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    const Run run = runServer(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.out.contains(output) || run.err.contains(output), qPrintable(run.out + run.err));
    if (exitCode == 2)
        QVERIFY2(run.err.startsWith("orvel-controller-sim: "), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestSimServerOptions)
#include "tst_simserveroptions.moc"
