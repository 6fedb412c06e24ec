#include "data/orvelparser.h"

#include "host/cnumber.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <exception>

// The number readers run for every number of every line: inlined into
// the block reader they cost no calls.
#define MT_ALWAYS_INLINE inline __attribute__((always_inline))

namespace {

// isspace() of the "C" locale: blank, \t, \n, \v, \f, \r.
inline bool isCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Value of c as a digit of bases up to 16; 16 for anything else.
inline int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 16;
}

// strtol's syntax with base 0. The magnitude stops growing once it passes
// every 32-bit value, which keeps it exact wherever the result is not
// saturated. Returns the end of the number, or null when there is none.
MT_ALWAYS_INLINE const char *scanInteger(const char *p, bool *negative, uint64_t *magnitude)
{
    while (isCSpace(*p))
        ++p;
    *negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    constexpr uint64_t saturated = uint64_t(1) << 40;
    uint64_t value = 0;
    if (*p == '0') {
        // "0x" counts only with a hex digit behind it; alone it is the number 0.
        const int base = (p[1] == 'x' || p[1] == 'X') && digitValue(p[2]) < 16 ? 16 : 8;
        if (base == 16)
            p += 2;
        for (int digit; (digit = digitValue(*p)) < base; ++p) {
            if (value < saturated)
                value = value * base + digit;
        }
    } else if (isDigit(*p)) {
        for (; isDigit(*p); ++p) {
            if (value < saturated)
                value = value * 10 + unsigned(*p - '0');
        }
    } else {
        return nullptr;
    }
    *magnitude = value;
    return p;
}

// OrvelParser::readInt, inlined into the block reader.
MT_ALWAYS_INLINE bool readCInt(char **cursor, int32_t *value)
{
    bool negative;
    uint64_t magnitude;
    const char *end = scanInteger(*cursor, &negative, &magnitude);
    if (!end) {
        *value = 0;
        return false;
    }
    if (negative)
        *value = magnitude > uint64_t(INT32_MAX) + 1 ? INT32_MIN : int32_t(-int64_t(magnitude));
    else
        *value = magnitude > uint64_t(INT32_MAX) ? INT32_MAX : int32_t(magnitude);
    *cursor += end - *cursor;
    return true;
}

// Appends the digit run at p to *mantissa (wrapping; the caller refuses
// runs too long for it) and returns its end.
MT_ALWAYS_INLINE const char *scanDigits(const char *p, uint64_t *mantissa)
{
    uint64_t value = *mantissa;
    for (; isDigit(*p); ++p)
        value = value * 10 + unsigned(*p - '0');
    *mantissa = value;
    return p;
}

#if FLT_EVAL_METHOD == 0
// 10^0 to 10^22: every one of them is an exact double.
constexpr double exactPowersOf10[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

// The common case of strtod, without its cost: a plain decimal (no sign,
// digits, optional fraction, optional exponent) of at most 19 digits whose
// mantissa fits into 2^53 and whose power of ten is at most 22 either way.
// Both are then exact doubles, and one IEEE multiplication or division
// rounds the value correctly, as strtod does. Returns the end of the
// number, or null for anything else, which the caller hands to strtod.
MT_ALWAYS_INLINE const char *scanShortDecimal(const char *p, double *value)
{
    const char *const start = p;
    uint64_t mantissa = 0;
    p = scanDigits(p, &mantissa);
    if ((*p == 'x' || *p == 'X') && p - start == 1 && *start == '0')
        return nullptr; // hexadecimal float
    std::ptrdiff_t digits = p - start;
    std::ptrdiff_t fractionDigits = 0;
    if (*p == '.') {
        const char *const fraction = ++p;
        p = scanDigits(p, &mantissa);
        fractionDigits = p - fraction;
        digits += fractionDigits;
    }
    if (digits == 0 || digits > 19)
        return nullptr;
    int exponent = -int(fractionDigits);
    if (*p == 'e' || *p == 'E') {
        // Taken only with a digit; "1e" is the number 1 followed by an 'e'.
        const char *q = p + 1;
        const bool negative = *q == '-';
        if (*q == '+' || *q == '-')
            ++q;
        if (isDigit(*q)) {
            int power = 0;
            for (; isDigit(*q); ++q) {
                if (power < 100000)
                    power = power * 10 + (*q - '0');
            }
            exponent += negative ? -power : power;
            p = q;
        }
    }
    if (mantissa == 0) {
        *value = 0.0;
        return p;
    }
    if (mantissa > (uint64_t(1) << 53) || exponent < -22 || exponent > 22)
        return nullptr;
    *value
        = exponent >= 0 ? double(mantissa) * exactPowersOf10[exponent] : double(mantissa) / exactPowersOf10[-exponent];
    return p;
}
#else
// Without strict double evaluation the shortcut could round twice.
const char *scanShortDecimal(const char *, double *)
{
    return nullptr;
}
#endif

// OrvelParser::readDouble, inlined into the block reader.
MT_ALWAYS_INLINE bool readCDouble(char **cursor, double *value)
{
    const char *p = *cursor;
    // Branches rather than arithmetic: predicted, they keep the next
    // number's start off the critical path.
    while (isCSpace(*p))
        ++p;
    // Signs come at random in tracking data: arithmetic, never mispredicted.
    const bool negative = *p == '-';
    p += int(negative) | int(*p == '+');
    double magnitude;
    if (const char *end = scanShortDecimal(p, &magnitude)) {
        uint64_t bits;
        std::memcpy(&bits, &magnitude, sizeof bits);
        bits |= uint64_t(negative) << 63;
        std::memcpy(value, &bits, sizeof bits);
        *cursor += end - *cursor;
        return true;
    }
    // Everything else (long mantissas, large exponents, hex, inf, nan, junk)
    // as strtod reads it.
    char *end = nullptr;
    const double converted = CNumber::toDouble(*cursor, &end);
    if (end == *cursor) {
        *value = 0.0;
        return false;
    }
    *value = converted;
    *cursor = end;
    return true;
}

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
    if (OrvelParser::readInt(cursor, count))
        return true;
    *cursor = nullptr;
    return false;
}

bool readBlockAt(char **cursor, const char *descriptor, int32_t *ints, double *doubles)
{
    *cursor = OrvelParser::readBlock(*cursor, descriptor, ints, nullptr, doubles);
    return *cursor != nullptr;
}

bool readPose(char **cursor, double *pos, double *rot)
{
    return readBlockAt(cursor, "ddd", nullptr, pos) && readBlockAt(cursor, "ddddddddd", nullptr, rot);
}

// "N" and N groups of a list kept by id: the records the line does not
// report read as not tracked. Each group opens with a block whose first int
// is the id and whose one double is the value; readGroup fills the record
// from them and reads the rest of the group. The count allocates nothing:
// every group reads a block, so the line's end ends the loop. Ids are what
// grow the list, and they are bounded by max.
template <typename Record, typename ReadGroup>
bool readRecordsById(char **cursor, const char *descriptor, std::vector<Record> &list, int32_t &count, int32_t max,
                     ReadGroup readGroup)
{
    resetRecords(list, 0, count);
    int32_t n;
    if (!readCount(cursor, &n))
        return false;
    for (int32_t group = 0; group < n; ++group) {
        int32_t ints[3];
        double value;
        if (!readBlockAt(cursor, descriptor, ints, &value))
            return false;
        Record *record = recordById(list, count, ints[0], max);
        if (!record || !readGroup(*record, ints, value))
            return false;
    }
    return true;
}

// A count of defined records, up to max: the list's new size.
template <typename Record>
bool readDefinedCount(char **cursor, std::vector<Record> &list, int32_t &count, int32_t max)
{
    int32_t defined;
    return readCount(cursor, &defined) && defined <= max && setListCount(list, count, defined);
}

// The record at place in a list kept in line order, its id and quality set
// from the group's first block; null when the block's id is not the place.
template <typename Record>
Record *readRecordInPlace(char **cursor, const char *descriptor, std::vector<Record> &list, int32_t place,
                          int32_t *ints)
{
    double quality;
    if (!readBlockAt(cursor, descriptor, ints, &quality) || ints[0] != place)
        return nullptr;
    Record &record = list[place];
    record.id = place;
    record.quality = quality;
    return &record;
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

bool OrvelParser::readInt(char **cursor, int32_t *value)
{
    return readCInt(cursor, value);
}

bool OrvelParser::readUInt(char **cursor, uint32_t *value)
{
    bool negative;
    uint64_t magnitude;
    const char *end = scanInteger(*cursor, &negative, &magnitude);
    if (!end) {
        *value = 0;
        return false;
    }
    // strtoul at 32 bits: out of range saturates, a minus negates modulo 2^32.
    if (magnitude > UINT32_MAX)
        *value = UINT32_MAX;
    else
        *value = negative ? 0u - uint32_t(magnitude) : uint32_t(magnitude);
    *cursor += end - *cursor;
    return true;
}

bool OrvelParser::readDouble(char **cursor, double *value)
{
    return readCDouble(cursor, value);
}

char *OrvelParser::readBlock(char *text, const char *descriptor, int32_t *ints, float *floats, double *doubles)
{
    if (!text || !descriptor)
        return nullptr;
    char *const open = std::strchr(text, '[');
    if (!open)
        return nullptr;
    char *const close = std::strchr(open + 1, ']');
    if (!close)
        return nullptr;
    // The block ends the text for the readers; put back on every way out.
    *close = '\0';
    char *p = open + 1;
    bool ok = true;
    for (const char *d = descriptor; ok && *d; ++d) {
        switch (*d) {
        case 'd': ok = doubles && readCDouble(&p, doubles++); break;
        case 'f': {
            double value = 0.0;
            ok = floats && readCDouble(&p, &value);
            // A double beyond float's range does not convert: it reads as infinity.
            if (floats)
                *floats++ = value > FLT_MAX ? HUGE_VALF : value < -FLT_MAX ? -HUGE_VALF : float(value);
            break;
        }
        case 'i': ok = ints && readCInt(&p, ints++); break;
        default: ok = false;
        }
    }
    *close = ']';
    return ok ? close + 1 : nullptr; // numbers beyond the descriptor are skipped
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
    for (int32_t i = 0; i < n; ++i) {
        int32_t ints[2];
        WandRecord *const record = readRecordInPlace(cursor, "idi", wands, i, ints);
        if (!record)
            return false;
        WandRecord &wand = *record;
        const int32_t word = ints[1];
        wand.buttonCount = 8;
        for (int k = 0; k < 8; ++k)
            wand.buttons[k] = bitOf(word, k);
        wand.axisCount = 2;
        wand.axes[0] = bitOf(word, 5) ? -1.0 : bitOf(word, 7) ? 1.0 : 0.0;
        wand.axes[1] = bitOf(word, 4) ? -1.0 : bitOf(word, 6) ? 1.0 : 0.0;
        if (!readPose(cursor, wand.pos, wand.rot))
            return false;
    }
    return true;
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
    for (int32_t i = 0; i < n; ++i) {
        int32_t ints[3];
        WandRecord *const record = readRecordInPlace(cursor, "idii", wands, i, ints);
        if (!record)
            return false;
        WandRecord &wand = *record;
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
    }
    return true;
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
    for (int32_t i = 0; i < n; ++i) {
        int32_t ints[2];
        MeaToolRecord *const record = readRecordInPlace(cursor, "idi", tools, i, ints);
        if (!record)
            return false;
        MeaToolRecord &tool = *record;
        tool.buttonCount = 4;
        for (int k = 0; k < 16; ++k)
            tool.buttons[k] = k < 4 ? bitOf(ints[1], k) : 0;
        tool.tipRadius = 0.0;
        if (!readPose(cursor, tool.pos, tool.rot))
            return false;
        for (double &value : tool.extra)
            value = 0.0;
    }
    return true;
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
    for (int32_t group = 0; group < n; ++group) {
        int32_t id;
        double quality;
        if (!readBlockAt(cursor, "id", &id, &quality))
            return false;
        if (id < 0 || id >= nToolRefs)
            return false;
        BodyRecord &reference = toolRefs[id];
        reference.quality = quality;
        if (!readPose(cursor, reference.pos, reference.rot))
            return false;
    }
    return true;
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
    for (int32_t group = 0; group < n; ++group) {
        int32_t ints[2];
        if (!readBlockAt(cursor, "ii", ints, nullptr))
            return false;
        const int32_t id = ints[0];
        const int32_t joints = ints[1];
        // The record holds 20 joints; more refuses the line, a negative
        // count is stored and means none.
        if (id < 0 || id >= nSkeletons || joints > SkeletonRecord::MaxJoints)
            return false;
        SkeletonRecord &skeleton = skeletons[id];
        skeleton.id = id;
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
    }
    return true;
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
