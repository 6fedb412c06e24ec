#include "host/numbereditem.h"

#include <climits>
#include <cstdio>

int NumberedItem::number(int index)
{
    return index == INT_MAX ? INT_MAX : index + 1;
}

NumberedItem::NumberedItem(char letter, int index)
{
    std::snprintf(text, sizeof text, "%c%2.2d", letter, number(index));
}
