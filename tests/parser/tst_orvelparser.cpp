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
    void *p = std::malloc(size ? size : 1);
    return p ? p : throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

const std::string Pose = "[1 2 3][1 0 0 0 1 0 0 0 1]";
using Lines = std::vector<std::string>;

// Runs a number reader on a copy of text: the characters read, -1 when
// refused with the cursor left in place (-2 when it moved).
template <typename T>
long readNumber(bool (*read)(char **, T *), std::string text, T *value)
{
    char *cursor = &text[0];
    const bool ok = read(&cursor, value);
    return ok ? long(cursor - text.data()) : cursor == text.data() ? -1L : -2L;
}


std::string repeat(const std::string &group, int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += group;
    return text;
}

// Two tools in the newer format, each with 16 pressed buttons.
const std::string Tools2 = "6dmt2 2 2 [0 0.9 16 1.5]" + Pose + "[65535][1 2 3 4 5 6] [1 0.9 16 1.5]" + Pose
                           + "[65535][1 2 3 4 5 6]";

} // namespace

class TestOrvelParser : public QObject
{
    Q_OBJECT

    OrvelParser parser;
    QByteArray parse(const std::string &text);
    bool accepts(const std::string &text) { return parse(text).startsWith('+'); }

private slots:
    void init() { parser = OrvelParser(); }
    void numberAndBlockReaders();
    void lineTypes();
    void completeFrameAndHostileCounts();
    void decimalCommaLocale();
    void steadyStreamDoesNotAllocate();
};

// Parses a writable copy of text and checks the text is left as it came.
// "+" accepted or "-" refused, then the cursor's offset (none when null).
QByteArray TestOrvelParser::parse(const std::string &text)
{
    std::string line = text;
    char *cursor = &line[0];
    const bool accepted = parser.parseDataLine(&cursor);
    QTest::qVerify(line == text, "line unchanged", text.c_str(), __FILE__, __LINE__);
    return (accepted ? "+" : "-") + (cursor ? QByteArray::number(qlonglong(cursor - line.data())) : QByteArray());
}

void TestOrvelParser::numberAndBlockReaders()
{
    // As strtol and strtoul with base 0, saturated to 32 bits; 0 stored on a refusal.
    struct IntCase { const char *text; int32_t asInt; uint32_t asUInt; long used; };
    const IntCase ints[] = {
        {"010", 8, 8, 3}, {"0x10", 16, 16, 4}, {" \t-12x", -12, 4294967284u, 5}, {"+7", 7, 7, 2},
        {"08", 0, 0, 1}, {"0x", 0, 0, 1}, {"0xg", 0, 0, 1}, {"-0X1f", -31, 4294967265u, 5},
        {"2147483648", INT32_MAX, 2147483648u, 10}, {"4294967296", INT32_MAX, UINT32_MAX, 10},
        {"99999999999", INT32_MAX, UINT32_MAX, 11}, {"-99999999999", INT32_MIN, UINT32_MAX, 12},
        {"", 0, 0, -1}, {"- 1", 0, 0, -1}, {"x1", 0, 0, -1}, {".5", 0, 0, -1},
    };
    for (const IntCase &c : ints) {
        int32_t asInt = 99;
        uint32_t asUInt = 99;
        QVERIFY2(readNumber(OrvelParser::readInt, c.text, &asInt) == c.used && asInt == c.asInt, c.text);
        QVERIFY2(readNumber(OrvelParser::readUInt, c.text, &asUInt) == c.used && asUInt == c.asUInt, c.text);
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
    for (const std::string &text : doubles) {
        double value = 99;
        char *end = nullptr;
        const double reference = CNumber::toDouble(text.c_str(), &end);
        const long used = end == text.c_str() ? -1 : long(end - text.c_str());
        QVERIFY2(readNumber(OrvelParser::readDouble, text, &value) == used
                     && std::memcmp(&value, &reference, sizeof value) == 0, text.c_str());
    }

    int32_t blockInts[4] = {};
    float floats[2] = {};
    double blockDoubles[4] = {};
    struct BlockCase { const char *text; const char *descriptor; long end; }; // end -1: refused
    const BlockCase blocks[] = {
        {"xx [1 2.5 3 4.5] tail", "idid", 16}, // text before '[' skipped; kinds land apart
        {"[1 2 3 4 5]", "ddd", 11},            // numbers beyond the descriptor ignored
        {"[1 2]", "ddd", -1}, {"[ ]", "d", -1}, {"[1 x]", "dd", -1}, {"[]", "", 2},
        {"[1 2]", "dq", -1},                   // unknown descriptor character
        {"1 2 3", "d", -1}, {"[1 2 3", "d", -1},
        {"[1] 5]", "dd", -1},                  // the first ']' ends the block
        {"[1e]", "d", 4}, {"[0x]", "i", 4}, {"[0x]1]", "ii", -1}, // ...also inside a number
    };
    for (const BlockCase &c : blocks) {
        std::string text = c.text;
        char *end = OrvelParser::readBlock(&text[0], c.descriptor, blockInts, floats, blockDoubles);
        QCOMPARE(end ? long(end - text.data()) : -1L, c.end);
        QCOMPARE(text, std::string(c.text));
        if (c.end == 16) // each kind from its array's start
            QVERIFY(blockInts[0] == 1 && blockInts[1] == 3 && blockDoubles[0] == 2.5 && blockDoubles[1] == 4.5);
    }
    std::string text = "[0x1f 0.25 011 -1e300]";
    QVERIFY(OrvelParser::readBlock(&text[0], "ifif", blockInts, floats, blockDoubles));
    QVERIFY(blockInts[0] == 31 && floats[0] == 0.25f && blockInts[1] == 9 && floats[1] == -HUGE_VALF);
    text = "[7 8"; // without its ']' the block is not read at all
    QVERIFY(!OrvelParser::readBlock(&text[0], "ii", blockInts, floats, blockDoubles) && blockInts[0] == 31);
}

void TestOrvelParser::lineTypes()
{
    QVERIFY(!parser.parseDataLine(nullptr));
    QVERIFY(parse("fr 0x20") == "+7" && parser.frameCounter == 32 && accepts("ts 12.5") && parser.timestamp == 12.5);
    QVERIFY(accepts("6dcal 010") && accepts("glcal 2") && parser.calBodyCount == 8 && parser.calHandCount == 2);
    QCOMPARE(parse("6dx 1 [0 1]"), "+0"); // unknown type: accepted unread
    QVERIFY(parse("ts x") == "-" && parser.timestamp == -1.0 && !accepts("fr -") && parser.frameCounter == 0);
    QVERIFY(accepts("6dcal") && parser.calBodyCount == 8); // no space: another type
    QVERIFY(!accepts("6dcal x") && parser.calBodyCount == 0 && !accepts("glcal -") && parser.calHandCount == 0);

    // Tools, older format: four buttons of the word, ids in order.
    const std::string two = "6dmt 2 [0 1.000 5]" + Pose + " [1 -1.000 0][0 0 0][1 0 0 0 1 0 0 0 1]";
    QVERIFY(parse(two) == "+" + QByteArray::number(int(two.size())) && parser.toolsInCal == 2);
    const MeaToolRecord *tool = parser.toolAt(0);
    QCOMPARE(std::vector<int>(tool->buttons, tool->buttons + 5), std::vector<int>({1, 0, 1, 0, 0}));
    QVERIFY(tool->quality == 1.0 && tool->pos[2] == 3.0 && parser.toolAt(1)->quality == -1.0);
    QVERIFY(parser.toolCount() == 2 && !parser.toolAt(2) && !parser.toolAt(-1));
    QVERIFY(accepts(two) && parser.toolAt(0) == tool); // same count: the list stays
    QVERIFY(accepts("6dmt 0") && !parser.toolAt(0) && parser.tools.empty());
    QVERIFY(parse("6dmt 1 [1 1.0 0]" + Pose) == "-16" && parser.toolCount() == 1); // a wrong id: after its block

    // Newer format: 20 buttons stored as 16, all pressed; then none.
    QVERIFY(accepts("6dmt2 3 1 [0 0.9 20 1.5]" + Pose + "[1048575][1 2 3 4 5 6]") && parser.toolsInCal == 0);
    tool = parser.toolAt(0);
    QVERIFY(std::count(tool->buttons, tool->buttons + 16, 1) == 16 && tool->buttonCount == 16);
    QVERIFY(tool->tipRadius == 1.5 && tool->extra[5] == 6.0);
    QVERIFY(accepts("6dmt2 1 1 [0 0.9 0 1]" + Pose + "[][1 2 3 4 5 6]"));
    QCOMPARE(std::count(tool->buttons, tool->buttons + 16, 0), 16L);
    QCOMPARE(parse("6dmt2 1 1 [0 0.9 0 1]" + Pose + "[1 2 3 4 5 6]"), "-");
    QVERIFY(!accepts("6dmt2 1 1 [0 0.9 -1 1]" + Pose + "[][1 2 3 4 5 6]"));
    QVERIFY(!accepts("6dmt -1") && !accepts("6dmt2 1 -1") && !accepts("6dmt2 x 1") && parser.toolCount() == 1);

    // References: every one not tracked until the line reports it; one not in it keeps its last pose.
    QVERIFY(accepts("6dmtr 2 2 [0 0.5]" + Pose + "[1 0.7]" + Pose));
    QVERIFY(accepts("6dmtr 2 1 [1 0.8][4 5 6][1 0 0 0 1 0 0 0 1]") && parser.toolRefCount() == 2);
    QVERIFY(parser.toolRefAt(0)->quality == -1.0 && parser.toolRefAt(0)->pos[0] == 1.0);
    QVERIFY(parser.toolRefAt(1)->quality == 0.8 && parser.toolRefAt(1)->id == 1 && !parser.toolRefAt(2));
    QVERIFY(!accepts("6dmtr 2 1 [2 0.8]" + Pose) && !accepts("6dmtr 2 1 [-1 0.8]") && !accepts("6dmtr -2 0"));
    // More groups announced than the line holds: those there are still read.
    QVERIFY(parse("6dmtr 2 999 [0 0.25]" + Pose) == "-" && parser.toolRefAt(0)->quality == 0.25);
    QVERIFY(accepts("6dmtr 3 0") && parser.toolRefs.size() == 3 && parser.toolRefAt(2)->quality == -1.0);

    // Bodies and state bodies by id, those not in the line reset first.
    QVERIFY(accepts("6d 1 [3 0.5]" + Pose) && parser.nBodies == 4);
    QVERIFY(parser.bodies[2].id == 2 && parser.bodies[2].quality == -1.0 && parser.bodies[3].quality == 0.5);
    QVERIFY(!accepts("6d 1 [-1 0.5]" + Pose) && parser.bodies[3].quality == -1.0);
    QVERIFY(accepts("6di 2 [1 7 0.25]" + Pose + "[3 2 0.5]" + Pose) && parser.nStateBodies == 4);
    QVERIFY(parser.stateBodies[1].state == 7 && parser.stateBodies[2].id == 2 && parser.stateBodies[2].error == 0.0);

    // Wands: the older word carries a hat; the newer format its own counts.
    QVERIFY(accepts("6df 1 [0 1 160][1 2 3 9 9][1 0 0 0 1 0 0 0 1]") && parser.wandsInCal == 1);
    const WandRecord *wand = &parser.wands[0];
    QVERIFY(wand->axes[0] == -1.0 && wand->axes[1] == 0.0);
    QCOMPARE(std::vector<int>(wand->buttons, wand->buttons + 8), std::vector<int>({0, 0, 0, 0, 0, 1, 0, 1}));
    QVERIFY(accepts("6df2 2 1 [0 0.5 0 2]" + Pose + "[0.5 -0.25]") && parser.nWands == 2);
    wand = &parser.wands[0];
    QVERIFY(wand->axisCount == 2 && wand->axes[1] == -0.25 && accepts("6df2 2 1 [0 0.5 3 1]" + Pose + "[5 1]"));
    QCOMPARE(std::vector<int>(wand->buttons, wand->buttons + 3), std::vector<int>({1, 0, 1}));
    for (const std::string &line : Lines{"6df2 2 1 [0 0.5 9 0]" + Pose + "[511]", "6df 1 [1 1 0]" + Pose,
                                         "6df2 2 1 [0 0.5 0 9]" + Pose + "[1 1 1 1 1 1 1 1 1]",
                                         "6df2 1 2 [0 0.5 0 0]" + Pose + "[]"}) // the last: more than defined
        QVERIFY2(!accepts(line), line.c_str());

    const std::string finger = Pose + "[1 2 3 4 5 6]";
    QVERIFY(accepts("gl 2 [0 0.9 1 5]" + Pose + repeat(finger, 5) + "[1 0.8 2 0]" + Pose) && parser.nHands == 2);
    const HandRecord *hands = parser.hands.data();
    QVERIFY(hands[0].fingerCount == 5 && hands[1].handCode == 2 && hands[0].fingers[4].values[5] == 6.0);
    // Stored before the refusal; the hand not in the line reset.
    QVERIFY(!accepts("gl 1 [1 0.7 3 6]" + Pose + repeat(finger, 6)));
    QVERIFY(hands[1].quality == 0.7 && hands[1].handCode == 3 && hands[0].quality == -1.0);
    QVERIFY(!accepts("gl 1 [-1 0.7 3 0]" + Pose));

    const std::string joint = "[7 0.5][1 2 3 10 20 30][1 0 0 0 1 0 0 0 1]";
    QVERIFY(accepts("6dj 2 1 [1 2]" + repeat(joint, 2)) && parser.nSkeletons == 2);
    const SkeletonRecord &skeleton = parser.skeletons[1];
    QVERIFY(skeleton.jointCount == 2 && skeleton.joints[1].id == 7 && skeleton.joints[1].angles[2] == 30.0);
    QVERIFY(!accepts("6dj 2 1 [2 0]") && !accepts("6dj 2 1 [0 21]" + repeat(joint, 21)));
    QCOMPARE(skeleton.jointCount, 0); // reset by the line

    // Markers in line order; the list only grows.
    QVERIFY(accepts("3d 5" + repeat(" [1 0.5][1 2 3]", 5)) && accepts("3d 2 [8 0.5][4 5 6] [9 0.5][1 2 3]"));
    QVERIFY(parser.nMarkers == 2 && parser.markers.size() == 5 && parser.markers[0].id == 8);
    QVERIFY(!accepts("3d x") && parser.nMarkers == 0);
}

void TestOrvelParser::completeFrameAndHostileCounts()
{
    parser.beginFrame();
    for (const std::string &line : Lines{"6dcal 5", "glcal 2", "6dmt 1 [0 1 0]" + Pose, "6d 1 [1 0.5]" + Pose})
        QVERIFY(accepts(line));
    parser.completeFrame();
    QVERIFY(parser.nBodies == 4 && parser.bodies[3].quality == -1.0 && parser.bodies[1].quality == 0.5);
    QVERIFY(parser.nHands == 2 && parser.hands[1].quality == -1.0);

    parser.beginFrame();
    QVERIFY(parser.calBodyCount == -1 && accepts("6dcal 1"));
    parser.completeFrame();
    // A smaller count keeps the list; hands not reported: untouched.
    QVERIFY(parser.nBodies == 1 && parser.bodies.size() == 4 && parser.nHands == 2);
    // More tools than calibrated bodies: the body list stays as reported.
    QVERIFY(accepts("6dmt 2 [0 1 0]" + Pose + "[1 1 0]" + Pose));
    parser.completeFrame();
    QCOMPARE(parser.nBodies, 1);

    // Counts and ids beyond what a line can carry refuse it before any resizing.
    parser = OrvelParser();
    QVERIFY(accepts("6dmt 1 [0 1 0]" + Pose));
    for (const char *line : {"6dmt 311", "6dmt2 0 205", "6dmt 4294967297", "6dmtr 331 0", "6df 311", "6df2 277 0",
                             "6dj 2049 0", "3d 854", "6d 1 [330 1]", "gl 1 [292 1 0 0]", "6di 1 [310 0 0]"})
        QVERIFY2(!accepts(line), line);
    QVERIFY(parser.nTools == 1 && parser.bodies.empty() && parser.hands.empty() && parser.stateBodies.empty()
            && parser.toolRefs.empty() && parser.wands.empty() && parser.skeletons.empty() && parser.markers.empty());
    // At the limit, in the shortest groups there are, a line is still read.
    QVERIFY(accepts("6dmtr 330 330" + repeat("[0-0][0-0-0][0-0-0-0-0-0-0-0-0]", 330)));
    QVERIFY(accepts("3d 853" + repeat("[0-0][0-0-0]", 853)) && parser.nToolRefs + parser.nMarkers == 330 + 853);

    parser.calBodyCount = parser.calHandCount = INT32_MAX; // a completion beyond any line is not done
    parser.completeFrame();
    QVERIFY(parser.bodies.empty() && parser.hands.empty());
}

void TestOrvelParser::decimalCommaLocale()
{
    const auto run = [this] {
        for (const std::string &line : Lines{
                 Tools2, "6dmtr 1 1 [0 0.75][1.25 -2.5e1 3.0e-2][0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9]",
                 "ts 1234.5678901234567890123", "3d 2 [0 0.5][1.5 2.5 1e-300] [1 0.5][0x1.8p1 inf 1e400]"})
            QVERIFY(accepts(line));
    };
    run();
    const OrvelParser plain = std::move(parser);
    parser = OrvelParser();
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        QFAIL("locale de_DE.UTF-8 is missing: scripts/install-deps.sh installs it");
    const bool decimalComma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    run();
    std::setlocale(LC_ALL, previous.c_str());
    QVERIFY(decimalComma);

    // The values read compared byte for byte (the records' padding is nobody's: not compared).
    const auto same = [](const auto &a, const auto &b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    QVERIFY(same(parser.timestamp, plain.timestamp));
    for (int i = 0; i < 2; ++i) {
        const MeaToolRecord &c = parser.tools[i], &p = plain.tools[i];
        QVERIFY(same(c.quality, p.quality) && same(c.pos, p.pos) && same(c.rot, p.rot)
                && same(c.tipRadius, p.tipRadius) && same(c.extra, p.extra));
        QVERIFY(same(parser.markers[i].quality, plain.markers[i].quality)
                && same(parser.markers[i].pos, plain.markers[i].pos));
    }
    const BodyRecord &c = parser.toolRefs[0], &p = plain.toolRefs[0];
    QVERIFY(same(c.quality, p.quality) && same(c.pos, p.pos) && same(c.rot, p.rot));
    QVERIFY(c.pos[0] == 1.25 && parser.markers[1].pos[0] == 3.0);
}

void TestOrvelParser::steadyStreamDoesNotAllocate()
{
    const Lines lines = {
        "fr 17", "ts 1.5", "6dcal 2", Tools2, "6dmtr 4 2 [0 0.5]" + Pose + "[3 0.5]" + Pose,
        "6d 2 [0 0.5]" + Pose + "[1 0.5]" + Pose, "6di 1 [0 1 0.5]" + Pose,
        "6df2 1 1 [0 0.5 2 2]" + Pose + "[3 0.5 0.5]", "gl 1 [0 0.5 1 2]" + Pose + repeat(Pose + "[1 2 3 4 5 6]", 2),
        "6dj 1 1 [0 1][0 1][1 2 3 4 5 6][1 0 0 0 1 0 0 0 1]", "3d 3" + repeat("[0 1][1 2 3]", 3)};
    Lines copies = lines; // writable, allocated before counting
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
    QVERIFY(parser.parseDataLine(&cursor) && allocationCount - before > 0);
}

QTEST_APPLESS_MAIN(TestOrvelParser)
#include "tst_orvelparser.moc"
