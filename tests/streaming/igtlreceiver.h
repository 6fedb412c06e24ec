#ifndef IGTLRECEIVER_H
#define IGTLRECEIVER_H

#include <cstring>

#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QTcpSocket>

#include <igtl_header.h>
#include <igtlStatusMessage.h>
#include <igtlStringMessage.h>
#include <igtlTransformMessage.h>

// A client as a navigation program would be: the OpenIGTLink library reads
// what the server sends, checksums included.
class IgtlReceiver
{
public:
    struct Message
    {
        QByteArray type;
        QByteArray device;
        igtl::Matrix4x4 matrix;
        int code = -1;
        QByteArray text;
        double stamp = 0.0;
    };

    explicit IgtlReceiver(quint16 port, bool reading = true)
    {
        if (reading)
            QObject::connect(&socket, &QTcpSocket::readyRead, [this]() { read(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }

    QList<Message> of(const char *type, const char *device) const
    {
        QList<Message> found;
        for (const Message &message : messages) {
            if (message.type == type && message.device == device)
                found.append(message);
        }
        return found;
    }
    int count(const char *type, const char *device) const { return counts.value(key(type, device)); }
    Message last(const char *type, const char *device) const { return latest.value(key(type, device)); }

    QTcpSocket socket;
    bool keepAll = true; // else only the counts and the last of each
    QList<Message> messages;
    bool corrupt = false; // a message the library refused

private:
    template <typename T>
    typename T::Pointer body(const igtl::MessageHeader::Pointer &header, const char *bytes)
    {
        typename T::Pointer message = T::New();
        message->SetMessageHeader(header);
        message->AllocatePack();
        std::memcpy(message->GetPackBodyPointer(), bytes, size_t(message->GetPackBodySize()));
        corrupt = corrupt || !(message->Unpack(1) & igtl::MessageHeader::UNPACK_BODY);
        return message;
    }

    void read()
    {
        buffer += socket.readAll();
        while (buffer.size() >= IGTL_HEADER_SIZE) {
            igtl::MessageHeader::Pointer header = igtl::MessageHeader::New();
            header->InitPack();
            std::memcpy(header->GetPackPointer(), buffer.constData(), IGTL_HEADER_SIZE);
            header->Unpack();
            const int size = IGTL_HEADER_SIZE + int(header->GetBodySizeToRead());
            if (buffer.size() < size)
                return;
            Message message;
            message.type = header->GetDeviceType();
            message.device = header->GetDeviceName();
            igtl::TimeStamp::Pointer stamp = igtl::TimeStamp::New();
            header->GetTimeStamp(stamp);
            message.stamp = stamp->GetTimeStamp();
            const char *bytes = buffer.constData() + IGTL_HEADER_SIZE;
            if (message.type == "TRANSFORM") {
                body<igtl::TransformMessage>(header, bytes)->GetMatrix(message.matrix);
            } else if (message.type == "STATUS") {
                igtl::StatusMessage::Pointer status = body<igtl::StatusMessage>(header, bytes);
                message.code = status->GetCode();
                message.text = status->GetStatusString();
            } else if (message.type == "STRING") {
                message.text = body<igtl::StringMessage>(header, bytes)->GetString();
            }
            ++counts[key(message.type, message.device)];
            latest[key(message.type, message.device)] = message;
            if (keepAll)
                messages.append(message);
            buffer.remove(0, size);
        }
    }

    static QByteArray key(const QByteArray &type, const QByteArray &device) { return type + ' ' + device; }

    QByteArray buffer;
    QHash<QByteArray, int> counts;
    QHash<QByteArray, Message> latest;
};

#endif // IGTLRECEIVER_H
