#include "host/replybuffer.h"

#include <cstring>

const char *ReplyBuffer::text()
{
    buffer[IOManager::ReplySize - 1] = '\0';
    return buffer;
}

bool ReplyBuffer::is(const char *word)
{
    return word && std::strcmp(text(), word) == 0;
}

void ReplyBuffer::clear()
{
    std::memset(buffer, 0, sizeof buffer);
}
