#ifndef SIMRECORDING_H
#define SIMRECORDING_H

#include "simulator/simreplaysetup.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// A file to replay, read line by line (memory stays flat however long it
// is; no line may be longer than MaxLineBytes). Either a recording: line 1
// "# orvel-recording 1", data records "D <ms> <type> <line>" (times never
// going back), command records "C <ms> <duration> <result>
// <command>\t<reply>", "# ..." header and comment lines; or a raw capture:
// data lines only, each of the type its first word names, the lines of one
// frame sharing a time (a frame begins at "fr" or at a type already in the
// frame). Blank lines are skipped. The file is checked whole when opened;
// a cut last line (no line end, or a record cut short) is then skipped.
class SimRecording
{
public:
    static constexpr int MaxLineBytes = 64 * 1024;
    static constexpr int FormatVersion = 1;

    // A record's text with its "\xNN" escapes undone; any other backslash
    // stays. The front-end's writer escapes what this undoes.
    static QByteArray unescaped(const QByteArray &text);

    struct Record
    {
        qint64 at = 0;   // a recording: ms since it began; a raw capture: the frame's number
        QByteArray type; // the output type it was delivered as: "6dmt", "fr", ...
        QByteArray line; // the data line as delivered
    };

    // Reads and checks the whole file. False with errorText() "<file>:<line>:
    // <reason>" (or "<file>: <reason>" when it cannot be opened).
    bool open(const QString &fileName);
    QString errorText() const { return error; }
    QString fileName() const { return name; }

    bool isRaw() const { return raw; }
    qint64 dataLines() const { return dataCount; }
    qint64 firstAt() const { return first; }
    qint64 lastAt() const { return last; }
    // From the last record to the first again when it loops: the usual step
    // between two times of the recording (ms), one frame of a raw capture.
    qint64 loopGap() const;
    // The number of the cut last line that is skipped; 0 for none.
    qint64 skippedLine() const { return cutLine; }
    const SimReplaySetup &setup() const { return facts; }

    // After open(): the next data record, false at the end or when the file
    // no longer reads as it did when opened (failed() then, errorText() why).
    bool next(Record *record);
    bool failed() const { return !error.isEmpty(); }
    void rewind();

private:
    enum class Read { Line, Cut, TooLong, Failed, End };
    enum class Kind { Skip, Data, Bad };

    Read readLine(QByteArray *text);
    Kind parse(const QByteArray &text, Record *record, QByteArray *reason);
    Kind parseData(const QByteArray &text, Record *record, QByteArray *reason);
    Kind parseCommand(const QByteArray &text, QByteArray *reason);
    Kind parseHeader(const QByteArray &text, QByteArray *reason);
    Kind parseRaw(const QByteArray &text, Record *record, QByteArray *reason);
    bool fail(const QByteArray &reason);
    void restart();

    QString name;
    QFile file;
    QString error;
    bool raw = false;
    bool scanning = false; // opening: the setup is taken, the times counted
    qint64 lineNumber = 0;
    qint64 previousAt = -1;
    qint64 dataCount = 0;
    qint64 distinctTimes = 0;
    qint64 first = 0;
    qint64 last = 0;
    qint64 cutLine = 0;
    qint64 frame = 0;               // of a raw capture
    QList<QByteArray> typesInFrame; // of a raw capture
    SimReplaySetup facts;
};

#endif // SIMRECORDING_H
