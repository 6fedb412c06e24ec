#include "data/orvelparser.h"
#include "host/cnumber.h"

#include <QtTest>

#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>

// Every allocation of the process is counted, so a test can show that a
// steady stream of lines parses without one.
static std::atomic<long> allocationCount{0};

void *operator new(std::size_t size)
{
    ++allocationCount;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

const char *const Pose = "[1 2 3][1 0 0 0 1 0 0 0 1]";

struct Parsed
{
    bool accepted;
    long cursor; // offset after the parse, -1 when null
};

// Parses a writable copy of text and checks the text is left as it came.
Parsed parse(OrvelParser &parser, const std::string &text)
{
    std::string line = text;
    char *cursor = &line[0];
    const bool accepted = parser.parseDataLine(&cursor);
    QTest::qVerify(line == text, "line unchanged", text.c_str(), __FILE__, __LINE__);
    return {accepted, cursor ? long(cursor - line.data()) : -1L};
}

bool accepts(OrvelParser &parser, const std::string &text) { return parse(parser, text).accepted; }

std::string repeat(const std::string &group, int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += group;
    return text;
}

// "6dmt2 " with the given tools, each with 16 pressed buttons.
std::string tools2Line(int tools)
{
    std::string line = "6dmt2 " + std::to_string(tools) + " " + std::to_string(tools);
    for (int i = 0; i < tools; ++i)
        line += " [" + std::to_string(i) + " 0.9 16 1.5]" + Pose + "[65535][1 2 3 4 5 6]";
    return line;
}

} // namespace

class TestOrvelParser : public QObject
{
    Q_OBJECT

private slots:
    void numberReaders();
    void blockReader();
    void frameToolAndReferenceLines();
    void bodyWandHandSkeletonAndMarkerLines();
    void completeFrameAndHostileCounts();
    void decimalCommaLocale();
    void steadyStreamDoesNotAllocate();
};

void TestOrvelParser::numberReaders()
{
    struct IntCase { const char *text; bool ok; int32_t value; int used; };
    const IntCase ints[] = {
        {"010", true, 8, 3}, {"0x10", true, 16, 4}, {" \t-12x", true, -12, 5}, {"+7", true, 7, 2},
        {"08", true, 0, 1}, {"0x", true, 0, 1}, {"0xg", true, 0, 1}, {"-0X1f", true, -31, 5},
        {"99999999999", true, INT32_MAX, 11}, {"-99999999999", true, INT32_MIN, 12},
        {"", false, 0, 0}, {"- 1", false, 0, 0}, {"x1", false, 0, 0}, {".5", false, 0, 0},
    };
    for (const IntCase &c : ints) { // as strtol, saturated to 32 bits
        std::string text = c.text;
        char *cursor = &text[0];
        int32_t value = 99;
        const bool ok = OrvelParser::readInt(&cursor, &value);
        QVERIFY2(ok == c.ok && value == c.value && cursor - text.data() == c.used, c.text);
    }
    for (const auto &c : {std::make_pair("4294967295", 4294967295u), {"4294967296", 4294967295u},
                          {"-1", 4294967295u}, {"-0x10", 4294967280u}, {"010", 8u}}) {
        std::string text = c.first;
        char *cursor = &text[0];
        uint32_t value = 0;
        QVERIFY(OrvelParser::readUInt(&cursor, &value) && value == c.second);
    }

    // Doubles: the same value (bit for bit) and end as strtod in the "C" locale,
    // for fixed cases and for random decimals around the shortcut's limits.
    std::vector<std::string> doubles = {
        "1.5", "-0.000", "1e3", "1e", "1e+", ".5", "5.", ".", "-", "", "0x1p3", "inf", "-nan", "1,5",
        "  \n2.5", "4.9e-324", "1e-30", "9007199254740993", "123456789012345678901234", "1e400", "00.00012e2",
    };
    std::mt19937 random(4);
    const char *const pieces[] = {"0", "1", "5", "9", ".", "e", "-", "00000", "99999", "e2", "e-2"};
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (int k = int(random() % 12); k >= 0; --k)
            text += pieces[random() % 11];
        doubles.push_back(text);
    }
    for (std::string &text : doubles) {
        char *cursor = &text[0];
        double value = 99;
        const bool ok = OrvelParser::readDouble(&cursor, &value);
        char *end = nullptr;
        const double reference = CNumber::toDouble(text.c_str(), &end);
        QVERIFY2(ok == (end != text.c_str()), text.c_str());
        QVERIFY2(std::memcmp(&value, &reference, sizeof value) == 0, text.c_str());
        QVERIFY2(cursor == (ok ? end : text.c_str()), text.c_str());
    }
}

void TestOrvelParser::blockReader()
{
    int32_t ints[4] = {};
    float floats[2] = {};
    double doubles[4] = {};
    struct Case { const char *text; const char *descriptor; long end; }; // end -1: refused
    const Case cases[] = {
        {"xx [1 2.5 3 4.5] tail", "idid", 16}, // text before '[' skipped; kinds land apart
        {"[1 2 3 4 5]", "ddd", 11},            // numbers beyond the descriptor ignored
        {"[1 2]", "ddd", -1},                  // too few
        {"[]", "", 2},                         // empty descriptor, empty block
        {"[ ]", "d", -1},
        {"[1 x]", "dd", -1},
        {"[1 2]", "dq", -1},                   // unknown descriptor character
        {"1 2 3", "d", -1},                    // no '['
        {"[1 2 3", "d", -1},                   // no ']'
        {"[1] 5]", "dd", -1},                  // the first ']' ends the block
        {"[1e]", "d", 4}, {"[0x]", "i", 4}, {"[0x]1]", "ii", -1}, // ...also inside a number
    };
    for (const Case &c : cases) {
        std::string text = c.text;
        char *end = OrvelParser::readBlock(&text[0], c.descriptor, ints, floats, doubles);
        QCOMPARE(end ? long(end - text.data()) : -1L, c.end);
        QCOMPARE(text, std::string(c.text));
        if (c.end == 16) // the first case: its values, each kind from its array's start
            QVERIFY(ints[0] == 1 && ints[1] == 3 && doubles[0] == 2.5 && doubles[1] == 4.5);
    }
    std::string text = "[0x1f 0.25 011 -1e300]";
    QVERIFY(OrvelParser::readBlock(&text[0], "ifif", ints, floats, doubles));
    QVERIFY(ints[0] == 31 && floats[0] == 0.25f && ints[1] == 9 && floats[1] == -HUGE_VALF);
    text = "[7 8";  // without its ']' the block is not read at all
    QVERIFY(!OrvelParser::readBlock(&text[0], "ii", ints, floats, doubles) && ints[0] == 31);
}

void TestOrvelParser::frameToolAndReferenceLines()
{
    OrvelParser parser;
    QVERIFY(!parser.parseDataLine(nullptr));
    QVERIFY(parse(parser, "fr 0x20").cursor == 7 && parser.frameCounter == 32);
    QVERIFY(accepts(parser, "ts 12.5") && parser.timestamp == 12.5);
    QVERIFY(accepts(parser, "6dcal 010") && accepts(parser, "glcal 2"));
    QVERIFY(parser.calBodyCount == 8 && parser.calHandCount == 2);

    const Parsed unknown = parse(parser, "6dx 1 [0 1]");
    QVERIFY(unknown.accepted && unknown.cursor == 0);
    const Parsed noTime = parse(parser, "ts x");
    QVERIFY(!noTime.accepted && noTime.cursor == -1 && parser.timestamp == -1.0);
    QVERIFY(!accepts(parser, "fr -") && parser.frameCounter == 0);
    QVERIFY(accepts(parser, "6dcal") && parser.calBodyCount == 8);  // no space: another type
    QVERIFY(!accepts(parser, "6dcal x") && parser.calBodyCount == 0);
    QVERIFY(!accepts(parser, "glcal -") && parser.calHandCount == 0);

    const std::string two = "6dmt 2 [0 1.000 5][1 2 3][1 0 0 0 1 0 0 0 1] [1 -1.000 0][0 0 0][1 0 0 0 1 0 0 0 1]";
    QCOMPARE(parse(parser, two).cursor, long(two.size()));
    QVERIFY(parser.toolCount() == 2 && parser.toolsInCal == 2);
    const MeaToolRecord *tool = parser.toolAt(0);
    QCOMPARE(std::vector<int>(tool->buttons, tool->buttons + 5), std::vector<int>({1, 0, 1, 0, 0}));
    QVERIFY(tool->quality == 1.0 && tool->pos[2] == 3.0 && parser.toolAt(1)->quality == -1.0);
    QVERIFY(!parser.toolAt(2) && !parser.toolAt(-1));
    QVERIFY(accepts(parser, two) && parser.toolAt(0) == tool);  // same count: the list stays

    QVERIFY(accepts(parser, "6dmt 0"));
    QVERIFY(!parser.toolAt(0) && parser.tools.empty());
    const Parsed wrongId = parse(parser, std::string("6dmt 1 [1 1.0 0]") + Pose);
    QVERIFY(!wrongId.accepted && wrongId.cursor == 16 && parser.toolCount() == 1); // after the block with the id

    // Newer format: 20 buttons stored as 16, all pressed.
    QVERIFY(accepts(parser, std::string("6dmt2 3 1 [0 0.9 20 1.5]") + Pose + "[1048575][1 2 3 4 5 6]"));
    tool = parser.toolAt(0);
    QCOMPARE(std::count(tool->buttons, tool->buttons + 16, 1), 16L);
    QVERIFY(tool->buttonCount == 16 && tool->tipRadius == 1.5 && tool->extra[5] == 6.0 && parser.toolsInCal == 0);
    QVERIFY(accepts(parser, std::string("6dmt2 1 1 [0 0.9 0 1]") + Pose + "[][1 2 3 4 5 6]"));
    QCOMPARE(std::count(tool->buttons, tool->buttons + 16, 0), 16L);
    QCOMPARE(parse(parser, std::string("6dmt2 1 1 [0 0.9 0 1]") + Pose + "[1 2 3 4 5 6]").cursor, -1L);
    QVERIFY(!accepts(parser, std::string("6dmt2 1 1 [0 0.9 -1 1]") + Pose + "[][1 2 3 4 5 6]"));
    QVERIFY(!accepts(parser, "6dmt -1") && !accepts(parser, "6dmt2 1 -1") && !accepts(parser, "6dmt2 x 1"));
    QCOMPARE(parser.toolCount(), 1);

    // References: every one not tracked until the line reports it.
    QVERIFY(accepts(parser, std::string("6dmtr 2 2 [0 0.5]") + Pose + "[1 0.7]" + Pose));
    QVERIFY(accepts(parser, "6dmtr 2 1 [1 0.8][4 5 6][1 0 0 0 1 0 0 0 1]"));
    // Not in the line: not tracked, its last pose kept.
    QVERIFY(parser.toolRefCount() == 2 && parser.toolRefAt(0)->quality == -1.0 && parser.toolRefAt(0)->pos[0] == 1.0);
    QVERIFY(parser.toolRefAt(1)->quality == 0.8 && parser.toolRefAt(1)->id == 1 && !parser.toolRefAt(2));
    QVERIFY(!accepts(parser, "6dmtr 2 1 [2 0.8][4 5 6][1 0 0 0 1 0 0 0 1]"));
    QVERIFY(!accepts(parser, "6dmtr 2 1 [-1 0.8]") && !accepts(parser, "6dmtr -2 0"));
    // More groups announced than the line holds: those there are still read.
    QVERIFY(parse(parser, std::string("6dmtr 2 999 [0 0.25]") + Pose).cursor == -1
            && parser.toolRefAt(0)->quality == 0.25);
    QVERIFY(accepts(parser, "6dmtr 3 0") && parser.toolRefs.size() == 3 && parser.toolRefAt(2)->quality == -1.0);
}

void TestOrvelParser::bodyWandHandSkeletonAndMarkerLines()
{
    OrvelParser parser;
    QVERIFY(accepts(parser, std::string("6d 1 [3 0.5]") + Pose) && parser.nBodies == 4);
    QVERIFY(parser.bodies[2].id == 2 && parser.bodies[2].quality == -1.0 && parser.bodies[3].quality == 0.5);
    QVERIFY(!accepts(parser, std::string("6d 1 [-1 0.5]") + Pose) && parser.bodies[3].quality == -1.0); // reset first

    QVERIFY(accepts(parser, std::string("6di 2 [1 7 0.25]") + Pose + "[3 2 0.5]" + Pose) && parser.nStateBodies == 4);
    QVERIFY(parser.stateBodies[1].state == 7 && parser.stateBodies[2].id == 2 && parser.stateBodies[2].error == 0.0);

    QVERIFY(accepts(parser, "6df 1 [0 1 160][1 2 3 9 9][1 0 0 0 1 0 0 0 1]"));
    WandRecord wand = parser.wands[0];
    QVERIFY(wand.axes[0] == -1.0 && wand.axes[1] == 0.0 && parser.wandsInCal == 1);
    QCOMPARE(std::vector<int>(wand.buttons, wand.buttons + 8), std::vector<int>({0, 0, 0, 0, 0, 1, 0, 1}));

    QVERIFY(accepts(parser, std::string("6df2 2 1 [0 0.5 0 2]") + Pose + "[0.5 -0.25]"));
    wand = parser.wands[0];
    QVERIFY(parser.nWands == 2 && wand.axisCount == 2 && wand.axes[1] == -0.25);
    QVERIFY(accepts(parser, std::string("6df2 2 1 [0 0.5 3 1]") + Pose + "[5 1]"));
    wand = parser.wands[0];
    QCOMPARE(std::vector<int>(wand.buttons, wand.buttons + 3), std::vector<int>({1, 0, 1}));
    QVERIFY(!accepts(parser, std::string("6df2 2 1 [0 0.5 9 0]") + Pose + "[511]"));
    QVERIFY(!accepts(parser, std::string("6df2 2 1 [0 0.5 0 9]") + Pose + "[1 1 1 1 1 1 1 1 1]"));
    QVERIFY(!accepts(parser, std::string("6df2 1 2 [0 0.5 0 0]") + Pose + "[]"));  // more than defined
    QVERIFY(!accepts(parser, std::string("6df 1 [1 1 0]") + Pose));

    const std::string finger = std::string(Pose) + "[1 2 3 4 5 6]";
    QVERIFY(accepts(parser, "gl 2 [0 0.9 1 5]" + std::string(Pose) + repeat(finger, 5)
                                + "[1 0.8 2 0]" + Pose));
    QVERIFY(parser.nHands == 2 && parser.hands[0].fingerCount == 5 && parser.hands[1].handCode == 2
            && parser.hands[0].fingers[4].values[5] == 6.0);
    QVERIFY(!accepts(parser, "gl 1 [1 0.7 3 6]" + std::string(Pose) + repeat(finger, 6)));
    // Stored before the refusal; the hand not in the line reset.
    QVERIFY(parser.hands[1].quality == 0.7 && parser.hands[1].handCode == 3 && parser.hands[0].quality == -1.0);
    QVERIFY(!accepts(parser, "gl 1 [-1 0.7 3 0]" + std::string(Pose)));

    const std::string joint = "[7 0.5][1 2 3 10 20 30][1 0 0 0 1 0 0 0 1]";
    QVERIFY(accepts(parser, "6dj 2 1 [1 2]" + repeat(joint, 2)));
    QVERIFY(parser.nSkeletons == 2 && parser.skeletons[1].jointCount == 2);
    QVERIFY(parser.skeletons[1].joints[1].id == 7 && parser.skeletons[1].joints[1].angles[2] == 30.0);
    QVERIFY(!accepts(parser, "6dj 2 1 [2 0]") && !accepts(parser, "6dj 2 1 [0 21]" + repeat(joint, 21)));
    QCOMPARE(parser.skeletons[1].jointCount, 0);  // reset by the line

    QVERIFY(accepts(parser, "3d 5" + repeat(" [1 0.5][1 2 3]", 5)));
    QVERIFY(accepts(parser, "3d 2 [8 0.5][4 5 6] [9 0.5][1 2 3]"));
    QVERIFY(parser.nMarkers == 2 && parser.markers.size() == 5 && parser.markers[0].id == 8);
    QVERIFY(!accepts(parser, "3d x") && parser.nMarkers == 0);
}

void TestOrvelParser::completeFrameAndHostileCounts()
{
    OrvelParser parser;
    parser.beginFrame();
    QVERIFY(accepts(parser, "6dcal 5") && accepts(parser, "glcal 2"));
    QVERIFY(accepts(parser, std::string("6dmt 1 [0 1 0]") + Pose));
    QVERIFY(accepts(parser, std::string("6d 1 [1 0.5]") + Pose));
    parser.completeFrame();
    QVERIFY(parser.nBodies == 4 && parser.bodies[3].quality == -1.0 && parser.bodies[1].quality == 0.5);
    QVERIFY(parser.nHands == 2 && parser.hands[1].quality == -1.0);

    parser.beginFrame();
    QVERIFY(parser.calBodyCount == -1 && accepts(parser, "6dcal 1"));
    parser.completeFrame();
    QVERIFY(parser.nBodies == 1 && parser.bodies.size() == 4);  // a smaller count keeps the list
    QCOMPARE(parser.nHands, 2);                                  // hands not reported: untouched

    // More tools than calibrated bodies: the body list stays as reported.
    QVERIFY(accepts(parser, std::string("6dmt 2 [0 1 0]") + Pose + "[1 1 0]" + Pose));
    parser.completeFrame();
    QCOMPARE(parser.nBodies, 1);

    // Counts and ids beyond what a line can carry refuse it before any resizing.
    parser = OrvelParser();
    QVERIFY(accepts(parser, std::string("6dmt 1 [0 1 0]") + Pose));
    for (const char *line : {"6dmt 311", "6dmt2 0 205", "6dmt 4294967297", "6dmtr 331 0", "6df 311",
                             "6df2 277 0", "6dj 2049 0", "3d 854"})
        QVERIFY2(!accepts(parser, line), line);
    QVERIFY(!accepts(parser, "6d 1 [330 1]") && !accepts(parser, "gl 1 [292 1 0 0]")
            && !accepts(parser, "6di 1 [310 0 0]"));
    QVERIFY(parser.nTools == 1 && parser.bodies.empty() && parser.hands.empty() && parser.stateBodies.empty()
            && parser.toolRefs.empty() && parser.wands.empty() && parser.skeletons.empty()
            && parser.markers.empty());
    // At the limit, in the shortest groups there are, a line is still read.
    QVERIFY(accepts(parser, "6dmtr 330 330" + repeat("[0-0][0-0-0][0-0-0-0-0-0-0-0-0]", 330)));
    QVERIFY(accepts(parser, "3d 853" + repeat("[0-0][0-0-0]", 853)));
    QCOMPARE(parser.nToolRefs + parser.nMarkers, 330 + 853);

    parser.calBodyCount = INT32_MAX;  // a completion beyond any line is not done
    parser.calHandCount = INT32_MAX;
    parser.completeFrame();
    QVERIFY(parser.bodies.empty() && parser.hands.empty());
}

void TestOrvelParser::decimalCommaLocale()
{
    const std::vector<std::string> lines = {
        tools2Line(2), "6dmtr 1 1 [0 0.75][1.25 -2.5e1 3.0e-2][0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9]",
        "ts 1234.5678901234567890123", "3d 2 [0 0.5][1.5 2.5 1e-300] [1 0.5][0x1.8p1 inf 1e400]"};
    const auto run = [&lines](OrvelParser &parser) {
        for (const std::string &line : lines)
            QVERIFY(accepts(parser, line));
    };
    OrvelParser plain, comma;
    run(plain);
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        QFAIL("locale de_DE.UTF-8 is missing: scripts/install-deps.sh installs it");
    const bool decimalComma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    run(comma);
    std::setlocale(LC_ALL, previous.c_str());
    QVERIFY(decimalComma);

    // The values read compared byte for byte (the records' padding is nobody's: not compared).
    const auto same = [](const auto &a, const auto &b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    QVERIFY(same(comma.timestamp, plain.timestamp));
    for (int i = 0; i < 2; ++i) {
        const MeaToolRecord &c = comma.tools[i], &p = plain.tools[i];
        QVERIFY(same(c.quality, p.quality) && same(c.pos, p.pos) && same(c.rot, p.rot)
                && same(c.tipRadius, p.tipRadius) && same(c.extra, p.extra));
        QVERIFY(same(comma.markers[i].quality, plain.markers[i].quality)
                && same(comma.markers[i].pos, plain.markers[i].pos));
    }
    const BodyRecord &c = comma.toolRefs[0], &p = plain.toolRefs[0];
    QVERIFY(same(c.quality, p.quality) && same(c.pos, p.pos) && same(c.rot, p.rot));
    QVERIFY(comma.toolRefs[0].pos[0] == 1.25 && comma.markers[1].pos[0] == 3.0);
}

void TestOrvelParser::steadyStreamDoesNotAllocate()
{
    const std::vector<std::string> lines = {
        "fr 17", "ts 1.5", "6dcal 4", tools2Line(4),
        "6dmtr 4 2 [0 0.5]" + std::string(Pose) + "[3 0.5]" + Pose,
        "6d 2 [0 0.5]" + std::string(Pose) + "[1 0.5]" + Pose, "6di 1 [0 1 0.5]" + std::string(Pose),
        "6df2 1 1 [0 0.5 2 2]" + std::string(Pose) + "[3 0.5 0.5]",
        "gl 1 [0 0.5 1 2]" + std::string(Pose) + repeat(std::string(Pose) + "[1 2 3 4 5 6]", 2),
        "6dj 1 1 [0 1][0 1][1 2 3 4 5 6][1 0 0 0 1 0 0 0 1]", "3d 3" + repeat("[0 1][1 2 3]", 3)};
    std::vector<std::string> copies = lines;  // writable, allocated before counting
    OrvelParser parser;
    const auto parseAll = [&]() {
        for (size_t i = 0; i < lines.size(); ++i) {
            copies[i].assign(lines[i]);
            char *cursor = &copies[i][0];
            QVERIFY2(parser.parseDataLine(&cursor), lines[i].c_str());
        }
        parser.completeFrame();
    };
    parseAll(); // the lists take their sizes
    const long before = allocationCount;
    for (int round = 0; round < 200; ++round)
        parseAll();
    QCOMPARE(allocationCount - before, 0L);
    // The count sees the parser's allocations: a growing list is one.
    std::string grow = "3d 4" + repeat("[0 1][1 2 3]", 4);
    char *cursor = &grow[0];
    QVERIFY(parser.parseDataLine(&cursor));
    QVERIFY(allocationCount - before > 0);
}

QTEST_APPLESS_MAIN(TestOrvelParser)
#include "tst_orvelparser.moc"
