// The front-end's command line: what each option sets, what a wrong value is
// told, and the help that lists them all with their defaults.
#include <QtTest>

#include "frontend/frontendoptions.h"

namespace {

// The fields that differ from a command line without options, as "name=value".
QStringList changed(const FrontendOptions &o)
{
    const FrontendOptions none;
    QStringList fields;
    const auto note = [&fields](bool differs, const QString &field) {
        if (differs)
            fields << field;
    };
    note(o.pluginPath != none.pluginPath, "plugin=" + o.pluginPath);
    note(o.observerMode != none.observerMode, "observer");
    note(o.controllerHost != none.controllerHost || o.controllerPort != none.controllerPort,
         QStringLiteral("controller=%1 %2").arg(o.controllerHost).arg(o.controllerPort));
    note(o.dataPort != none.dataPort, QStringLiteral("data-port=%1").arg(o.dataPort));
    note(o.timeoutMs != none.timeoutMs, QStringLiteral("timeout=%1").arg(o.timeoutMs));
    note(o.silenceMs != none.silenceMs, QStringLiteral("silence=%1").arg(o.silenceMs));
    note(o.noDataMs != none.noDataMs, QStringLiteral("no-data=%1").arg(o.noDataMs));
    note(o.language != none.language, "language=" + o.language);
    note(o.simulateSettings != none.simulateSettings, "simulate=" + o.simulateSettings.join('|'));
    note(o.startMeasurement != none.startMeasurement, "start");
    note(o.screenshotFile != none.screenshotFile, "screenshot=" + o.screenshotFile);
    note(o.screen != none.screen, QStringLiteral("screen=%1").arg(int(o.screen)));
    note(o.delayMs != none.delayMs, QStringLiteral("delay=%1").arg(o.delayMs));
    return fields;
}

} // namespace

class TestFrontendOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationName("orvel-frontend"); }
    void values_data();
    void values();
    void wrongValues_data();
    void wrongValues();
    void helpAndVersion();
};

void TestFrontendOptions::values_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("none") << QStringList() << QStringList();
    QTest::newRow("plug-in") << QStringList{"--plugin", MT_PLUGIN_PATH} << QStringList{"plugin=" MT_PLUGIN_PATH};
    QTest::newRow("switches") << QStringList{"--start", "--observer"} << QStringList{"observer", "start"};
    QTest::newRow("controller") << QStringList{"--controller=ctl.example:5000"}
                                << QStringList{"controller=ctl.example 5000"};
    QTest::newRow("controller, IPv4") << QStringList{"--controller", "127.0.0.1:1"}
                                      << QStringList{"controller=127.0.0.1 1"};
    QTest::newRow("controller, IPv6 in brackets")
        << QStringList{"--controller", "[::1]:5433"} << QStringList{"controller=::1 5433"};
    QTest::newRow("controller, IPv6") << QStringList{"--controller", "::1:65535"}
                                      << QStringList{"controller=::1 65535"};
    QTest::newRow("numbers at their limits")
        << QStringList{"--data-port", "0",         "--timeout", "3600000", "--silence",
                       "1",           "--no-data", "3600000",   "--delay", "0"}
        << QStringList{"data-port=0", "timeout=3600000", "silence=1", "no-data=3600000", "delay=0"};
    QTest::newRow("the last of a repeated option")
        << QStringList{"--timeout", "5", "--timeout", "7"} << QStringList{"timeout=7"};
    QTest::newRow("language") << QStringList{"--language", "DE"} << QStringList{"language=DE"};
    // Sent in the order of the options' table, each --simulate in its own order.
    QTest::newRow("simulated controller")
        << QStringList{"--simulate", "cal_fail=Tool moved", "--backend-version", "1.13.-1",           "--product",
                       "BRIXEL",     "--simulate",          "rate=30",           "--product-version", "02.9.4"}
        << QStringList{"simulate=product_name BRIXEL|product_version 2 9 4|backend_version 1 13 -1|"
                       "cal_fail Tool moved|rate 30"};
    QTest::newRow("versions as the simulator writes them")
        << QStringList{"--backend-version", "1.12.0", "--product-version", "2.9.4"}
        << QStringList{"simulate=product_version 2 9 4|backend_version 1 12 0"};
    QTest::newRow("screenshot") << QStringList{"--screenshot", "s.png", "--show", "devices"}
                                << QStringList{"screenshot=s.png",
                                               QStringLiteral("screen=%1").arg(int(FrontendOptions::Screen::Devices))};
}

void TestFrontendOptions::values()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, fields);
    FrontendOptions options;
    QVERIFY2(options.parse(QStringList{"orvel-frontend"} + arguments), qPrintable(options.errorText));
    QVERIFY(!options.exitNow);
    QCOMPARE(options.errorText, QString());
    QCOMPARE(changed(options), fields);
}

void TestFrontendOptions::wrongValues_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    // No port, no host, port 0, a signed port, a blank, a bracket not closed, a name in brackets, IPv6 without one.
    for (const char *value : {"ctl", ":5000", "ctl:0", "ctl:+5000", "my ctl:5000", "[::1:5000", "[ctl]:5000", "::1:"})
        QTest::newRow(value) << QStringList{"--controller", value}
                             << QStringLiteral("--controller wants host:port, not \"%1\"").arg(value);
    QTest::newRow("data port") << QStringList{"--data-port", "65536"} << "--data-port wants a port number";
    for (const char *value : {"0", "+5", " 5"})
        QTest::newRow(value) << QStringList{"--timeout", value} << "--timeout wants milliseconds above 0";
    QTest::newRow("silence, no number") << QStringList{"--silence", "1s"} << "--silence wants milliseconds above 0";
    QTest::newRow("no data, zero") << QStringList{"--no-data", "0"} << "--no-data wants milliseconds above 0";
    QTest::newRow("delay") << QStringList{"--delay", "600001"} << "--delay wants milliseconds";
    QTest::newRow("language") << QStringList{"--language", "fr"} << "--language wants de or en, not \"fr\"";
    QTest::newRow("language, blank") << QStringList{"--language", " "} << "--language wants de or en, not \" \"";
    QTest::newRow("version") << QStringList{"--backend-version", "1.13"}
                             << "--backend-version wants major.minor.patch, not \"1.13\"";
    QTest::newRow("version with blanks") << QStringList{"--product-version", "1 12 0"}
                                         << "--product-version wants major.minor.patch, not \"1 12 0\"";
    QTest::newRow("screenshot in a missing folder")
        << QStringList{"--screenshot", "/nonexistent-folder/s.png"}
        << "--screenshot wants a file in a folder that exists, not \"/nonexistent-folder/s.png\"";
    QTest::newRow("setting") << QStringList{"--simulate", "rate=1", "--simulate", "=5"}
                             << "--simulate wants setting=value, not \"=5\"";
    QTest::newRow("screen") << QStringList{"--show", "Help"}
                            << "--show wants settings, devices, calibration, help, progress, countdown, result, "
                               "error or display, not \"Help\"";
    QTest::newRow("positional") << QStringList{"display"} << "Unexpected argument: display";
    QTest::newRow("unknown") << QStringList{"--screen", "help"} << "Unknown option 'screen'.";
    QTest::newRow("missing value") << QStringList{"--delay"} << "Missing value after '--delay'.";
}

void TestFrontendOptions::wrongValues()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    FrontendOptions options;
    QVERIFY(!options.parse(QStringList{"orvel-frontend"} + arguments));
    QVERIFY(!options.exitNow);
    QCOMPARE(options.errorText, error);
    QCOMPARE(FrontendOptions::usageError(error), "orvel-frontend: " + error + "\nUsage: orvel-frontend [options]\n");
}

// The help lists every option in order, each with a value saying what it is without the option.
void TestFrontendOptions::helpAndVersion()
{
    FrontendOptions options;
    QVERIFY(!options.parse({"/some/where/orvel-frontend", "--start", "--help"}));
    QVERIFY(options.exitNow && options.errorText.isEmpty());
    const QString help = options.helpText;
    QCOMPARE(options.outputText, help);
    QVERIFY2(help.startsWith("Usage: orvel-frontend [options]\n"), qPrintable(help));
    int from = 0;
    const QString inOrder = QStringLiteral(
        "--plugin <path>;--observer;--controller <host:port>;--data-port <port>;(default 5001);--timeout <ms>;(default "
        "5000);--silence <ms>;(default 400);--no-data <ms>;(default 1000);--language <de|en>;--product "
        "<name>;(default BRIXEL 3);--product-version <x.y.z>;--backend-version <x.y.z>;(default 1.14.0);--simulate "
        "<setting=value>;--start;--screenshot <file>;--show <screen>;--delay <ms>;(default 500)");
    for (const QString &line : inOrder.split(';')) {
        const int at = help.indexOf(line, from);
        QVERIFY2(at > 0, qPrintable(line)); // and in this order
        from = at;
    }
    // An option's paragraph runs from its line to the next option's.
    int withValue = 0;
    for (const QString &paragraph : help.mid(help.indexOf("\nOptions:")).split(QRegularExpression("\n  -"))) {
        if (!paragraph.section(QLatin1Char('\n'), 0, 0).contains(QRegularExpression("^-[-\\w, ]*<")))
            continue;
        ++withValue;
        QVERIFY2(paragraph.simplified().contains("default"), qPrintable(paragraph.simplified()));
    }
    QCOMPARE(withValue, 19);

    FrontendOptions version;
    QCoreApplication::setApplicationVersion("9.8.7");
    QVERIFY(!version.parse({"orvel-frontend", "-v"}));
    QVERIFY(version.exitNow);
    QVERIFY2(version.outputText.endsWith(" 9.8.7\n"), qPrintable(version.outputText));
}

QTEST_GUILESS_MAIN(TestFrontendOptions)
#include "tst_frontendoptions.moc"
