#ifndef IGTLMESSAGES_H
#define IGTLMESSAGES_H

#include <QByteArray>

#include <igtlStatusMessage.h>
#include <igtlStringMessage.h>
#include <igtlTimeStamp.h>
#include <igtlTransformMessage.h>

// Serialises the server's messages with the OpenIGTLink library, appending
// their bytes; one message object per type is reused, so a steady stream
// allocates nothing but the bytes.
class IgtlMessages
{
public:
    // The STATUS codes: a tool that is tracked, and one that is not.
    static constexpr int TrackedCode = igtl::StatusMessage::STATUS_OK;
    static constexpr int NotTrackedCode = igtl::StatusMessage::STATUS_NOT_READY;
    // STRING's encoding: US-ASCII, as IANA numbers it.
    static constexpr int AsciiEncoding = 3;

    IgtlMessages();

    // For the messages that follow: nanoseconds since 1970, UTC.
    void setTime(qint64 ns);

    // matrix[row][col], translation in the last column, millimetres.
    void appendTransform(QByteArray *out, const char *device, const double (&matrix)[4][4]);
    void appendStatus(QByteArray *out, const char *device, bool tracked);
    void appendString(QByteArray *out, const char *device, const char *text);

private:
    void append(QByteArray *out, igtl::MessageBase *message, const char *device);

    igtl::TimeStamp::Pointer stamp;
    igtl::TransformMessage::Pointer transform;
    igtl::StatusMessage::Pointer status;
    igtl::StringMessage::Pointer string;
};

#endif // IGTLMESSAGES_H
