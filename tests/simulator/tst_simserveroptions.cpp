// The standalone server's command line: addresses and versions as the front-end writes them, every wrong
// value a usage error (exit 2, the usage line), every option's default in the help.
#include <QProcess>
#include <QtTest>

#include "simulator/simmodel.h"
#include "simulator/simserveroptions.h"

class TestSimServerOptions : public QObject
{
    Q_OBJECT

private slots:
    // A host name, brackets around IPv6, a version with the first build's patch -1. The host:port reader is
    // the front-end's too; its options test tries it further.
    void asTheFrontEndWrites()
    {
        SimServerOptions options;
        SimModel model;
        QVERIFY2(options.parse({"orvel-controller-sim", "--listen", "localhost:5432", "--data-to", "[::1]:5461",
                                "--idle-timeout", "0", "--backend-version", "1.13.-1"},
                               &model),
                 qPrintable(options.errorText));
        QCOMPARE(options.listenAddress, QHostAddress(QHostAddress::LocalHost));
        QCOMPARE(options.listenPort, quint16(5432));
        QCOMPARE(options.dataAddress, QHostAddress(QHostAddress::LocalHostIPv6));
        QCOMPARE(options.dataPort, quint16(5461));
        QCOMPARE(options.idleSeconds, 0);
        QCOMPARE(model.respond("orvel2 get system backend_version").reply,
                 QByteArray("orvel2 set system backend_version 1 13 -1"));
    }

    // The options of the simulation settings are refused as the settings' test tries each of them.
    void wrongValues_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *name, const QStringList &arguments, const QString &error) {
            QTest::newRow(name) << arguments << error;
        };
        row("listen", {"--listen", "[::1]"}, "--listen wants host:port, not \"[::1]\"");
        row("idle time-out", {"--idle-timeout", "86401"},
            "--idle-timeout wants seconds from 0 to 86400, not \"86401\"");
        row("product name beyond Latin-1", {"--product-name", QStringLiteral("BRIXEL \u2162")},
            QStringLiteral("--product-name wants text (up to 64 characters), not \"BRIXEL \u2162\""));
    }

    void wrongValues()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        SimServerOptions options;
        SimModel model;
        QVERIFY(!options.parse(QStringList{"orvel-controller-sim"} + arguments, &model));
        QCOMPARE(options.errorText, error);
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
    }

    // The program itself ends with exit status 2 and the usage line, for an unknown option and a refused setting.
    void program()
    {
        for (const QStringList &arguments : {QStringList{"--bogus"}, QStringList{"--rate", "0"}}) {
            QProcess process;
            process.start(QStringLiteral(MT_CONTROLLER_SIM), arguments);
            QVERIFY(process.waitForFinished(10000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 2);
            const QString error = QString::fromLocal8Bit(process.readAllStandardError());
            QVERIFY2(error.startsWith("orvel-controller-sim: ")
                         && error.contains("Usage: orvel-controller-sim [options]"),
                     qPrintable(error));
        }
    }
};

QTEST_GUILESS_MAIN(TestSimServerOptions)
#include "tst_simserveroptions.moc"
