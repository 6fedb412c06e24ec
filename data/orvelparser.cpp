#include "data/orvelparser.h"

#include "data/blockreader.h"

#include <cstring>
#include <exception>

namespace {

inline int32_t bitOf(int32_t word, int k)
{
    return int32_t((uint32_t(word) >> k) & 1u);
}

// Growing value-initialises the new records: all fields zero.
template <typename Record>
bool resizeList(std::vector<Record> &list, int32_t size)
{
    try {
        list.resize(size_t(size));
        return true;
    } catch (const std::exception &) {
        return false; // out of memory: the caller keeps its count
    }
}

// A line's count is the list's new size, but the list moves only when the
// count changes: a steady stream reuses its records. A negative count is
// kept as the line gives it; it holds no record, so the list stays.
template <typename Record>
bool setListCount(std::vector<Record> &list, int32_t &count, int32_t n)
{
    if (n == count)
        return true;
    if (n >= 0 && !resizeList(list, n))
        return false;
    count = n;
    return true;
}

// All fields zero, then the id; a record with a quality reads as not tracked.
template <typename Record>
void resetRecord(Record &record, int32_t id)
{
    record = Record{};
    record.id = id;
    record.quality = -1.0;
}

void resetRecord(StateBodyRecord &record, int32_t id)
{
    record = StateBodyRecord{};
    record.id = id;
}

void resetRecord(SkeletonRecord &record, int32_t id)
{
    record = SkeletonRecord{};
    record.id = id;
}

// Records from..to-1 reset, each with its place as its id.
template <typename Record>
void resetRecords(std::vector<Record> &list, int32_t from, int32_t to)
{
    for (int32_t k = from; k < to; ++k)
        resetRecord(list[k], k);
}

// Records from..size-1 appear as known but not tracked.
template <typename Record>
bool growUntracked(std::vector<Record> &list, int32_t from, int32_t size)
{
    if (!resizeList(list, size))
        return false;
    resetRecords(list, from, size);
    return true;
}

// The record of a list kept by id, the list grown up to it; null when the
// id is outside 0..max-1 or the list cannot grow.
template <typename Record>
Record *recordById(std::vector<Record> &list, int32_t &count, int32_t id, int32_t max)
{
    if (id < 0 || id >= max)
        return nullptr;
    if (id >= count) {
        if (!growUntracked(list, count, id + 1))
            return nullptr;
        count = id + 1;
    }
    return &list[id];
}

// Counts, values and blocks of a line: on failure the cursor becomes null.
bool readCount(char **cursor, int32_t *count)
{
    // Read through a copy: the caller's count, never handed to another
    // file, stays in a register across the block reads that follow.
    int32_t value;
    const bool ok = BlockReader::readInt(cursor, &value);
    *count = value;
    if (!ok)
        *cursor = nullptr;
    return ok;
}

bool readBlockAt(char **cursor, const char *descriptor, int32_t *ints, double *doubles)
{
    *cursor = BlockReader::readBlock(*cursor, descriptor, ints, nullptr, doubles);
    return *cursor != nullptr;
}

bool readPose(char **cursor, double *pos, double *rot)
{
    return readBlockAt(cursor, "ddd", nullptr, pos) && readBlockAt(cursor, "ddddddddd", nullptr, rot);
}

// The record of a list that an id names, within the list's count; else null.
template <typename Record>
Record *recordWithin(std::vector<Record> &list, int32_t count, int32_t id)
{
    return id >= 0 && id < count ? &list[id] : nullptr;
}

// n groups, each opening with a block whose first int is the id of the
// group's record and whose one double, where the descriptor has one, is a
// value of it. recordAt gives the record of a group and its id, null to
// refuse the line; readGroup fills it from the block's ints and value and
// reads the rest of the group. A count allocates nothing: every group reads
// a block, so the line's end ends the loop.
template <typename RecordAt, typename ReadGroup>
bool readGroups(char **cursor, int32_t n, const char *descriptor, RecordAt recordAt, ReadGroup readGroup)
{
    for (int32_t group = 0; group < n; ++group) {
        int32_t ints[3];
        double value = 0.0;
        if (!readBlockAt(cursor, descriptor, ints, &value))
            return false;
        auto *const record = recordAt(group, ints[0]);
        if (!record || !readGroup(*record, ints, value))
            return false;
    }
    return true;
}

// "N" and N groups of a list kept by id: the records the line does not
// report read as not tracked. Ids are what grow the list, and they are
// bounded by max.
template <typename Record, typename ReadGroup>
bool readRecordsById(char **cursor, const char *descriptor, std::vector<Record> &list, int32_t &count, int32_t max,
                     ReadGroup readGroup)
{
    resetRecords(list, 0, count);
    int32_t n;
    if (!readCount(cursor, &n))
        return false;
    const auto byId = [&list, &count, max](int32_t, int32_t id) {
        return recordById(list, count, id, max);
    };
    return readGroups(cursor, n, descriptor, byId, readGroup);
}

// A count of defined records, up to max: the list's new size.
template <typename Record>
bool readDefinedCount(char **cursor, std::vector<Record> &list, int32_t &count, int32_t max)
{
    int32_t defined;
    return readCount(cursor, &defined) && defined <= max && setListCount(list, count, defined);
}

// n groups of a list kept in line order, the list at least that long. Group
// i opens with a block whose first int is its id, which must be i, and whose
// one double is the quality; readGroup gets the record with both set and the
// block's ints, and reads the rest of the group.
template <typename Record, typename ReadGroup>
bool readRecordsInPlace(char **cursor, const char *descriptor, std::vector<Record> &list, int32_t n,
                        ReadGroup readGroup)
{
    const auto inPlace = [&list](int32_t group, int32_t id) {
        return id == group ? &list[group] : nullptr;
    };
    return readGroups(cursor, n, descriptor, inPlace,
                      [&readGroup](Record &record, const int32_t *ints, double quality) {
        record.id = ints[0];
        record.quality = quality;
        return readGroup(record, ints);
    });
}

// One 'i' per started group of 32 buttons, then one 'd' per axis value.
void buildButtonDescriptor(int buttons, int axes, char *descriptor)
{
    for (int k = 0; k < buttons; k += 32)
        *descriptor++ = 'i';
    for (int k = 0; k < axes; ++k)
        *descriptor++ = 'd';
    *descriptor = '\0';
}

// Text after prefix when the line begins with it, else null.
char *afterPrefix(char *line, const char *prefix)
{
    for (; *prefix; ++line, ++prefix) {
        if (*line != *prefix)
            return nullptr;
    }
    return line;
}

} // namespace

OrvelParser::~OrvelParser() = default;

void OrvelParser::beginFrame()
{
    frameCounter = 0;
    timestamp = -1.0;
    calBodyCount = -1;
    calHandCount = -1;
    wandsInCal = 0;
    toolsInCal = 0;
}

void OrvelParser::completeFrame()
{
    // Counts that contradict each other (more tools and wands than
    // calibrated bodies) or pass the list's maximum leave the list as the
    // lines reported it; the bodies and the hands are completed each on
    // their own.
    if (calBodyCount >= 0) {
        const int64_t n = int64_t(calBodyCount) - toolsInCal - wandsInCal;
        if (n >= 0 && n <= MaxBodies) {
            const int32_t count = int32_t(n);
            if (count <= nBodies || growUntracked(bodies, nBodies, count))
                nBodies = count;
        }
    }
    if (calHandCount >= 0 && calHandCount <= MaxHands) {
        if (calHandCount <= nHands || growUntracked(hands, nHands, calHandCount))
            nHands = calHandCount;
    }
}

bool OrvelParser::parseDataLine(char **cursor)
{
    if (!cursor || !*cursor)
        return false;
    struct LineType
    {
        const char *prefix;
        bool (OrvelParser::*parse)(char **);
    };
    // In this order: the first that matches decides.
    static const LineType lineTypes[] = {
        {"fr ", &OrvelParser::parseFrameCounter},    {"ts ", &OrvelParser::parseTimestamp},
        {"6dcal ", &OrvelParser::parseCalBodyCount}, {"6d ", &OrvelParser::parseBodies},
        {"6df ", &OrvelParser::parseWands},          {"6df2 ", &OrvelParser::parseWands2},
        {"6dmt ", &OrvelParser::parseTools},         {"6dmt2 ", &OrvelParser::parseTools2},
        {"6dmtr ", &OrvelParser::parseToolRefs},     {"glcal ", &OrvelParser::parseCalHandCount},
        {"gl ", &OrvelParser::parseHands},           {"6dj ", &OrvelParser::parseSkeletons},
        {"6di ", &OrvelParser::parseStateBodies},    {"3d ", &OrvelParser::parseMarkers},
    };
    for (const LineType &type : lineTypes) {
        if (char *rest = afterPrefix(*cursor, type.prefix)) {
            *cursor = rest;
            return (this->*type.parse)(cursor);
        }
    }
    return true;
}

const MeaToolRecord *OrvelParser::toolAt(int i) const
{
    return i >= 0 && i < nTools ? &tools[size_t(i)] : nullptr;
}

const BodyRecord *OrvelParser::toolRefAt(int i) const
{
    return i >= 0 && i < nToolRefs ? &toolRefs[size_t(i)] : nullptr;
}

bool OrvelParser::parseFrameCounter(char **cursor)
{
    if (readUInt(cursor, &frameCounter))
        return true;
    frameCounter = 0;
    *cursor = nullptr;
    return false;
}

bool OrvelParser::parseTimestamp(char **cursor)
{
    if (readDouble(cursor, &timestamp))
        return true;
    timestamp = -1.0;
    *cursor = nullptr;
    return false;
}

bool OrvelParser::parseCalBodyCount(char **cursor)
{
    return readCount(cursor, &calBodyCount);
}

bool OrvelParser::parseCalHandCount(char **cursor)
{
    return readCount(cursor, &calHandCount);
}

// "6d N [id quality][x y z][r0..r8] ...": bodies by id; ids not in the line
// read as not tracked.
bool OrvelParser::parseBodies(char **cursor)
{
    return readRecordsById(cursor, "id", bodies, nBodies, MaxBodies,
                           [cursor](BodyRecord &body, const int32_t *, double quality) {
        body.quality = quality;
        return readPose(cursor, body.pos, body.rot);
    });
}

// "6df N [id quality buttons][x y z ...][r0..r8] ...": wands in order, the
// button word also carrying a two-axis hat.
bool OrvelParser::parseWands(char **cursor)
{
    int32_t n;
    if (!readCount(cursor, &n) || n > MaxWands)
        return false;
    wandsInCal = n;
    if (!setListCount(wands, nWands, n))
        return false;
    return readRecordsInPlace(cursor, "idi", wands, n, [cursor](WandRecord &wand, const int32_t *ints) {
        const int32_t word = ints[1];
        wand.buttonCount = 8;
        for (int k = 0; k < 8; ++k)
            wand.buttons[k] = bitOf(word, k);
        wand.axisCount = 2;
        wand.axes[0] = bitOf(word, 5) ? -1.0 : bitOf(word, 7) ? 1.0 : 0.0;
        wand.axes[1] = bitOf(word, 4) ? -1.0 : bitOf(word, 6) ? 1.0 : 0.0;
        return readPose(cursor, wand.pos, wand.rot);
    });
}

// "6df2 N1 N2 [id quality nbuttons naxes][x y z][r0..r8][words axes] ...":
// N1 wands defined, N2 of them in the line; nothing is reset.
bool OrvelParser::parseWands2(char **cursor)
{
    if (!readDefinedCount(cursor, wands, nWands, MaxWands2))
        return false;
    int32_t n;
    if (!readCount(cursor, &n))
        return false;
    if (n > 0 && n > nWands)
        return false; // no record for the wands beyond those defined
    return readRecordsInPlace(cursor, "idii", wands, n, [cursor](WandRecord &wand, const int32_t *ints) {
        const int32_t buttons = ints[1];
        const int32_t axes = ints[2];
        // The record holds 8 of each. A negative count is stored as read:
        // no word, no axis value, no button.
        if (buttons > 8 || axes > 8)
            return false;
        wand.buttonCount = buttons;
        wand.axisCount = axes;
        if (!readPose(cursor, wand.pos, wand.rot))
            return false;
        char descriptor[1 + 8 + 1];
        buildButtonDescriptor(buttons, axes, descriptor);
        int32_t word = 0;
        if (!readBlockAt(cursor, descriptor, &word, wand.axes))
            return false;
        for (int k = 0; k < buttons; ++k)
            wand.buttons[k] = bitOf(word, k);
        return true;
    });
}

// "6dmt N [id quality buttons][x y z][r0..r8] ...": the older tool format,
// four buttons in a word, no tip radius.
bool OrvelParser::parseTools(char **cursor)
{
    int32_t n;
    if (!readCount(cursor, &n) || n < 0 || n > MaxTools)
        return false;
    toolsInCal = n;
    if (!setListCount(tools, nTools, n))
        return false;
    return readRecordsInPlace(cursor, "idi", tools, n, [cursor](MeaToolRecord &tool, const int32_t *ints) {
        tool.buttonCount = 4;
        for (int k = 0; k < 16; ++k)
            tool.buttons[k] = k < 4 ? bitOf(ints[1], k) : 0;
        tool.tipRadius = 0.0;
        if (!readPose(cursor, tool.pos, tool.rot))
            return false;
        for (double &value : tool.extra)
            value = 0.0;
        return true;
    });
}

// "6dmt2 M N [id quality nbuttons radius][x y z][r0..r8][words][e0..e5] ...":
// the newer tool format; the first count is not used.
bool OrvelParser::parseTools2(char **cursor)
{
    int32_t defined;
    int32_t n;
    if (!readCount(cursor, &defined) || !readCount(cursor, &n))
        return false;
    if (defined < 0 || n < 0 || n > MaxTools2)
        return false;
    toolsInCal = 0;
    if (!setListCount(tools, nTools, n))
        return false;
    for (int32_t i = 0; i < n; ++i) {
        int32_t ints[2];
        double doubles[2];
        if (!readBlockAt(cursor, "idid", ints, doubles))
            return false;
        if (ints[0] != i || ints[1] < 0)
            return false;
        MeaToolRecord &tool = tools[i];
        tool.id = i;
        tool.quality = doubles[0];
        tool.buttonCount = ints[1] < 16 ? ints[1] : 16;
        for (int k = tool.buttonCount; k < 16; ++k)
            tool.buttons[k] = 0;
        tool.tipRadius = doubles[1];
        if (!readPose(cursor, tool.pos, tool.rot))
            return false;
        char descriptor[1 + 1];
        buildButtonDescriptor(tool.buttonCount, 0, descriptor);
        int32_t word = 0;
        if (!readBlockAt(cursor, descriptor, &word, nullptr))
            return false;
        for (int k = 0; k < tool.buttonCount; ++k)
            tool.buttons[k] = bitOf(word, k);
        if (!readBlockAt(cursor, "dddddd", nullptr, tool.extra))
            return false;
    }
    return true;
}

// "6dmtr R N [id quality][x y z][r0..r8] ...": R references, every one not
// tracked until the line reports it; N of them in the line.
bool OrvelParser::parseToolRefs(char **cursor)
{
    int32_t references;
    if (!readCount(cursor, &references) || references < 0 || references > MaxToolRefs)
        return false;
    if (!setListCount(toolRefs, nToolRefs, references))
        return false;
    for (int32_t k = 0; k < nToolRefs; ++k) {
        toolRefs[k].id = k;
        toolRefs[k].quality = -1.0;
    }
    int32_t n;
    if (!readCount(cursor, &n) || n < 0) // a negative count refuses, as the first
        return false;
    const auto reported = [this](int32_t, int32_t id) {
        return recordWithin(toolRefs, nToolRefs, id);
    };
    return readGroups(cursor, n, "id", reported, [cursor](BodyRecord &reference, const int32_t *, double quality) {
        reference.quality = quality;
        return readPose(cursor, reference.pos, reference.rot);
    });
}

// "gl N [id quality code nfingers][x y z][r0..r8] {[x y z][r0..r8][v0..v5]} ...":
// hands by id, each with its fingers.
bool OrvelParser::parseHands(char **cursor)
{
    return readRecordsById(cursor, "idii", hands, nHands, MaxHands,
                           [cursor](HandRecord &hand, const int32_t *ints, double quality) {
        hand.handCode = ints[1];
        hand.quality = quality;
        const int32_t fingers = ints[2];
        if (fingers > HandRecord::MaxFingers) // the record holds 5; a negative count means none
            return false;
        hand.fingerCount = fingers;
        if (!readPose(cursor, hand.pos, hand.rot))
            return false;
        for (int32_t f = 0; f < fingers; ++f) {
            FingerRecord &finger = hand.fingers[f];
            if (!readPose(cursor, finger.pos, finger.rot) || !readBlockAt(cursor, "dddddd", nullptr, finger.values))
                return false;
        }
        return true;
    });
}

// "6dj N1 N2 [id njoints] {[jid quality][x y z a b c][r0..r8]} ...":
// N1 skeletons defined, N2 in the line, joints in line order.
bool OrvelParser::parseSkeletons(char **cursor)
{
    if (!readDefinedCount(cursor, skeletons, nSkeletons, MaxSkeletons))
        return false;
    resetRecords(skeletons, 0, nSkeletons);
    int32_t n;
    if (!readCount(cursor, &n))
        return false;
    const auto defined = [this](int32_t, int32_t id) {
        return recordWithin(skeletons, nSkeletons, id);
    };
    return readGroups(cursor, n, "ii", defined, [cursor](SkeletonRecord &skeleton, const int32_t *ints, double) {
        const int32_t joints = ints[1];
        // The record holds 20 joints; more refuses the line, a negative
        // count is stored and means none.
        if (joints > SkeletonRecord::MaxJoints)
            return false;
        skeleton.id = ints[0];
        skeleton.jointCount = joints;
        for (int32_t j = 0; j < joints; ++j) {
            JointRecord &joint = skeleton.joints[j];
            double posAndAngles[6];
            if (!readBlockAt(cursor, "id", &joint.id, &joint.quality)
                || !readBlockAt(cursor, "dddddd", nullptr, posAndAngles))
                return false;
            std::memcpy(joint.pos, posAndAngles, sizeof joint.pos);
            std::memcpy(joint.angles, posAndAngles + 3, sizeof joint.angles);
            if (!readBlockAt(cursor, "ddddddddd", nullptr, joint.rot))
                return false;
        }
        return true;
    });
}

// "6di N [id state error][x y z][r0..r8] ...": bodies by id with a state.
bool OrvelParser::parseStateBodies(char **cursor)
{
    return readRecordsById(cursor, "iid", stateBodies, nStateBodies, MaxStateBodies,
                           [cursor](StateBodyRecord &body, const int32_t *ints, double error) {
        body.state = ints[1];
        body.error = error;
        return readPose(cursor, body.pos, body.rot);
    });
}

// "3d N [id quality][x y z] ...": markers in line order; the list only grows.
bool OrvelParser::parseMarkers(char **cursor)
{
    int32_t n;
    if (!readCount(cursor, &n)) {
        nMarkers = 0;
        return false;
    }
    if (n > MaxMarkers)
        return false;
    // A negative count is stored as read: it is below every list size.
    if (n > 0 && size_t(n) > markers.size() && !resizeList(markers, n))
        return false;
    nMarkers = n;
    for (int32_t i = 0; i < n; ++i) {
        MarkerRecord &marker = markers[i];
        if (!readBlockAt(cursor, "id", &marker.id, &marker.quality) || !readBlockAt(cursor, "ddd", nullptr, marker.pos))
            return false;
    }
    return true;
}
