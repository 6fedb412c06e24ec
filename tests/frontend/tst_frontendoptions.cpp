// The front-end's command line: what the options set, what a wrong value is
// told, and the help that says every default.
#include <QtTest>

#include "frontend/frontendoptions.h"

class TestFrontendOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationName("orvel-frontend"); }

    // Addresses as an operator writes them, numbers at their limits, and the
    // simulation settings in the order of the options' table, each --simulate in its own order.
    void values()
    {
        FrontendOptions options;
        QVERIFY2(
            options.parse({"orvel-frontend", "--controller", "[::1]:5433", "--data-port", "0", "--timeout", "3600000",
                           "--silence", "1", "--no-data", "3600000", "--delay", "0", "--language", "DE"}),
            qPrintable(options.errorText));
        QCOMPARE(options.controllerHost, QStringLiteral("::1"));
        QCOMPARE(options.controllerPort, quint16(5433));
        QCOMPARE(options.dataPort, quint16(0));
        QCOMPARE(options.timeoutMs, 3600000);
        QCOMPARE(options.silenceMs, 1);
        QCOMPARE(options.noDataMs, 3600000);
        QCOMPARE(options.delayMs, 0);
        QCOMPARE(options.language, QStringLiteral("DE"));

        FrontendOptions simulated;
        QVERIFY2(simulated.parse({"orvel-frontend", "--simulate", "cal_fail=Tool moved", "--backend-version", "1.13.-1",
                                  "--product-name", "BRIXEL", "--simulate", "rate=30", "--product-version", "02.9.4",
                                  "--controller", "::1:65535"}),
                 qPrintable(simulated.errorText));
        QCOMPARE(simulated.simulateSettings,
                 (QStringList{"product_name BRIXEL", "product_version 2 9 4", "backend_version 1 13 -1",
                              "cal_fail Tool moved", "rate 30"}));
        QCOMPARE(simulated.controllerHost, QStringLiteral("::1"));
        QCOMPARE(simulated.controllerPort, quint16(65535));
    }

    void wrongValues_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        // No port, port 0, a signed port, a bracket not closed, IPv6 without a port.
        for (const char *value : {"ctl", "ctl:0", "ctl:+5000", "[::1:5000", "::1:"})
            QTest::newRow(value) << QStringList{"--controller", value}
                                 << QStringLiteral("--controller wants host:port, not \"%1\"").arg(value);
        QTest::newRow("data port") << QStringList{"--data-port", "65536"} << "--data-port wants a port number";
        QTest::newRow("language") << QStringList{"--language", "fr"} << "--language wants de or en, not \"fr\"";
        QTest::newRow("version") << QStringList{"--backend-version", "1.13"}
                                 << "--backend-version wants major.minor.patch, not \"1.13\"";
        QTest::newRow("screenshot in a missing folder")
            << QStringList{"--screenshot", "/nonexistent-folder/s.png"}
            << "--screenshot wants a file in a folder that exists, not \"/nonexistent-folder/s.png\"";
        QTest::newRow("setting") << QStringList{"--simulate", "rate=1", "--simulate", "=5"}
                                 << "--simulate wants setting=value, not \"=5\"";
        QTest::newRow("positional") << QStringList{"display"} << "Unexpected argument: display";
    }

    void wrongValues()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        FrontendOptions options;
        QVERIFY(!options.parse(QStringList{"orvel-frontend"} + arguments));
        QVERIFY(!options.exitNow);
        QCOMPARE(options.errorText, error);
    }

    // Every option with a value says in the help what it is without the option.
    void help()
    {
        FrontendOptions options;
        QVERIFY(!options.parse({"/some/where/orvel-frontend", "--start", "--help"}));
        QVERIFY(options.exitNow && options.errorText.isEmpty());
        const QString help = options.helpText;
        // An option's paragraph runs from its line to the next option's.
        int withValue = 0;
        for (const QString &paragraph : help.mid(help.indexOf("\nOptions:")).split(QRegularExpression("\n  -"))) {
            if (!paragraph.section(QLatin1Char('\n'), 0, 0).contains(QRegularExpression("^-[-\\w, ]*<")))
                continue;
            ++withValue;
            QVERIFY2(paragraph.simplified().contains("default"), qPrintable(paragraph.simplified()));
        }
        QVERIFY2(withValue >= 19, qPrintable(QString::number(withValue))); // the paragraphs were found
    }
};

QTEST_GUILESS_MAIN(TestFrontendOptions)
#include "tst_frontendoptions.moc"
