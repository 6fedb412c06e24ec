#ifndef RECORDFORMAT_H
#define RECORDFORMAT_H

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

// The text of a recording, one record a line, LF-terminated, C locale:
//   # orvel-recording 1              first line, then the header comments
//   D <ms> <type> <data line>        a data line as it arrived
//   C <ms> <duration ms> <result> <command>\t<reply>
//   # <anything>                     events (lost, reconnected, stopped ...)
// ms counts from the recording's start. Bytes below 0x20, 0x7F and the
// backslash are written as \xNN in every record, so that no record spans two
// lines and the tab separates command and reply alone; a controller's data
// line holds none of them and is written as it came.
class RecordFormat
{
    Q_DECLARE_TR_FUNCTIONS(RecordFormat)

public:
    static constexpr char FirstLine[] = "# orvel-recording 1";

    struct Header
    {
        QByteArray frontendVersion;
        QString productName;
        qint32 productVersion[3];
        qint32 backendVersion[3];
        QDateTime started;
        int tools = -1; // -1: not read from the controller before the start
        int references = -1;
        // Replies read before the start: tool ("b01") and its reference ("b02" or "none").
        QList<QPair<QByteArray, QByteArray>> referencesOfTools;
    };

    struct Record
    {
        enum Kind { Data, Command, Comment } kind = Comment;
        qint64 ms = 0;
        qint64 durationMs = 0;
        int result = 0;
        QByteArray type;
        QByteArray text; // the data line, the command, or the comment after "# "
        QByteArray reply;
    };

    // The first line and the header comments.
    static QByteArray header(const Header &header);
    // Nothing for a line without a type word: the host hands such a line to no one.
    static void appendData(QByteArray *out, qint64 ms, const QByteArray &line);
    static void appendCommand(QByteArray *out, qint64 ms, qint64 durationMs, int result, const QByteArray &command,
                              const QByteArray &reply);
    static void appendComment(QByteArray *out, const QByteArray &text);

    static void appendEscaped(QByteArray *out, const QByteArray &text);
    // \xNN back to its byte; anything else as it stands.
    static QByteArray unescaped(const QByteArray &text);

    // One line without its LF. False, with the reason, when it is no record.
    static bool parse(const QByteArray &line, Record *record, QString *reason);
};

#endif // RECORDFORMAT_H
