#ifndef SIMREPLAYSETUP_H
#define SIMREPLAYSETUP_H

#include <QByteArray>
#include <QList>
#include <QMap>

// What a recording tells of the controller it was made with, so that the
// simulated controller answers as that one did while replaying it: product
// and versions (header), the numbers of tools and references (header, else
// the replies recorded, else the most the data lines list), the tool
// format, and per body whether it is calibrated and a tool's reference (the
// replies recorded; a body tracked in the data counts as calibrated, a
// tool's tip too).
class SimReplaySetup
{
public:
    static constexpr int Bodies = 4;          // per-body facts kept for tools and references 1 to 4
    static constexpr int DefaultCapacity = 6; // the simulated controller's body capacity at power-on

    // Header values: a version as "<major> <minor> <patch>".
    void setProduct(const QByteArray &name, const QByteArray &version);
    void setBackend(const QByteArray &version);
    void setToolCount(int count) { headerTools = count; }
    void setReferenceCount(int count) { headerReferences = count; }

    // A command record: a get answered "orvel2 set <name> <value>", or a
    // set answered "orvel2 ok".
    void takeCommand(const QByteArray &command, const QByteArray &reply);
    // A data line as delivered ("6dmt 2 [0 1.000 0][..." ...).
    void takeDataLine(const QByteArray &line);

    // "orvel2 simulate ..." and "orvel2 set ..." commands that make the
    // simulated controller so, in an order it takes them in.
    QList<QByteArray> commands() const;

    int toolCount() const;      // -1: the recording does not say
    int referenceCount() const; // -1: the recording does not say

private:
    void takeFact(const QByteArray &fact);
    QByteArray fact(const QByteArray &name) const { return facts.value(name); }
    QByteArray calibrated(const QByteArray &name, bool tracked) const;

    QByteArray productName;
    QByteArray productVersion;
    QByteArray backendVersion;
    int headerTools = -1;
    int headerReferences = -1;
    int seenTools = -1;
    int seenReferences = -1;
    bool olderFormatSeen = false;
    bool newerFormatSeen = false;
    unsigned toolsTracked = 0; // bit i: tool i + 1 tracked at some time
    unsigned referencesTracked = 0;
    QMap<QByteArray, QByteArray> facts; // the last value recorded of each parameter taken
};

#endif // SIMREPLAYSETUP_H
