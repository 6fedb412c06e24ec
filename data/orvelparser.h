#ifndef ORVELPARSER_H
#define ORVELPARSER_H

#include "data/blockreader.h"
#include "data/bodyrecord.h"
#include "data/handrecord.h"
#include "data/markerrecord.h"
#include "data/meatoolrecord.h"
#include "data/skeletonrecord.h"
#include "data/statebodyrecord.h"
#include "data/wandrecord.h"

#include <cstdint>
#include <vector>

// Reads the controller's ASCII data output, one line at a time, into records
// that stay until the next line of the same type overwrites them.
//
// Everything on a line is untrusted. A count that is the number of groups
// the line carries cannot exceed what a line of MaxLineLength bytes holds;
// ids and counts of defined records, which no line length bounds, stop at a
// list size no controller reaches. Either way a line asking for more is
// refused before its list changes. Numbers are read as the "C" locale reads
// them whatever the process locale, and nothing is read past the line's NUL.
// Lists are reused from line to line: a stream with steady counts parses
// without allocating.
//
// The fields are for reading; only the parser writes them, keeping every
// count within its list (the tool and reference lists exactly their counts).
// A few counts are kept negative as the line gives them, meaning none: the
// markers' count and the finger, joint, button and axis counts of a record.
// Not thread-safe: parsing and reading must not overlap.
class OrvelParser
{
public:
    // The longest line the host hands on, its NUL included (a datagram
    // carries at most 65,507 bytes). The parser checks no line's length; it
    // bounds the counts below by it.
    static constexpr int MaxLineLength = 65536;

    // Counts that are the number of groups in the line and also the list's
    // size: at most the groups a line of MaxLineLength bytes can carry, of
    // the shortest kind there is. A block of n numbers takes 2n+1 bytes
    // ("[0-0]" holds two), one less where an int stops at an 8 ("[08]" is
    // the int 0 and the number 8): [08-0][0-0-0][0-0-0-0-0-0-0-0-0] takes
    // 6 + 7 + 19 bytes, [08][0-0-0] 4 + 7. Prefix, count and the longer ids
    // of later groups take room too: the limits round up.
    static constexpr int MaxWands = MaxLineLength / (6 + 7 + 19);           // "6df "
    static constexpr int MaxTools = MaxLineLength / (6 + 7 + 19);           // "6dmt "
    static constexpr int MaxTools2 = MaxLineLength / (7 + 7 + 19 + 2 + 13); // "6dmt2 ", no button
    static constexpr int MaxMarkers = MaxLineLength / (4 + 7);              // "3d "

    // Lists grown by an id or by a count of defined records: as many records
    // as the line names, up to an array size no controller comes near. At
    // this size a list of skeletons, the largest record, takes about 270 MB.
    static constexpr int MaxDefinedRecords = 100000;
    static constexpr int MaxBodies = MaxDefinedRecords;      // "6d " ids, completeFrame's "6dcal " count
    static constexpr int MaxWands2 = MaxDefinedRecords;      // "6df2 " wands defined
    static constexpr int MaxToolRefs = MaxDefinedRecords;    // "6dmtr " references
    static constexpr int MaxHands = MaxDefinedRecords;       // "gl " ids, completeFrame's "glcal " count
    static constexpr int MaxSkeletons = MaxDefinedRecords;   // "6dj " skeletons defined
    static constexpr int MaxStateBodies = MaxDefinedRecords; // "6di " ids

    OrvelParser() = default;
    // No copies: a copy through a base reference would slice a derived
    // parser. Moving is kept for resetting a parser in place.
    OrvelParser(const OrvelParser &) = delete;
    OrvelParser &operator=(const OrvelParser &) = delete;
    OrvelParser(OrvelParser &&) = default;
    OrvelParser &operator=(OrvelParser &&) = default;
    virtual ~OrvelParser();

    // Forgets the frame values: counter 0, timestamp -1, calibrated counts
    // -1 (not reported), tools and wands in the calibration 0.
    virtual void beginFrame();
    // Completes the standard body and hand lists from the calibrated counts,
    // so calibrated bodies the frame did not report read as not tracked.
    virtual void completeFrame();
    // Reads the line at *cursor (NUL-terminated). True when the line was
    // accepted; a line of unknown type is accepted unread. After success the
    // cursor stands after the last number or block read; it is null when a
    // number or block could not be read, and after the last block read when
    // a value failed its check. Blocks are read in place, so the text must
    // be writable; it is left as it came.
    virtual bool parseDataLine(char **cursor);

    int toolCount() const { return nTools; }
    const MeaToolRecord *toolAt(int i) const;
    int toolRefCount() const { return nToolRefs; }
    const BodyRecord *toolRefAt(int i) const;

    // The readers of BlockReader, for the parser's callers.
    static bool readInt(char **cursor, int32_t *value) { return BlockReader::readInt(cursor, value); }
    static bool readUInt(char **cursor, uint32_t *value) { return BlockReader::readUInt(cursor, value); }
    static bool readDouble(char **cursor, double *value) { return BlockReader::readDouble(cursor, value); }
    static char *readBlock(char *text, const char *descriptor, int32_t *ints, float *floats, double *doubles)
    {
        return BlockReader::readBlock(text, descriptor, ints, floats, doubles);
    }

    uint32_t frameCounter = 0;
    double timestamp = -1.0;
    int32_t nBodies = 0;
    std::vector<BodyRecord> bodies;
    int32_t nWands = 0;
    std::vector<WandRecord> wands;
    int32_t nTools = 0;
    std::vector<MeaToolRecord> tools;
    int32_t nToolRefs = 0;
    std::vector<BodyRecord> toolRefs;
    int32_t nHands = 0;
    std::vector<HandRecord> hands;
    int32_t nSkeletons = 0;
    std::vector<SkeletonRecord> skeletons;
    int32_t nStateBodies = 0;
    std::vector<StateBodyRecord> stateBodies;
    int32_t nMarkers = 0;
    std::vector<MarkerRecord> markers;
    int32_t calBodyCount = -1; // -1: not reported
    int32_t calHandCount = -1; // -1: not reported
    int32_t wandsInCal = 0;    // wands that calBodyCount includes
    int32_t toolsInCal = 0;    // measurement tools that calBodyCount includes

private:
    // One procedure per line type, the cursor after its prefix.
    bool parseFrameCounter(char **cursor);
    bool parseTimestamp(char **cursor);
    bool parseCalBodyCount(char **cursor);
    bool parseCalHandCount(char **cursor);
    bool parseBodies(char **cursor);
    bool parseWands(char **cursor);
    bool parseWands2(char **cursor);
    bool parseTools(char **cursor);
    bool parseTools2(char **cursor);
    bool parseToolRefs(char **cursor);
    bool parseHands(char **cursor);
    bool parseSkeletons(char **cursor);
    bool parseStateBodies(char **cursor);
    bool parseMarkers(char **cursor);
};

#endif // ORVELPARSER_H
