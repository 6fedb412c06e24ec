#include "host/numbereditem.h"

#include <climits>
#include <cstdio>

#include "host/cnumber.h"

int NumberedItem::number(int index)
{
    return index == INT_MAX ? INT_MAX : index + 1;
}

bool NumberedItem::readNumber(const char *reply, int *number)
{
    *number = 0;
    if (!reply || reply[0] == '\0')
        return false;
    const char *digits = reply + 1;
    char *end = nullptr;
    const long value = CNumber::toLong(digits, &end, 10);
    if (end == digits || value < INT_MIN || value > INT_MAX)
        return false;
    *number = int(value);
    return true;
}

NumberedItem::NumberedItem(const char *format, int number)
{
    std::snprintf(text, sizeof text, format, number);
}
