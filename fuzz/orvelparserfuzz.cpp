// Feeds arbitrary bytes to the data output parser and checks what must hold
// whatever a line says: the line is left as it came, the cursor stays in the
// line, every count lies within its list and every list within its limit.
// The input is cut at its NULs into lines, each fed in order to one parser,
// so a single line and sequences of lines against the state they leave are
// both covered. The number readers are also compared with the standard
// conversions they stand in for.

#include "data/orvelparser.h"
#include "host/cnumber.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// A count lies within its list; the counts a line may give as negative
// (markers, defined wands and skeletons) hold no record then.
template <typename List>
void checkList(int32_t count, const List &list, int limit, const char *what, int32_t lowest = 0)
{
    check(count >= lowest && int64_t(count) <= int64_t(list.size()), what);
    check(list.size() <= size_t(limit), what);
}

void checkInvariants(const OrvelParser &parser)
{
    checkList(parser.nBodies, parser.bodies, OrvelParser::MaxBodies, "bodies");
    checkList(parser.nWands, parser.wands, std::max(OrvelParser::MaxWands, OrvelParser::MaxWands2), "wands", INT32_MIN);
    checkList(parser.nTools, parser.tools, std::max(OrvelParser::MaxTools, OrvelParser::MaxTools2), "tools");
    checkList(parser.nToolRefs, parser.toolRefs, OrvelParser::MaxToolRefs, "references");
    checkList(parser.nHands, parser.hands, OrvelParser::MaxHands, "hands");
    checkList(parser.nSkeletons, parser.skeletons, OrvelParser::MaxSkeletons, "skeletons", INT32_MIN);
    checkList(parser.nStateBodies, parser.stateBodies, OrvelParser::MaxStateBodies, "state bodies");
    checkList(parser.nMarkers, parser.markers, OrvelParser::MaxMarkers, "markers", INT32_MIN);
    check(size_t(parser.nTools) == parser.tools.size(), "tool list has its count");
    check(size_t(parser.nToolRefs) == parser.toolRefs.size(), "reference list has its count");
    check(parser.toolCount() == parser.nTools && parser.toolRefCount() == parser.nToolRefs, "accessors");
    check(!parser.toolAt(parser.nTools) && !parser.toolRefAt(parser.nToolRefs) && !parser.toolAt(-1),
          "no record past the end");

    for (const MeaToolRecord &tool : parser.tools) {
        check(tool.buttonCount >= 0 && tool.buttonCount <= 16, "tool button count");
        for (int k = tool.buttonCount; k < 16; ++k)
            check(tool.buttons[k] == 0, "tool buttons past the count are 0");
    }
    // These counts are kept as the line gives them, a negative one meaning
    // none; never more than the record holds.
    for (const WandRecord &wand : parser.wands)
        check(wand.buttonCount <= 8 && wand.axisCount <= 8, "wand button and axis counts");
    for (const HandRecord &hand : parser.hands)
        check(hand.fingerCount <= HandRecord::MaxFingers, "finger count");
    for (const SkeletonRecord &skeleton : parser.skeletons)
        check(skeleton.jointCount <= SkeletonRecord::MaxJoints, "joint count");
}

// The readers read what strtol and strtod read in the "C" locale, bit for
// bit, and stop where they stop.
void checkReaders(char *text)
{
    char *end = nullptr;
    char *cursor = text;
    int32_t integer = 0;
    const bool intRead = OrvelParser::readInt(&cursor, &integer);
    const long reference = CNumber::toLong(text, &end, 0);
    check(intRead == (end != text), "integer read as strtol");
    check(cursor == (intRead ? end : text), "integer ends where strtol ends");
    check(long(integer) == std::clamp(reference, long(INT32_MIN), long(INT32_MAX)), "integer value");

    cursor = text;
    uint32_t unsignedInteger = 0;
    check(OrvelParser::readUInt(&cursor, &unsignedInteger) == intRead && cursor == (intRead ? end : text),
          "unsigned integer read as strtol");

    cursor = text;
    double value = 0;
    const bool doubleRead = OrvelParser::readDouble(&cursor, &value);
    const double expected = CNumber::toDouble(text, &end);
    check(doubleRead == (end != text), "double read as strtod");
    check(cursor == (doubleRead ? end : text), "double ends where strtod ends");
    check(std::memcmp(&value, &expected, sizeof value) == 0, "double value");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    const std::vector<char> original = text;
    checkReaders(text.data());

    OrvelParser parser;
    char *const end = text.data() + text.size();
    for (char *line = text.data(); line < end; line += std::strlen(line) + 1) {
        char *cursor = line;
        const bool accepted = parser.parseDataLine(&cursor);
        check(text == original, "line unchanged");
        check(!cursor || (cursor >= line && cursor <= line + std::strlen(line)), "cursor within the line");
        check(!accepted || cursor, "an accepted line leaves a cursor");
        checkInvariants(parser);
    }
    parser.completeFrame();
    checkInvariants(parser);
    parser.beginFrame();
    check(parser.calBodyCount == -1 && parser.calHandCount == -1 && parser.frameCounter == 0, "frame begun");
    return 0;
}
