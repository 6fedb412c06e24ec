#include "frontend/streaming/igtlmessages.h"

IgtlMessages::IgtlMessages()
    : stamp(igtl::TimeStamp::New())
    , transform(igtl::TransformMessage::New())
    , status(igtl::StatusMessage::New())
    , string(igtl::StringMessage::New())
{
    string->SetEncoding(AsciiEncoding);
}

void IgtlMessages::setTime(qint64 ns)
{
    stamp->SetTime(igtlUint32(ns / 1000000000), igtlUint32(ns % 1000000000));
}

void IgtlMessages::appendTransform(QByteArray *out, const char *device, const double (&matrix)[4][4])
{
    igtl::Matrix4x4 m;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col)
            m[row][col] = float(matrix[row][col]);
    }
    transform->SetMatrix(m);
    append(out, transform, device);
}

void IgtlMessages::appendStatus(QByteArray *out, const char *device, bool tracked)
{
    status->SetCode(tracked ? TrackedCode : NotTrackedCode);
    status->SetSubCode(0);
    status->SetErrorName(tracked ? "" : "NotTracked");
    status->SetStatusString(tracked ? "tracked" : "not tracked");
    append(out, status, device);
}

void IgtlMessages::appendString(QByteArray *out, const char *device, const char *text)
{
    string->SetString(text);
    append(out, string, device);
}

void IgtlMessages::append(QByteArray *out, igtl::MessageBase *message, const char *device)
{
    message->SetDeviceName(device);
    message->SetTimeStamp(stamp);
    message->Pack();
    out->append(static_cast<const char *>(message->GetPackPointer()), message->GetPackSize());
}
