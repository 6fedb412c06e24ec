#include "data/orvelparser.h"
#include "host/cnumber.h"

#include <QtTest>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

// Every allocation of the process is counted, so a test can show that a refused line allocates nothing.
static std::atomic<long> allocationCount{0};

void *operator new(std::size_t size)
{
    ++allocationCount;
    void *p = std::malloc(size ? size : 1);
    return p ? p : throw std::bad_alloc();
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

const std::string Pose = "[1 2 3][1 0 0 0 1 0 0 0 1]";
using Lines = std::vector<std::string>;

// The groups of ids 0 to n-1, each written from group with its id in place of '#'.
std::string groups(const std::string &group, int n)
{
    std::string text;
    const size_t at = group.find('#');
    for (int i = 0; i < n; ++i)
        text += at == std::string::npos ? group : group.substr(0, at) + std::to_string(i) + group.substr(at + 1);
    return text;
}

// Every byte of the parser's state, the lists' places and capacities included: equal, nothing was written or moved.
std::string snapshot(const OrvelParser &parser)
{
    std::string state;
    const auto bytes = [&state](const auto &value) {
        state.append(reinterpret_cast<const char *>(&value), sizeof value);
    };
    const auto list = [&](int32_t count, const auto &records) {
        for (const uintptr_t value : {uintptr_t(uint32_t(count)), records.size(), records.capacity(),
                                      reinterpret_cast<uintptr_t>(records.data())})
            bytes(value);
        state.append(reinterpret_cast<const char *>(records.data()), records.size() * sizeof records[0]);
    };
    for (const int32_t value : {parser.calBodyCount, parser.calHandCount, parser.wandsInCal, parser.toolsInCal})
        bytes(value);
    bytes(parser.frameCounter);
    bytes(parser.timestamp);
    list(parser.nBodies, parser.bodies);
    list(parser.nWands, parser.wands);
    list(parser.nTools, parser.tools);
    list(parser.nToolRefs, parser.toolRefs);
    list(parser.nHands, parser.hands);
    list(parser.nSkeletons, parser.skeletons);
    list(parser.nStateBodies, parser.stateBodies);
    list(parser.nMarkers, parser.markers);
    return state;
}

} // namespace

Q_DECLARE_METATYPE(Lines)

class TestOrvelParser : public QObject
{
    Q_OBJECT

    OrvelParser parser;
    // Parses a writable copy of text, checking it is left as it came: "+" or "-", then the cursor's offset if any.
    QByteArray parse(const std::string &text)
    {
        std::string line = text;
        char *cursor = &line[0];
        const bool accepted = parser.parseDataLine(&cursor);
        QTest::qVerify(line == text, "line unchanged", text.c_str(), __FILE__, __LINE__);
        return (accepted ? "+" : "-") + (cursor ? QByteArray::number(qlonglong(cursor - line.data())) : QByteArray());
    }
    bool accepts(const std::string &text) { return parse(text).startsWith('+'); }
    // A fresh parser takes every line, then completes the frame if asked to.
    bool acceptsAll(const Lines &lines, bool complete = false)
    {
        parser = OrvelParser();
        const bool all = std::all_of(lines.begin(), lines.end(), [this](const std::string &l) { return accepts(l); });
        if (complete)
            parser.completeFrame();
        return all;
    }

private slots:
    // The suite runs in the environment's locale, as a Qt application would.
    void initTestCase() { std::setlocale(LC_ALL, ""); }
    void init() { parser = OrvelParser(); }

    // Doubles: the same value (bit for bit) and end as strtod in the "C" locale (random texts: the fuzz target).
    void doubleReader()
    {
        for (const QByteArray &text :
             QByteArray("1.5|-0.000|1e3|1e|1e+|.5|5.|.|-||0x1p3|inf|-nan|1,5|  \n2.5|4.9e-324|1e-30|"
                        "9007199254740993|123456789012345678901234|1e400|00.00012e2|99999.00000e-2")
                 .split('|')) {
            QByteArray copy = text;
            char *cursor = copy.data();
            double value = 99;
            const bool read = OrvelParser::readDouble(&cursor, &value);
            char *end = nullptr;
            const double reference = CNumber::toDouble(text.constData(), &end);
            QVERIFY2(read == (end != text.constData()) && cursor - copy.data() == end - text.constData()
                         && std::memcmp(&value, &reference, sizeof value) == 0,
                     text.constData());
        }
    }

    // A block's end, -1 when refused; the text is left as it came and a refused block is not stored.
    void blockReader()
    {
        int32_t ints[4] = {};
        float floats[2] = {};
        double doubles[4] = {};
        const auto end = [&](const std::string &text, const char *descriptor) {
            std::string line = text;
            const char *read = OrvelParser::readBlock(&line[0], descriptor, ints, floats, doubles);
            QTest::qVerify(line == text, "line unchanged", text.c_str(), __FILE__, __LINE__);
            return read ? long(read - line.data()) : -1L;
        };
        QCOMPARE(end("xx [0x1f 2.5 011 -1e300] tail", "idif"), 24L); // text before '[' skipped
        // Each kind from its array's start, ints as strtol with base 0 reads them.
        QVERIFY(ints[0] == 31 && doubles[0] == 2.5 && ints[1] == 9 && floats[0] == -HUGE_VALF);
        QCOMPARE(end("[]", ""), 2L);
        ints[0] = 0;
        QVERIFY(end("[7 8", "ii") == -1 && ints[0] == 0);   // no ']'
        QVERIFY(end("[0x]1]", "ii") == -1 && ints[0] == 0); // ']' ends the block inside a number
        QCOMPARE(end("1 2 3", "d"), -1L);                   // no '['
        QCOMPARE(end("[1 2]", "ddd"), -1L);                 // fewer numbers than the descriptor
    }

    void lineTypes()
    {
        QVERIFY(!parser.parseDataLine(nullptr));
        QVERIFY(parse("fr 0x20") == "+7" && parser.frameCounter == 32 && accepts("ts 12.5")
                && parser.timestamp == 12.5);
        QVERIFY(accepts("6dcal 010") && accepts("glcal 2") && parser.calBodyCount == 8 && parser.calHandCount == 2);
        QVERIFY(parse("ts x") == "-" && parser.timestamp == -1.0 && !accepts("fr -") && parser.frameCounter == 0);
        QVERIFY(accepts("6dcal") && parser.calBodyCount == 8); // no space: another type
        QVERIFY(!accepts("6dcal x") && parser.calBodyCount == 0);
        // Tools, older format: four buttons of the word, ids in order.
        const std::string two = "6dmt 2 [0 1.000 5]" + Pose + " [1 -1.000 0][0 0 0][1 0 0 0 1 0 0 0 1]";
        QVERIFY(parse(two) == "+" + QByteArray::number(int(two.size())) && parser.toolsInCal == 2);
        const MeaToolRecord *tool = parser.toolAt(0);
        QCOMPARE(std::vector<int>(tool->buttons, tool->buttons + 5), std::vector<int>({1, 0, 1, 0, 0}));
        QVERIFY(accepts(two) && parser.toolAt(0) == tool);                             // same count: the list stays
        QVERIFY(parse("6dmt 1 [1 1.0 0]" + Pose) == "-16" && parser.toolCount() == 1); // a wrong id: after its block
        // Newer format: 20 buttons kept as 16; the older format over it keeps four of the word, clears the rest.
        QVERIFY(accepts("6dmt2 3 1 [0 0.9 20 1.5]" + Pose + "[1048575][1 2 3 4 5 6]") && parser.toolsInCal == 0);
        tool = parser.toolAt(0);
        QVERIFY(std::count(tool->buttons, tool->buttons + 16, 1) == 16 && tool->buttonCount == 16);
        QVERIFY(tool->tipRadius == 1.5 && tool->extra[5] == 6.0);
        QVERIFY(accepts("6dmt 1 [0 1 0x1f5]" + Pose) && parser.toolAt(0) == tool && tool->buttonCount == 4);
        QVERIFY(std::count(tool->buttons, tool->buttons + 16, 1) == 2 && tool->buttons[0] && tool->buttons[2]);
        QVERIFY(tool->tipRadius == 0.0 && tool->extra[5] == 0.0);
        QCOMPARE(parse("6dmt2 1 1 [0 0.9 0 1]" + Pose + "[1 2 3 4 5 6]"), "-"); // no button block
        QVERIFY(!accepts("6dmt -1") && !accepts("6dmt2 1 -1") && parser.toolCount() == 1);
        // References beyond those defined refused; a line announcing more groups than it holds, after reading them.
        QVERIFY(!accepts("6dmtr 2 1 [2 0.8]" + Pose));
        QVERIFY(parse("6dmtr 2 999 [0 0.25]" + Pose) == "-" && parser.toolRefAt(0)->quality == 0.25);
        // Bodies and state bodies by id, those not in the line reset first.
        QVERIFY(accepts("6d 1 [3 0.5]" + Pose) && parser.nBodies == 4);
        QVERIFY(parser.bodies[2].id == 2 && parser.bodies[2].quality == -1.0 && parser.bodies[3].quality == 0.5);
        QVERIFY(!accepts("6d 1 [-1 0.5]" + Pose) && parser.bodies[3].quality == -1.0);
        QVERIFY(accepts("6di 2 [1 7 0.25]" + Pose + "[3 2 0.5]" + Pose) && parser.stateBodies[1].state == 7);
        // Wands: the older word carries a hat; the newer format its own counts.
        QVERIFY(accepts("6df 1 [0 1 160][1 2 3 9 9][1 0 0 0 1 0 0 0 1]") && parser.wandsInCal == 1);
        const std::vector<WandRecord> &wands = parser.wands;
        QVERIFY(wands[0].axes[0] == -1.0 && wands[0].axes[1] == 0.0);
        QCOMPARE(std::vector<int>(wands[0].buttons, wands[0].buttons + 8), std::vector<int>({0, 0, 0, 0, 0, 1, 0, 1}));
        QVERIFY(accepts("6df2 2 1 [0 0.5 3 1]" + Pose + "[5 -0.25]") && parser.nWands == 2);
        QVERIFY(wands[0].axisCount == 1 && wands[0].axes[0] == -0.25);
        QCOMPARE(std::vector<int>(wands[0].buttons, wands[0].buttons + 3), std::vector<int>({1, 0, 1}));
        QVERIFY(!accepts("6df2 1 2 [0 0.5 0 0]" + Pose + "[]")); // more wands than defined
        // Hands: stored before a refusal, the hand not in the line reset.
        const std::string finger = Pose + "[1 2 3 4 5 6]";
        QVERIFY(accepts("gl 2 [0 0.9 1 5]" + Pose + groups(finger, 5) + "[1 0.8 2 0]" + Pose) && parser.nHands == 2);
        const HandRecord *hands = parser.hands.data();
        QVERIFY(hands[0].fingerCount == 5 && hands[1].handCode == 2 && hands[0].fingers[4].values[5] == 6.0);
        QVERIFY(!accepts("gl 1 [1 0.7 3 6]" + Pose + groups(finger, 6)));
        QVERIFY(hands[1].quality == 0.7 && hands[1].handCode == 3 && hands[0].quality == -1.0);
        // Skeletons: a line's joints, reset by the next.
        const std::string joint = "[7 0.5][1 2 3 10 20 30][1 0 0 0 1 0 0 0 1]";
        QVERIFY(accepts("6dj 2 1 [1 2]" + groups(joint, 2)) && parser.nSkeletons == 2);
        const SkeletonRecord &skeleton = parser.skeletons[1];
        QVERIFY(skeleton.jointCount == 2 && skeleton.joints[1].id == 7 && skeleton.joints[1].angles[2] == 30.0);
        QVERIFY(!accepts("6dj 2 1 [0 21]" + groups(joint, 21)) && skeleton.jointCount == 0);
    }

    // Bodies and hands up to the calibrated counts, those not reported reset; a smaller count keeps the list.
    void completeFrame()
    {
        QVERIFY(acceptsAll({"6dcal 5", "glcal 2", "6dmt 1 [0 1 0]" + Pose, "6d 1 [1 0.5]" + Pose}, true));
        QVERIFY(parser.nBodies == 4 && parser.bodies[3].quality == -1.0 && parser.bodies[1].quality == 0.5);
        QVERIFY(parser.nHands == 2 && parser.hands[1].quality == -1.0);
        parser.beginFrame();
        QVERIFY(parser.calBodyCount == -1 && accepts("6dcal 1"));
        parser.completeFrame();
        QVERIFY(parser.nBodies == 1 && parser.bodies.size() == 4 && parser.nHands == 2); // hands untouched
        // The wands of the older format are in the calibrated count too, the newer format's tools are not.
        QVERIFY(acceptsAll(
            {"6dcal 6", "6dmt 1 [0 1 0]" + Pose, "6df 2" + groups("[# 1 0]" + Pose, 2), "6d 1 [0 0.5]" + Pose}, true));
        QVERIFY(parser.wandsInCal == 2 && parser.nBodies == 3 && parser.bodies[2].quality == -1.0);
        QVERIFY(accepts("6dmt2 3 1 [0 0.9 20 1.5]" + Pose + "[1048575][1 2 3 4 5 6]"));
        parser.completeFrame();
        QVERIFY(parser.toolsInCal == 0 && parser.nBodies == 4);
    }

    // Lines whose ids and defined counts no line length bounds, and counts stored as the line gives them.
    void acceptedWhateverTheCount()
    {
        const int most = OrvelParser::MaxDefinedRecords;
        QVERIFY(acceptsAll({"6d 1 [330 1]" + Pose}) && parser.nBodies == 331);
        QVERIFY(acceptsAll({"6dcal " + std::to_string(most)}, true) && parser.nBodies == most);
        QVERIFY(acceptsAll({"glcal " + std::to_string(most)}, true) && parser.nHands == most);
        QVERIFY(acceptsAll({"gl 1 [0 0.5 2 -1]" + Pose}) && parser.hands[0].fingerCount == -1);
        QVERIFY(acceptsAll({"6dj 1 1 [0 -1]"}) && parser.skeletons[0].jointCount == -1);
        QVERIFY(acceptsAll({"6df2 1 1 [0 0.5 -1 0]" + Pose + "[]"}) && parser.wands[0].buttonCount == -1);
        QVERIFY(acceptsAll({"6df2 1 1 [0 0.5 1 -2]" + Pose + "[1]"}) && parser.wands[0].axisCount == -2);
        // A negative number of defined records holds none; the line is read on.
        QVERIFY(acceptsAll({"6df -1"}) && parser.nWands == -1);
        QVERIFY(acceptsAll({"6df2 -1 0"}) && parser.nWands == -1);
        QVERIFY(acceptsAll({"6dj -1 0"}) && parser.nSkeletons == -1);
        const std::string fiveMarkers = "3d 5" + groups("[# 0.5][1 2 3]", 5);
        QVERIFY(acceptsAll({fiveMarkers, "3d -2"}) && parser.nMarkers == -2 && parser.markers.size() == 5); // list kept
        // Counts that are the number of groups in the line, at their limit: lines of 64 KiB and more.
        const int tools = OrvelParser::MaxTools, markers = OrvelParser::MaxMarkers;
        const std::string tool = "[#-0-0][0-0-0][0-0-0-0-0-0-0-0-0]";
        QVERIFY(acceptsAll({"6dmt " + std::to_string(tools) + groups(tool, tools)}) && parser.nTools == tools);
        QVERIFY(acceptsAll({"3d " + std::to_string(markers) + groups("[08][0-0-0]", markers)})
                && parser.nMarkers == markers);
    }

    // Above its maximum a line is refused before it changes anything (and a completion does nothing): no record
    // written, no list moved, no allocation. The lines before the last build the state, lists at their maximum where
    // that is cheap, and the last must leave it as it is. "6d 0", "gl 0" and "6di 0" reset their lists as every line
    // of their type does before reading an id, so only the refusal could change one.
    void refusedAboveTheMaximum_data()
    {
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<bool>("complete"); // the last line accepted; completeFrame refuses
        const Lines state({"6d 1 [1 0.5]" + Pose, "6d 0", "gl 1 [0 0.5 1 1]" + Pose + Pose + "[1 2 3 4 5 6]", "gl 0",
                           "6di 1 [0 1 0.5]" + Pose, "6di 0", "6dmt 1 [0 1 0]" + Pose, "6dmtr 2 1 [1 0.5]" + Pose,
                           "6df2 2 1 [0 0.5 1 1]" + Pose + "[1 0.5]",
                           "6dj 1 1 [0 1][0 1][1 2 3 4 5 6][1 0 0 0 1 0 0 0 1]", "3d 2 [0 1][1 2 3][1 1][4 5 6]"});
        const auto row = [&state](const char *name, Lines atMost, const std::string &last, bool complete = false) {
            atMost.insert(atMost.begin(), state.begin(), state.end());
            atMost.push_back(last);
            QTest::newRow(name) << atMost << complete;
        };
        const int max = OrvelParser::MaxDefinedRecords;
        const std::string most = std::to_string(max), above = std::to_string(max + 1), lastId = std::to_string(max - 1);
        row("6d id 100000", {"6d 1 [" + lastId + " 1]" + Pose, "6d 0"}, "6d 1 [" + most + " 1]" + Pose);
        row("gl id 100000", {"gl 1 [" + lastId + " 1 0 0]" + Pose, "gl 0"}, "gl 1 [" + most + " 1 0 0]" + Pose);
        row("6dmtr 100001 0", {"6dmtr " + most + " 0"}, "6dmtr " + above + " 0");
        row("6df2 100001 0", {"6df2 " + most + " 0"}, "6df2 " + above + " 0");
        row("6dj 100001 0", {}, "6dj " + above + " 0"); // at the maximum the skeletons take 270 MB
        row("6dmt more groups than a line holds", {}, "6dmt " + std::to_string(OrvelParser::MaxTools + 1));
        row("6dmt 4294967297", {}, "6dmt 4294967297");
        row("6dcal 100001 completed", {"6d 1 [" + lastId + " 1]" + Pose}, "6dcal " + above, true);
        row("glcal 100001 completed", {}, "glcal " + above, true);
    }

    void refusedAboveTheMaximum()
    {
        QFETCH(Lines, lines);
        QFETCH(bool, complete);
        const std::string last = lines.back();
        lines.pop_back();
        QVERIFY(acceptsAll(lines));
        parser.beginFrame(); // no tools or wands counted in: "6dcal" is the body count as it stands
        if (complete)
            QVERIFY(accepts(last));
        std::string line = last; // writable, allocated before counting
        char *cursor = &line[0];
        const std::string before = snapshot(parser);
        const long allocations = allocationCount;
        if (complete)
            parser.completeFrame();
        else
            QVERIFY(!parser.parseDataLine(&cursor));
        QCOMPARE(allocationCount - allocations, 0L);
        QVERIFY(snapshot(parser) == before);
    }
};

QTEST_APPLESS_MAIN(TestOrvelParser)
#include "tst_orvelparser.moc"
