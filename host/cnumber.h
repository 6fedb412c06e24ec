#ifndef CNUMBER_H
#define CNUMBER_H

#include <cstdarg>
#include <cstddef>

// Numbers read and written as the standard conversions do in the "C"
// locale, whatever locale the process runs in. A Qt application adopts the
// user's locale at start; a decimal comma must change neither the controller
// texts we send nor the values we read. Never touches process-wide state.
class CNumber
{
public:
    // strtod / strtol in the "C" locale: leading blanks skipped, *end set to
    // the first unread character (to text when nothing was read).
    static double toDouble(const char *text, char **end);
    static long toLong(const char *text, char **end, int base);

    // vsnprintf in the "C" locale: the same result and truncation.
    static int vformat(char *buffer, std::size_t size, const char *format, va_list args);

    // printf "%.<decimals>f" in the "C" locale.
    class Fixed
    {
    public:
        Fixed(double value, int decimals);
        const char *c_str() const { return text; }

    private:
        char text[352]; // the longest double in %f with a few decimals fits
    };

    // The "%.3f" of every decimal setting sent to the controller.
    static Fixed fixed3(double value) { return Fixed(value, 3); }
};

#endif // CNUMBER_H
