#include "host/cnumber.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

locale_t createCLocale()
{
    const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    // Only an exhausted memory fails here; nothing could be read correctly after that.
    if (!locale)
        std::abort();
    return locale;
}

// One "C" locale object for the process, created on first use (thread-safe).
locale_t cLocale()
{
    static const locale_t locale = createCLocale();
    return locale;
}

} // namespace

double CNumber::toDouble(const char *text, char **end)
{
    return strtod_l(text, end, cLocale());
}

long CNumber::toLong(const char *text, char **end, int base)
{
    return strtol_l(text, end, base, cLocale());
}

int CNumber::vformat(char *buffer, std::size_t size, const char *format, va_list args)
{
    // uselocale switches this thread only and is undone at once.
    const locale_t previous = uselocale(cLocale());
    const int length = std::vsnprintf(buffer, size, format, args);
    uselocale(previous);
    return length;
}

CNumber::Fixed::Fixed(double value, int decimals)
{
    const locale_t previous = uselocale(cLocale());
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    uselocale(previous);
}
