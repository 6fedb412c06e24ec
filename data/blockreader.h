#ifndef BLOCKREADER_H
#define BLOCKREADER_H

#include <cstdint>

// The numbers of the controller's data output: single values and [...]
// blocks, read as the "C" locale reads them whatever the process locale.
// Nothing is read past the text's NUL; the text is untrusted.
class BlockReader
{
public:
    // As strtol (base 0: "0x10" is 16, "010" is 8), strtoul and strtod,
    // leading white space skipped. Integers beyond 32 bits saturate as
    // strtol does at its own width. Each stores what it converted (0 on
    // failure); on success the cursor moves past the number, on failure it
    // stays.
    static bool readInt(char **cursor, int32_t *value);
    static bool readUInt(char **cursor, uint32_t *value);
    static bool readDouble(char **cursor, double *value);

    // Reads the first [...] block at or after text: one number per
    // descriptor character, 'i' into ints, 'f' into floats, 'd' into doubles,
    // each array filled from its first slot; numbers beyond the descriptor
    // are ignored. The block's first ']' stands in for a NUL while its
    // numbers are read (the text must be writable) and is put back before
    // the call returns. Returns the position after the ']', or null when
    // there is no '[' or ']', a number is missing or unreadable, or the
    // descriptor holds another character.
    static char *readBlock(char *text, const char *descriptor, int32_t *ints, float *floats, double *doubles);
};

#endif // BLOCKREADER_H
