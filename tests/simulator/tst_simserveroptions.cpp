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
    // The front-end's options test the same reader further (IPv6, signs, brackets, blanks in the name).
    void hostPort_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("leastPort");
        QTest::addColumn<QString>("read"); // "host port"; empty: refused
        const auto row = [](const char *name, const char *text, const char *read = "", int leastPort = 1) {
            QTest::newRow(name) << text << leastPort << read;
        };
        row("host name", "localhost:5432", "localhost 5432");
        row("IPv4", "127.0.0.1:0", "127.0.0.1 0", 0);
        row("port too high", "ctl:65536");
        row("port with a blank", "ctl: 5");
        row("no port", "ctl:");
        row("brackets without port", "[::1]");
    }

    void hostPort()
    {
        QFETCH(QString, text);
        QFETCH(int, leastPort);
        QString host;
        quint16 port = 0;
        const bool ok = OptionValue::hostPort(text, leastPort, &host, &port);
        QTEST(ok ? QStringLiteral("%1 %2").arg(host).arg(port) : QString(), "read");
    }

    void values_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("read"); // listen address, data target ("-": none), idle seconds, backend version
        QTest::newRow("defaults") << QStringList() << "127.0.0.1:5025, -, 600, 1 14 0";
        QTest::newRow("names and versions as the front-end writes them")
            << QStringList{"--listen", "localhost:5432",    "--data-to", "[::1]:5461", "--idle-timeout",
                           "0",        "--backend-version", "1.13.-1"}
            << "127.0.0.1:5432, ::1:5461, 0, 1 13 -1";
    }

    void values()
    {
        QFETCH(QStringList, arguments);
        SimServerOptions options;
        SimModel model;
        QVERIFY2(options.parse(QStringList{"orvel-controller-sim"} + arguments, &model), qPrintable(options.errorText));
        const QString dataTo = QStringLiteral("%1:%2").arg(options.dataAddress.toString()).arg(options.dataPort);
        QTEST(QStringLiteral("%1:%2, %3, %4, %5")
                  .arg(options.listenAddress.toString())
                  .arg(options.listenPort)
                  .arg(options.dataPort == 0 ? QStringLiteral("-") : dataTo)
                  .arg(options.idleSeconds)
                  .arg(QString::fromLatin1(model.respond("orvel2 get system backend_version").reply.mid(34))),
              "read");
    }

    void wrongValues_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *name, const QStringList &arguments, const QString &error) {
            QTest::newRow(name) << arguments << error;
        };
        const QString triple = "wants major.minor.patch (each 0 to 1000, the patch from -1), not ";
        const QString text = "--product-name wants text (up to 64 characters), not ";
        row("unknown option", {"--bogus"}, "Unknown option 'bogus'.");
        row("missing value", {"--rate"}, "Missing value after '--rate'.");
        row("positional", {"12"}, "Unexpected argument: 12");
        row("listen", {"--listen", "[::1]"}, "--listen wants host:port, not \"[::1]\"");
        row("data port 0", {"--data-to", "localhost:0"}, "--data-to wants host:port, not \"localhost:0\"");
        row("idle time-out", {"--idle-timeout", "86401"},
            "--idle-timeout wants seconds from 0 to 86400, not \"86401\"");
        row("version in words", {"--backend-version", "1 12 0"}, "--backend-version " + triple + "\"1 12 0\"");
        row("negative version", {"--product-version", "-1.-2.-3"}, "--product-version " + triple + "\"-1.-2.-3\"");
        row("product name", {"--product-name", "BRIXEL \"3\""}, text + "\"BRIXEL \"3\"\"");
        row("product name beyond Latin-1", {"--product-name", QStringLiteral("BRIXEL \u2162")},
            text + QStringLiteral("\"BRIXEL \u2162\""));
        row("a repeated option's later value", {"--cal-steps", "2", "--cal-steps", "3"},
            "--cal-steps wants n (1 to 2), not \"3\"");
    }

    void wrongValues()
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

    void everyDefaultInHelp()
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
            const bool qtOwn
                = text.startsWith("-help") || text.startsWith("h, --help") || text.startsWith("v, --version");
            if (text.isEmpty() || qtOwn)
                continue;
            QVERIFY2(text.contains("(default") || text.contains("; default "), qPrintable(text));
        }
        QVERIFY(options.outputText.contains("(default 127.0.0.1:5025)") && options.outputText.contains("(default 600)")
                && options.outputText.simplified().contains("--backend-version <x.y.z>"));
    }

    void program_data()
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

    void program()
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
};

QTEST_GUILESS_MAIN(TestSimServerOptions)
#include "tst_simserveroptions.moc"
