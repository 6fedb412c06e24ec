#ifndef TEXTPROTOCOL_H
#define TEXTPROTOCOL_H

#include <cstdarg>

#include <QByteArray>
#include <QtGlobal>

#include "host/replybuffer.h"

// The controller's text protocol as the host speaks it. A module's printf
// format and values become a command text; "orvel2 get <text>" is answered
// "orvel2 set <text> <value>", a set and most commands "orvel2 ok", a
// failure "orvel2 err <n> <message>". Numbers go both ways in the "C"
// locale. The results are CommandManager's: 0, one of its Error values, or
// the controller's own positive error number.
class TextProtocol
{
public:
    static constexpr char GetPrefix[] = "orvel2 get ";
    static constexpr char SetPrefix[] = "orvel2 set ";
    static constexpr auto &OkReply = ReplyWord::Ok;
    static constexpr char TrackingStart[] = "orvel2 tracking start";
    static constexpr char TrackingStop[] = "orvel2 tracking stop";
    static constexpr char StatusQuery[] = "orvel2 get status active";

    // The controller refuses longer lines.
    static constexpr int MaxCommandLength = 1024;

    // The text of a module's format and values, at most MaxCommandLength
    // bytes: 0, BadArgument or TextTooLong.
    static int format(const char *format, va_list args, QByteArray *text);

    // "orvel2 get <text>" answered "orvel2 set <text> <value>" gives <value>;
    // any other reply is UnexpectedReply.
    static int queryValue(const QByteArray &text, const QByteArray &reply, QByteArray *value);
    // n of "orvel2 err <n> <message>"; 0 for any other reply, and
    // UnexpectedReply for an error without a usable number.
    static int controllerError(const QByteArray &reply);
    // The <activity> of "orvel2 set status active <activity>"; false for any other reply.
    static bool statusActivity(const QByteArray &reply, QByteArray *activity);
    // The "output active chmon <output>" of a set's text "output active chmon <output> yes|no".
    static bool outputSwitch(const QByteArray &text, QByteArray *output);

    // A value is read whole (blanks around a number allowed); on false the
    // variable keeps what it held.
    static bool readInt(const QByteArray &value, int *number);
    static bool readDouble(const QByteArray &value, double *number);      // finite values only
    static bool readBool(const QByteArray &value, bool *flag);            // "yes" or "no"
    static bool readTriple(const QByteArray &value, qint32 (&triple)[3]); // "<major> <minor> <patch>"

    // Into a caller's buffer of IOManager::ReplySize bytes: a longer reply is
    // cut, and the NUL always lies inside the buffer.
    static void copyReply(char *buffer, const QByteArray &reply);
};

#endif // TEXTPROTOCOL_H
