// The built front-end as an operator starts it, offscreen: a screenshot
// ends within a bounded time, with the reason when its screen cannot come;
// a wrong or refused value ends it with status 2 and the usage line;
// --show without --screenshot opens the screen and leaves it open.
#include <QImage>
#include <QLibraryInfo>
#include <QtTest>

#include "frontendtestkit.h"

namespace {

constexpr int BoundMs = 15000;

// English unless a test asks for German, in UTF-8.
QProcessEnvironment english()
{
    QProcessEnvironment env = offscreen();
    env.insert("LC_ALL", "C.UTF-8");
    env.remove("LANGUAGE");
    return env;
}

} // namespace

class TestFrontendCli : public QObject
{
    Q_OBJECT
    QTemporaryDir scratch;

private slots:
    // Status 0: saved; 1: the screen cannot come, with the reason; 2: a usage error, with the usage line.
    void screenshot_data()
    {
        const QString offscreen = QLibraryInfo::location(QLibraryInfo::PluginsPath) + "/platforms/libqoffscreen.so";
        QTest::addColumn<QStringList>("arguments"); // "@" stands for the scratch folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const QStringList &arguments, int status, const QString &message = {}) {
            QTest::newRow(name) << arguments << status << message;
        };
        row("two-step countdown", {"--show", "countdown", "--simulate", "cal_steps=2", "--delay", "0"}, 0);
        row("countdown of a one-step calibration", {"--show", "countdown"}, 1,
            "the calibration ended without a countdown: one shows only between the steps of a two-step calibration");
        row("error on an old backend", {"--show", "error", "--backend-version", "1.2.0"}, 1,
            "Calibrate is disabled in the tip calibration dialog: Measurement Tool is not available!");
        row("settings in observer mode", {"--show", "settings", "--observer"}, 1,
            "the module offers no dialog for \"settings\" here: no module is loaded, it runs in observer mode");
        row("bad value", {"--timeout", "0"}, 2, "--timeout wants milliseconds above 0");
        row("refused rate", {"--simulate", "rate=0"}, 2,
            "the controller refuses the simulation setting \"rate 0\": orvel2 err ");
        // The language is chosen before the command line is read: its errors come in it too.
        row("German usage error", {"--language", "de", "--timeout", "0"}, 2, "--timeout erwartet Millisekunden über 0");
        row("plug-in, a folder", {"--plugin", "@"}, 2, "--plugin: @ is a folder, not a module library");
        row("plug-in, another library", {"--plugin", offscreen}, 2, "--plugin: " + offscreen + " is a plug-in for ");
    }

    void screenshot()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QString file = scratch.filePath("shot.png");
        QFile::remove(file);
        arguments.replaceInStrings("@", scratch.path());
        const Run result = runProgram(MT_FRONTEND, arguments + QStringList{"--screenshot", file}, english());
        QVERIFY2(result.finished && result.ms < BoundMs, qPrintable(QString::number(result.ms) + result.output));
        QCOMPARE(result.status, status);
        message.replace('@', scratch.path());
        if (status == 0) {
            QVERIFY2(result.output.contains("Saved " + file), qPrintable(result.output));
            QVERIFY(!QImage(file).isNull());
            return;
        }
        QVERIFY(!QFile::exists(file));
        const QString expected = status == 1 ? "\nScreenshot failed: " + message : "orvel-frontend: " + message;
        QVERIFY2(result.output.contains(expected), qPrintable(result.output));
        const QString usage = arguments.contains("de") ? "\nAufruf: orvel-frontend [Optionen]\n"
                                                       : "\nUsage: orvel-frontend [options]\n";
        if (status == 2)
            QVERIFY2(result.output.endsWith(usage), qPrintable(result.output));
    }

    // The screen opens and stays: the program still runs when stopped after a while.
    void showWithoutScreenshot()
    {
        const Run result = runProgram(MT_FRONTEND, {"--show", "devices"}, english(), BoundMs / 2);
        QVERIFY(!result.finished);
        QVERIFY2(result.output.contains("Showing devices, as --show asks"), qPrintable(result.output));
    }
};

QTEST_GUILESS_MAIN(TestFrontendCli)
#include "tst_frontendcli.moc"
