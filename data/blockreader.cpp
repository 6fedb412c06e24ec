#include "data/blockreader.h"

#include "host/cnumber.h"

#include <cfloat>
#include <cmath>
#include <cstring>

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

// BlockReader::readInt, inlined into the block reader.
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

// BlockReader::readDouble, inlined into the block reader.
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

} // namespace

bool BlockReader::readInt(char **cursor, int32_t *value)
{
    return readCInt(cursor, value);
}

bool BlockReader::readUInt(char **cursor, uint32_t *value)
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

bool BlockReader::readDouble(char **cursor, double *value)
{
    return readCDouble(cursor, value);
}

char *BlockReader::readBlock(char *text, const char *descriptor, int32_t *ints, float *floats, double *doubles)
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
