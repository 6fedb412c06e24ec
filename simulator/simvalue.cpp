#include "simulator/simvalue.h"

#include "host/cnumber.h"

#include <cerrno>
#include <climits>
#include <cmath>

bool SimValue::toInt(const QByteArray &text, int *value)
{
    if (text.isEmpty() || text.size() > 32)
        return false;
    const QByteArray copy = text; // NUL-terminated
    char *end = nullptr;
    errno = 0;
    const long v = CNumber::toLong(copy.constData(), &end, 10);
    if (end == copy.constData() || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    *value = static_cast<int>(v);
    return true;
}

bool SimValue::toDouble(const QByteArray &text, double *value)
{
    if (text.isEmpty() || text.size() > 64)
        return false;
    const QByteArray copy = text;
    char *end = nullptr;
    const double v = CNumber::toDouble(copy.constData(), &end);
    if (end == copy.constData() || *end != '\0' || !std::isfinite(v))
        return false;
    // A signed zero would be echoed as "-0.000".
    *value = v == 0.0 ? 0.0 : v;
    return true;
}

bool SimValue::toBool(const QByteArray &text, bool *value)
{
    if (text == "yes")
        *value = true;
    else if (text == "no")
        *value = false;
    else
        return false;
    return true;
}

bool SimValue::toItem(char letter, const QByteArray &text, int *number)
{
    if (text.size() < 2 || text.size() > 4 || text.at(0) != letter)
        return false;
    int n = 0;
    for (int i = 1; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    *number = n;
    return true;
}

bool SimValue::inRange(double value, double low, double high)
{
    return value >= low && value <= high;
}

QByteArray SimValue::fixed(double value, int decimals)
{
    return QByteArray(CNumber::Fixed(value, decimals).c_str());
}

QByteArray SimValue::item(char letter, int number)
{
    QByteArray digits = QByteArray::number(number);
    if (digits.size() < 2)
        digits.prepend('0');
    return letter + digits;
}

bool SimValue::isPlainWord(const QByteArray &text, int maxLength)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    for (const char c : text) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
            || c == '_' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}
