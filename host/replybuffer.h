#ifndef REPLYBUFFER_H
#define REPLYBUFFER_H

#include "host/iomanager.h"

// Reply words the controller answers with; a reply matches a word only as a
// whole and with the same case.
namespace ReplyWord {
inline constexpr char Yes[] = "yes";
inline constexpr char No[] = "no";
inline constexpr char None[] = "none";
inline constexpr char Err[] = "err";
inline constexpr char Wait[] = "wait";
inline constexpr char Ok[] = "orvel2 ok";
} // namespace ReplyWord

// A caller-owned reply buffer of the size the host may fill. Reading it
// always yields a terminated string, whatever the host wrote.
class ReplyBuffer
{
public:
    ReplyBuffer() { clear(); }

    // Hand this to the command manager.
    char *data() { return buffer; }
    static constexpr int size() { return IOManager::ReplySize; }

    const char *text();
    bool is(const char *word);
    void clear();

private:
    char buffer[IOManager::ReplySize];
};

#endif // REPLYBUFFER_H
