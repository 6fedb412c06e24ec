#include <QtTest>
#include <QAccessible>
#include <QDockWidget>
#include <QTableWidget>

#include "host/requester.h"
#include "pluginfixture.h"

namespace {

const char TwoTools[] = "6dmt 2 [0 1.000 5][1 2 3][1 0 0 0 1 0 0 0 1] [1 -1.000 0][0 0 0][1 0 0 0 1 0 0 0 1]";

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

// A data line: its head, then each group followed by an identity rotation.
QByteArray line(QByteArray head, const QList<QByteArray> &groups)
{
    for (const QByteArray &group : groups)
        head += ' ' + group + "[1 0 0 0 1 0 0 0 1]";
    return head;
}

// "6dmt N", every tool tracked with the given button word.
QByteArray toolsLine(int count, int buttons = 0)
{
    QList<QByteArray> groups;
    for (int i = 0; i < count; ++i)
        groups << QStringLiteral("[%1 1 %2][1 2 3]").arg(i).arg(buttons).toLatin1();
    return line("6dmt " + QByteArray::number(count), groups);
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
class TestDisplay : public QObject, private PluginFixture
{
    Q_OBJECT

    bool build(int backendMinor, int backendPatch = 0)
    {
        versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, backendMinor, backendPatch);
        host->configure(fake.get(), &mainWindow, &versions, true);
        const QList<MenuEntry *> entries = host->module()->menuEntries();
        dock = entries.size() == 1 ? qobject_cast<QDockWidget *>(entries[0]->widget) : nullptr;
        requester = fake->requesters.size() == 1 ? fake->requesters[0] : nullptr;
        tools = dock ? dock->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmt")) : nullptr;
        refs = dock ? dock->findChild<QTableWidget *>(QStringLiteral("tableWidget6dmtref")) : nullptr;
        return requester && tools && refs;
    }
    void start()
    {
        requester->measurementStarted();
        QCOMPARE(feed("fr 1"), -2); // the start is deferred, not done in the host's call
        QTRY_COMPARE(feed("fr 1"), 0);
    }
    void refresh(int ticks = 1)
    {
        while (ticks--)
            QVERIFY(QMetaObject::invokeMethod(dock->widget(), "onUpdateDataDisplay"));
    }
    int feed(const QByteArray &line) { return requester->handleDataLine("6dmt", line.constData()); }
    // Tools and references 1 to n calibrated; each tool on its entry of references, as the controller answers.
    void scriptCalibrated(int toolCount, int refCount, const QStringList &references)
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

    QDockWidget *dock = nullptr;
    Requester *requester = nullptr;
    QTableWidget *tools = nullptr, *refs = nullptr;

private slots:
    void init()
    {
        fake.reset(new FakeCommandManager);
        host.reset(new PluginHost);
        QVERIFY2(host->load(), qPrintable(host->errorString()));
        fake->answer("measurementtool available", "yes");
    }
    void cleanup()
    {
        host.reset();
        mainWindow.hide();
    }

    void constructionTraffic_data()
    {
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("available");
        QTest::addColumn<QStringList>("calls");
        const QStringList asked{"getParameter measurementtool available", "addRequester"};
        const QStringList maxima{"getIntParameter measurementtool max_number_of_tools",
                                 "getIntParameter measurementtool max_number_of_references"};
        const QStringList outputs{"setParameter output active chmon 6dmt yes",
                                  "setParameter output active chmon 6dmtr yes"};
        QTest::newRow("1.2: nothing asked") << 2 << "yes" << QStringList{"addRequester"};
        QTest::newRow("1.3 available") << 3 << "yes" << asked + outputs + maxima;
        QTest::newRow("1.12 not available") << 12 << "no" << asked + maxima;
        const QStringList format{"getBoolParameter measurementtool output_6dmt"};
        QTest::newRow("1.13 available") << 13 << "yes" << asked + format + outputs + maxima;
    }
    void constructionTraffic()
    {
        QFETCH(int, minor);
        QFETCH(QString, available);
        fake->answer("measurementtool available", available.toUtf8());
        QVERIFY(build(minor));
        QTEST(fake->calls, "calls");
    }

    void subscriptionsStartLinesTicksStop()
    {
        scriptCalibrated(3, 1, {"b01", "none"});
        QVERIFY(build(14));
        const QStringList subscribed{"subscribeOutput 6dmt", "subscribeOutput 6dmt2", "subscribeOutput 6dmtr"};
        // Subscribed while shown (not at the build: constructionTraffic), for this requester only.
        mainWindow.show();
        QCOMPARE(fake->callsOf("subscribeOutput"), subscribed);
        for (const auto &subscription : fake->subscriptions)
            QCOMPARE(subscription.second, requester);
        QCOMPARE(feed(TwoTools), -2); // no measurement: no parsing
        start();
        QVERIFY(feed(TwoTools) == 0 && feed(line("6dmtr 1 1", {"[0 0.8][10 20 30]"})) == 0);
        fake->calls.clear();
        QTRY_COMPARE(tools->rowCount(), 2); // the 200 ms timer runs
        QCOMPARE(fake->calls.join("; ").remove("getParameter "),
                 "measurementtool reference_of_tool b01; body calibrated measurementtool b01; "
                 "measurementtool tip_calibrated b01; measurementtool reference_of_tool b02; "
                 "body calibrated measurementtool b02; measurementtool tip_calibrated b02; "
                 "body calibrated measurementtool_reference b01");
        refresh(); // the reference rows come after the tool rows: the tool's reference cell is coloured from here on
        QCOMPARE(row(tools, 0), QStringLiteral("M1:G|.|MR1:G|.|:B|.|:T|.|:B|.|:T|.|1.00|2.00|3.00|-0.00|0.00|-0.00|-"));
        QCOMPARE(row(tools, 1), QStringLiteral("M2:R|.|:T|.|:T|.|:T|.|:T|.|:T|.|-|-|-|-|-|-|-")); // lost, no reference
        QCOMPARE(row(refs, 0), QStringLiteral(".|MR1:G|.|10.00|20.00|30.00|-0.00|0.00|-0.00|-"));
        // Steady state: ticks recolour and rewrite, they neither ask nor rebuild.
        const QTableWidgetItem *toolState = tools->item(1, 0), *refState = refs->item(0, 1);
        fake->calls.clear();
        QCOMPARE(feed(line("6dmt 2", {"[0 -1 0][1 2 3]", "[1 0.5 1][7 8 9]"})), 0);
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

    // Not available when built: asked again at the start, and once available not again. The output format is
    // read at each start and the outputs switched on when it changed; a failed query counts as the older format.
    void startChecksAvailabilityAndFormat()
    {
        fake->queue("measurementtool available", {{0, "no"}, {0, "yes"}, {0, "no"}});
        fake->queue("measurementtool output_6dmt", {{0, "yes"}, {0, "yes"}, {0, "no"}, {1, ""}});
        QVERIFY(build(13));
        QStringList starts;
        for (int i = 0; i < 4; ++i) {
            fake->calls.clear();
            start();
            requester->measurementStopped();
            starts << fake->calls.join(", ").remove("measurementtool ").remove("setParameter output active chmon ");
        }
        QCOMPARE(starts,
                 QStringList({"getParameter available, getBoolParameter output_6dmt, 6dmt yes, 6dmtr yes",
                              "getBoolParameter output_6dmt", "getBoolParameter output_6dmt, 6dmt2 yes, 6dmtr yes",
                              "getBoolParameter output_6dmt, 6dmt yes, 6dmtr yes"}));
    }

    // The state lists hold the larger maximum, at least 4, at most what a line carries; rows beyond: unasked,
    // uncoloured.
    void moreRecordsThanRows()
    {
        // The maxima of tools and references (none: both queries fail) and the rows kept.
        for (const auto &[maxTools, maxRefs, kept] : QList<std::tuple<const char *, const char *, int>>{
                 {"2", "3", 4}, {"2", "6", 6}, {"7", "3", 7}, {nullptr, nullptr, 4}, {"2000000000", "2000000000", 8}}) {
            init();
            fake->answer("measurementtool max_number_of_tools", maxTools ? 0 : 1, maxTools);
            fake->answer("measurementtool max_number_of_references", maxRefs ? 0 : 1, maxRefs);
            scriptCalibrated(8, 8, {"b09", "b99999999999"});
            QVERIFY(build(14));
            start();
            QVERIFY(feed(toolsLine(8, 1)) == 0 && feed(line("6dmtr 8 1", {"[7 1][1 2 3]"})) == 0);
            fake->calls.clear();
            refresh();
            QCOMPARE(fake->callsOf("getParameter").size(), 4 * kept); // 3 per tool row, 1 per reference row
            QCOMPARE(background(tools, kept - 1, 0), Green);
            if (kept < 8) // beyond the lists: no state kept, none shown
                QCOMPARE(row(tools, kept), QStringLiteral("M%1:T|.|:T|.||.||.||.||.| | | | | | | ").arg(kept + 1));
            // A reference beyond the lists, and one whose number we cannot hold.
            QCOMPARE(row(tools, 0).left(12) + " " + row(tools, 1).left(9), QStringLiteral("M1:G|.|MR9:T M2:G|.|:T"));
            QCOMPARE(background(refs, 7, 1), kept == 8 ? Green : None);
            cleanup();
        }
    }

    void lineResultsAndDeferredStart()
    {
        QVERIFY(build(2, 9));
        // The deferred start runs what came after it: a stop within its millisecond leaves a parser that takes lines.
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

    // A host that runs events during a command delivers a stop while a rebuild waits on a query, and the deferred
    // start of a new measurement with three tools after it: no row and no item of the first survives, nothing more
    // is asked for it, and the new measurement is shown from its own records.
    void stopDuringRebuild()
    {
        const QByteArray query("body calibrated measurementtool b02");
        scriptCalibrated(3, 2, {"b01", "b02"});
        QVERIFY(build(14));
        start();
        QVERIFY(feed(TwoTools) == 0 && feed(line("6dmtr 2 2", {"[0 0.8][10 20 30]", "[1 0.8][1 2 3]"})) == 0);
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
        QCOMPARE(fake->calls.mid(stopAt + 1).filter(QRegularExpression("^getParameter ")).join("; "), QString());
        refresh();
        QVERIFY(tools->rowCount() == 3 && refs->rowCount() == 0);
        // Rebuilt in full: tool 2, lost in the first measurement, tracked in the new one's line.
        QCOMPARE(row(tools, 1), QStringLiteral("M2:G|.|MR2:T|.|:T|.|:T|.|:T|.|:T|.|1.00|2.00|3.00|-0.00|0.00|-0.00|-"));
    }

    // Each state colour comes with a word that assistive technology reads and a tool tip shows; no state, no word.
    // Tool 1 tracked, on reference 1 tracked; tool 2 lost, on 2 not calibrated; tool 3's tip not calibrated.
    void statesInWords()
    {
        scriptCalibrated(3, 1, {"b01", "b02", "none"});
        fake->answer("measurementtool tip_calibrated b03", "no");
        QVERIFY(build(14));
        start();
        QCOMPARE(feed(line("6dmt 3", {"[0 1 5][1 2 3]", "[1 -1 0][0 0 0]", "[2 1 1][0 0 0]"})), 0);
        QCOMPARE(feed(line("6dmtr 2 2", {"[0 1][10 20 30]", "[1 -1][0 0 0]"})), 0);
        refresh(2); // the tool rows see the reference states one tick after the rebuild
        QCOMPARE(spoken(tools, {{0, 0}, {0, 2}, {0, 4}, {0, 6}, {1, 0}, {1, 2}, {2, 0}, {2, 2}, {2, 4}, {0, 12}}) + "; "
                     + spoken(refs, {{0, 1}, {1, 1}}),
                 QStringLiteral("M1, tracked / tracked; MR1, tracked / tracked; pressed / pressed; not pressed / not "
                                "pressed; M2, not tracked / not tracked; MR2, not calibrated / not calibrated; M3, not "
                                "calibrated / not calibrated;  / ;  / ; 1.00 / ; MR1, tracked / tracked; MR2, not "
                                "calibrated / not calibrated"));
        QCOMPARE(tools->item(1, 0)->toolTip() + "|" + tools->item(0, 4)->toolTip() + "|" + refs->item(0, 1)->toolTip(),
                 QStringLiteral("not tracked|pressed|tracked"));
    }
};

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
