#ifndef IGTLLINEENCODER_H
#define IGTLLINEENCODER_H

#include <QByteArray>
#include <QVector>

#include "data/orvelparser.h"
#include "frontend/streaming/igtlmessages.h"

// Turns the measurement tool data lines into OpenIGTLink messages, read by
// the module's own parser: a TRANSFORM per tracked tool ("M1") and tracked
// reference ("MR1"), in the controller's frame, and, on a reference line, a
// tool's pose relative to its assigned reference ("M1ToMR1") when both are
// tracked in the frame (the tool line since the last reference line). STATUS
// and STRING messages tell of changes in tracking and in a tool's buttons.
class IgtlLineEncoder
{
public:
    struct Encoded
    {
        QByteArray poses;  // TRANSFORMs: may be dropped or thinned for a client
        QByteArray events; // STATUS and STRING: every client gets them
        int poseCount = 0;
        bool referenceLine = false;
    };

    // False for a line it does not read or the parser refuses.
    bool encode(const QByteArray &line, qint64 wallNs, Encoded *out);
    // The 1-based reference number of each tool, by tool index; 0 for none.
    void setReferences(const QVector<int> &referenceOfTool) { references = referenceOfTool; }
    // STATUS and STRING of every item seen, for a client that just came.
    QByteArray currentState(qint64 wallNs);
    // The tools of the last tool line; -1 before one came.
    int toolCount() const { return sawTools ? tools.size() : -1; }
    // The measurement stopped or the controller was lost: a STATUS for each
    // item tracked until now, which counts as not tracked from now on.
    QByteArray stopTracking(qint64 wallNs);
    // A new measurement: what is known of the items is stale.
    void forget();

    // matrix[row][col] of a pose as the line gives it (rot column by column).
    static void poseMatrix(const double (&pos)[3], const double (&rot)[9], double (&matrix)[4][4]);
    // inverse(reference) * tool.
    static void relativeMatrix(const double (&reference)[4][4], const double (&tool)[4][4], double (&out)[4][4]);

private:
    struct Item
    {
        int tracked = -1; // -1: not seen yet
        QByteArray buttons;
        double matrix[4][4];
        bool fresh = false; // tracked in the tool line since the last reference line
    };

    void encodeTools(Encoded *out);
    void encodeReferences(Encoded *out);
    bool encodeItem(Item *item, const char *name, double quality, const double (&pos)[3], const double (&rot)[9],
                    Encoded *out);

    OrvelParser parser;
    IgtlMessages messages;
    QByteArray text; // the parser's writable copy
    QVector<Item> tools;
    QVector<Item> refs;
    QVector<int> references;
    bool sawTools = false;
};

#endif // IGTLLINEENCODER_H
