#include <QtTest>
#include <QAccessible>
#include <QDockWidget>
#include <QMainWindow>
#include <QTableWidget>
#include <memory>

#include "fakecommandmanager.h"
#include "host/requester.h"
#include "pluginhost.h"
#include "tests/calibration/calibrationscript.h"

namespace {

const char TwoTools[] = "6dmt 2 [0 1.000 5][1 2 3][1 0 0 0 1 0 0 0 1] [1 -1.000 0][0 0 0][1 0 0 0 1 0 0 0 1]";
const char Identity[] = "[1 0 0 0 1 0 0 0 1]";

// Unset: the cell never got a brush.
const QColor Green(Qt::green), Red(Qt::red), Blue(Qt::blue), None(Qt::transparent), Unset;

// Magenta: no cell where one was expected.
QColor background(QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return !item ? QColor(Qt::magenta) : item->background().style() == Qt::NoBrush ? Unset : item->background().color();
}

// A row as one text: each cell's text and colour (G green, R red, B blue,
// T transparent; none when never coloured), "." where the row has no cell.
QString row(QTableWidget *table, int r)
{
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c) {
        const int colour = QList<QColor>{Green, Red, Blue, None}.indexOf(background(table, r, c));
        const QString code = colour < 0 ? QString() : QLatin1Char(':') + QStringLiteral("GRBT").mid(colour, 1);
        cells.append(table->item(r, c) ? table->item(r, c)->text() + code : QStringLiteral("."));
    }
    return cells.join(QLatin1Char('|'));
}

// "6dmt N", every tool tracked with the given button word.
QByteArray toolsLine(int count, int buttons = 0)
{
    QByteArray line = "6dmt " + QByteArray::number(count);
    for (int i = 0; i < count; ++i)
        line += QStringLiteral(" [%1 1 %2][1 2 3]").arg(i).arg(buttons).toLatin1() + Identity;
    return line;
}

// Cells (row, column) as assistive technology reads them: "name / description; ...".
QString spoken(QTableWidget *table, const QList<QPoint> &cells)
{
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(table);
    QAccessibleTableInterface *all = view ? view->tableInterface() : nullptr;
    QStringList texts;
    for (const QPoint &at : cells) {
        QAccessibleInterface *cell = all ? all->cellAt(at.x(), at.y()) : nullptr;
        texts << (cell ? cell->text(QAccessible::Name) + " / " + cell->text(QAccessible::Description) : "no cell");
    }
    return texts.join("; ");
}

} // namespace

// The display as the host drives it: built by the loaded plug-in, fed through its Requester.
class TestDisplay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void constructionTraffic_data();
    void constructionTraffic();
    void subscriptionsStartLinesTicksStop();
    void startChecksAvailabilityAndFormat();
    void moreRecordsThanRows();
    void lineResultsAndDeferredStart();
    void stopDuringRebuild();
    void statesInWords();

private:
    bool build(int backendMinor, int backendPatch = 0);
    void start();
    void refresh(int ticks = 1)
    {
        while (ticks--)
            QVERIFY(QMetaObject::invokeMethod(display, "onUpdateDataDisplay"));
    }
    int feed(const QByteArray &line) { return requester->handleDataLine("6dmt", line.constData()); }
    void scriptCalibrated(int tools, int refs, const QStringList &references);

    std::unique_ptr<FakeCommandManager> fake;
    std::unique_ptr<QMainWindow> mainWindow;
    BackendVersions versions;
    std::unique_ptr<PluginHost> host;
    QWidget *display = nullptr;
    QDockWidget *dock = nullptr;
    Requester *requester = nullptr;
    QTableWidget *tools = nullptr, *refs = nullptr;
};

void TestDisplay::init()
{
    fake.reset(new FakeCommandManager);
    mainWindow.reset(new QMainWindow);
    host.reset(new PluginHost);
    QVERIFY2(host->load(), qPrintable(host->errorString()));
    fake->answer("measurementtool available", "yes");
}

void TestDisplay::cleanup()
{
    host.reset();
    mainWindow.reset();
}

bool TestDisplay::build(int backendMinor, int backendPatch)
{
    versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, backendMinor, backendPatch);
    host->configure(fake.get(), mainWindow.get(), &versions, true);
    const QList<MenuEntry *> entries = host->module()->menuEntries();
    dock = entries.size() == 1 ? qobject_cast<QDockWidget *>(entries[0]->widget) : nullptr;
    display = dock ? dock->widget() : nullptr;
    requester = fake->requesters.size() == 1 ? fake->requesters[0] : nullptr;
    tools = display ? display->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmt")) : nullptr;
    refs = display ? display->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmtref")) : nullptr;
    return requester && tools && refs;
}

void TestDisplay::start()
{
    requester->measurementStarted();
    QCOMPARE(feed("fr 1"), -2); // the start is deferred, not done in the host's call
    QTRY_COMPARE(feed("fr 1"), 0);
}

// Tools and references 1 to n calibrated; each tool on its entry of references, as the controller answers.
void TestDisplay::scriptCalibrated(int toolCount, int refCount, const QStringList &references)
{
    for (int i = 1; i <= qMax(toolCount, refCount); ++i) {
        const QByteArray item = "b" + QByteArray::number(i).rightJustified(2, '0');
        if (i <= toolCount) {
            fake->answer("body calibrated measurementtool " + item, "yes");
            fake->answer("measurementtool tip_calibrated " + item, "yes");
        }
        if (i <= refCount)
            fake->answer("body calibrated measurementtool_reference " + item, "yes");
        if (i <= references.size())
            fake->answer("measurementtool reference_of_tool " + item, references[i - 1].toLatin1());
    }
}

void TestDisplay::constructionTraffic_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("available");
    QTest::addColumn<QStringList>("calls");
    const QStringList asked = {"getParameter measurementtool available", "addRequester"};
    const QStringList maxima = {"getIntParameter measurementtool max_number_of_tools",
                                "getIntParameter measurementtool max_number_of_references"};
    const QStringList outputs
        = QStringList{"setParameter output active chmon 6dmt yes", "setParameter output active chmon 6dmtr yes"}
        + maxima;
    QTest::newRow("1.2: nothing asked") << 2 << "yes" << QStringList{"addRequester"};
    QTest::newRow("1.3 available") << 3 << "yes" << asked + outputs;
    QTest::newRow("1.12 not available") << 12 << "no" << asked + maxima;
    QTest::newRow("1.13 available") << 13 << "yes"
                                    << asked + QStringList{"getBoolParameter measurementtool output_6dmt"} + outputs;
}

void TestDisplay::constructionTraffic()
{
    QFETCH(int, minor);
    QFETCH(QString, available);
    fake->answer("measurementtool available", available.toUtf8());
    QVERIFY(build(minor));
    QTEST(fake->calls, "calls");
}

void TestDisplay::subscriptionsStartLinesTicksStop()
{
    applyScript(fake.get(), {"measurementtool max_number_of_tools=8", "measurementtool max_number_of_references=8"});
    scriptCalibrated(3, 1, {"b01", "none"});
    QVERIFY(build(14));
    const QStringList subscribed{"subscribeOutput 6dmt", "subscribeOutput 6dmt2", "subscribeOutput 6dmtr"};
    // Subscribed while shown (not at the build: constructionTraffic), for this requester only.
    mainWindow->show();
    QCOMPARE(fake->callsOf("subscribeOutput"), subscribed);
    for (const auto &subscription : fake->subscriptions)
        QCOMPARE(subscription.second, requester);
    QCOMPARE(feed(TwoTools), -2); // no measurement: no parsing
    start();
    QVERIFY(feed(TwoTools) == 0 && feed(QByteArray("6dmtr 1 1 [0 0.8][10 20 30]") + Identity) == 0);

    fake->calls.clear();
    QTRY_COMPARE(tools->rowCount(), 2); // the 200 ms timer runs
    QStringList asked;
    for (const QString item : {"b01", "b02"})
        asked << "getParameter measurementtool reference_of_tool " + item
              << "getParameter body calibrated measurementtool " + item
              << "getParameter measurementtool tip_calibrated " + item;
    QCOMPARE(fake->calls, asked << "getParameter body calibrated measurementtool_reference b01");

    // The reference rows are built after the tool rows: the tool's reference
    // cell takes its colour from the next tick on.
    QCOMPARE(row(tools, 0), QStringLiteral("M1:G|.|MR1:T|.|:B|.|:T|.|:B|.|:T|.|1.00|2.00|3.00|-0.00|0.00|-0.00|-"));
    refresh();
    QCOMPARE(row(tools, 0), QStringLiteral("M1:G|.|MR1:G|.|:B|.|:T|.|:B|.|:T|.|1.00|2.00|3.00|-0.00|0.00|-0.00|-"));
    QCOMPARE(row(tools, 1), QStringLiteral("M2:R|.|:T|.|:T|.|:T|.|:T|.|:T|.|-|-|-|-|-|-|-")); // lost, no reference
    QCOMPARE(row(refs, 0), QStringLiteral(".|MR1:G|.|10.00|20.00|30.00|-0.00|0.00|-0.00|-"));

    // Steady state: ticks recolour and rewrite, they neither ask nor rebuild.
    const QTableWidgetItem *toolState = tools->item(1, 0), *refState = refs->item(0, 1);
    fake->calls.clear();
    QCOMPARE(feed(QByteArray("6dmt 2 [0 -1 0][1 2 3]") + Identity + " [1 0.5 1][7 8 9]" + Identity), 0);
    refresh(60);
    QVERIFY(fake->calls.isEmpty() && tools->item(1, 0) == toolState && refs->item(0, 1) == refState);
    // Tool 1 lost keeps the last values shown; tool 2 tracked, with a button.
    QCOMPARE(row(tools, 0), QStringLiteral("M1:R|.|MR1:G|.|:T|.|:T|.|:T|.|:T|.|1.00|2.00|3.00|-0.00|0.00|-0.00|-"));
    QCOMPARE(row(tools, 1), QStringLiteral("M2:G|.|:T|.|:B|.|:T|.|:T|.|:T|.|7.00|8.00|9.00|-0.00|0.00|-0.00|-"));

    // A reference missing from the next line reads as not tracked.
    QCOMPARE(feed("6dmtr 1 0"), 0);
    refresh();
    QVERIFY(background(refs, 0, 1) == Red && background(tools, 0, 2) == Red);

    // A change of the number of tools rebuilds and asks again.
    QCOMPARE(feed(toolsLine(3)), 0);
    refresh();
    QCOMPARE(fake->callsOf("getParameter").size(), 9);

    requester->measurementStopped();
    QVERIFY(tools->rowCount() == 0 && refs->rowCount() == 0 && feed(TwoTools) == -2);
    dock->hide();
    QVERIFY(fake->callsOf("unsubscribeOutput") == QStringList(subscribed).replaceInStrings("sub", "unsub")
            && fake->subscriptions.isEmpty());
}

void TestDisplay::startChecksAvailabilityAndFormat()
{
    // Not available when built: asked again at the start, and once available not again.
    fake->queue("measurementtool available", {{0, "no"}, {0, "yes"}, {0, "no"}});
    fake->queue("measurementtool output_6dmt", {{0, "yes"}, {0, "yes"}, {0, "no"}, {1, ""}});
    QVERIFY(build(13));

    auto callsOfStart = [this] {
        fake->calls.clear();
        start();
        requester->measurementStopped();
        return fake->calls;
    };
    const QString format = "getBoolParameter measurementtool output_6dmt";
    const auto on = [](const QString &type) {
        return "setParameter output active chmon " + type + " yes";
    };
    QCOMPARE(callsOfStart(), (QStringList{"getParameter measurementtool available", format, on("6dmt"), on("6dmtr")}));
    QCOMPARE(callsOfStart(), QStringList{format}); // no change: nothing sent again
    QCOMPARE(callsOfStart(), (QStringList{format, on("6dmt2"), on("6dmtr")}));
    QCOMPARE(callsOfStart(), (QStringList{format, on("6dmt"), on("6dmtr")})); // a failed query: the older format
}

// The state lists hold the larger of the two maxima, at least 4 and at most
// what a line can carry; rows beyond them are neither asked about nor coloured.
void TestDisplay::moreRecordsThanRows()
{
    struct Case
    {
        const char *maxTools, *maxRefs;
        int kept;
    }; // no maxima: both queries fail
    for (const Case &c :
         {Case{"2", "3", 4}, {"2", "6", 6}, {"7", "3", 7}, {nullptr, nullptr, 4}, {"2000000000", "2000000000", 8}}) {
        init();
        if (c.maxTools)
            applyScript(fake.get(),
                        {QStringLiteral("measurementtool max_number_of_tools=") + c.maxTools,
                         QStringLiteral("measurementtool max_number_of_references=") + c.maxRefs});
        scriptCalibrated(8, 8, {"b09", "b99999999999"});
        QVERIFY(build(14));
        start();
        QVERIFY(feed(toolsLine(8, 1)) == 0 && feed(QByteArray("6dmtr 8 1 [7 1][1 2 3]") + Identity) == 0);
        fake->calls.clear();
        refresh();
        QVERIFY(tools->rowCount() == 8 && refs->rowCount() == 8);
        QCOMPARE(fake->callsOf("getParameter").size(), 4 * c.kept); // 3 per tool row, 1 per reference row
        QCOMPARE(background(tools, c.kept - 1, 0), Green);
        if (c.kept < 8) // beyond the lists: no state kept, none shown
            QCOMPARE(row(tools, c.kept), QStringLiteral("M%1:T|.|:T|.||.||.||.||.| | | | | | | ").arg(c.kept + 1));
        QCOMPARE(row(tools, 0).left(12), QStringLiteral("M1:G|.|MR9:T")); // a reference beyond the lists
        QCOMPARE(row(tools, 1).left(9), QStringLiteral("M2:G|.|:T"));     // not a number we can hold
        QCOMPARE(background(refs, 7, 1), c.kept == 8 ? Green : None);
        cleanup();
    }
}

void TestDisplay::lineResultsAndDeferredStart()
{
    QVERIFY(build(2, 9));
    // The deferred start runs whatever came after it: a stop within its
    // millisecond leaves a parser that takes lines.
    QCOMPARE(feed("fr 1"), -2);
    requester->measurementStarted();
    requester->measurementStopped();
    QCOMPARE(feed("fr 1"), -2);
    QTRY_COMPARE(feed("fr 1"), 0);
    // Below 1.3 the start sends nothing, yet it creates a parser and runs the refresh.
    QCOMPARE(fake->calls, QStringList{"addRequester"});
    QCOMPARE(feed(toolsLine(1)), 0);
    QTRY_COMPARE(tools->rowCount(), 1);
    QCOMPARE(feed("6dmt 1 [5 1 0]"), -1); // refused by the parser: the id is not its row

    // The line buffer holds 10,240 bytes, the NUL included.
    QCOMPARE(feed(QByteArray(10239, 'x')), 0); // unknown type: accepted unread
    QCOMPARE(feed(QByteArray(10240, 'x')), -1);
    QCOMPARE(requester->handleDataLine("6dmt", nullptr), -1);
}

// A host that runs events during a command delivers a stop while a rebuild
// waits on a query, and the deferred start of a new measurement with three
// tools after it: no row and no item of the first survives, nothing more is
// asked for it, and the new measurement is shown from its own records.
void TestDisplay::stopDuringRebuild()
{
    const QByteArray query("body calibrated measurementtool b02");
    scriptCalibrated(3, 2, {"b01", "b02"});
    QVERIFY(build(14));
    start();
    const QByteArray twoRefs = QByteArray("6dmtr 2 2 [0 0.8][10 20 30]") + Identity + " [1 0.8][1 2 3]" + Identity;
    QVERIFY(feed(TwoTools) == 0 && feed(twoRefs) == 0);
    fake->calls.clear();
    fake->whenAsked(query, [&] {
        fake->whenAsked(query, {}); // once
        requester->measurementStopped();
        requester->measurementStarted();
        QTRY_COMPARE(feed(toolsLine(3)), 0);
    });
    refresh();
    QCOMPARE(tools->rowCount() + refs->rowCount(), 0);
    const int stopAt = fake->calls.indexOf(QStringLiteral("getParameter ") + QString::fromLatin1(query));
    QVERIFY(stopAt >= 0);
    QCOMPARE(fake->calls.mid(stopAt + 1).filter(QRegularExpression(QStringLiteral("^getParameter "))), QStringList());

    refresh();
    QVERIFY(tools->rowCount() == 3 && refs->rowCount() == 0);
    // Rebuilt in full: tool 2, lost in the first measurement, tracked in the new one's line.
    QCOMPARE(row(tools, 1), QStringLiteral("M2:G|.|MR2:T|.|:T|.|:T|.|:T|.|:T|.|1.00|2.00|3.00|-0.00|0.00|-0.00|-"));
}

// Each state colour comes with a word that assistive technology reads and a tool
// tip shows.
void TestDisplay::statesInWords()
{
    // Tool 1 tracked, its reference 1 tracked; tool 2 lost, its reference 2 not calibrated;
    // tool 3's tip not calibrated, no reference.
    scriptCalibrated(3, 1, {"b01", "b02", "none"});
    fake->answer("measurementtool tip_calibrated b03", "no");
    QVERIFY(build(14));
    start();
    QCOMPARE(feed(QByteArray("6dmt 3 [0 1 5][1 2 3]") + Identity + " [1 -1 0][0 0 0]" + Identity + " [2 1 1][0 0 0]"
                  + Identity),
             0);
    QCOMPARE(feed(QByteArray("6dmtr 2 2 [0 1][10 20 30]") + Identity + " [1 -1][0 0 0]" + Identity), 0);
    refresh(2); // the tool rows see the reference states one tick after the rebuild

    QCOMPARE(spoken(tools, {{0, 0}, {0, 2}, {0, 4}, {0, 6}, {0, 8}, {1, 0}, {1, 2}, {2, 0}, {2, 2}, {2, 4}, {0, 12}}),
             QStringLiteral("M1, tracked / tracked; MR1, tracked / tracked; pressed / pressed; "
                            "not pressed / not pressed; pressed / pressed; M2, not tracked / not tracked; "
                            "MR2, not calibrated / not calibrated; M3, not calibrated / not calibrated; "
                            " / ;  / ; 1.00 / ")); // no reference, and uncalibrated buttons: nothing to tell
    QCOMPARE(spoken(refs, {{0, 1}, {1, 1}}),
             QStringLiteral("MR1, tracked / tracked; MR2, not calibrated / not calibrated"));
    QCOMPARE(tools->item(1, 0)->toolTip() + "|" + tools->item(0, 4)->toolTip() + "|" + refs->item(0, 1)->toolTip(),
             QStringLiteral("not tracked|pressed|tracked"));

    // The states change, and their words with them.
    QCOMPARE(feed(QByteArray("6dmt 3 [0 -1 4][1 2 3]") + Identity + " [1 1 0][0 0 0]" + Identity + " [2 1 1][0 0 0]"
                  + Identity),
             0);
    QCOMPARE(feed(QByteArray("6dmtr 2 2 [0 -1][10 20 30]") + Identity + " [1 -1][0 0 0]" + Identity), 0);
    refresh();
    QCOMPARE(spoken(tools, {{0, 0}, {0, 2}, {0, 4}, {1, 0}}) + "; " + spoken(refs, {{0, 1}}),
             QStringLiteral("M1, not tracked / not tracked; MR1, not tracked / not tracked; not pressed / not pressed; "
                            "M2, tracked / tracked; MR1, not tracked / not tracked"));
}

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
