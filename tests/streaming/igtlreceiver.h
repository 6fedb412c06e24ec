#ifndef IGTLRECEIVER_H
#define IGTLRECEIVER_H

#include <algorithm>
#include <cstring>
#include <iterator>

#include <QHostAddress>
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
    };

    explicit IgtlReceiver(quint16 port)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this]() { read(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }

    QList<Message> of(const char *type, const char *device) const
    {
        QList<Message> found;
        std::copy_if(messages.cbegin(), messages.cend(), std::back_inserter(found),
                     [&](const Message &message) { return message.type == type && message.device == device; });
        return found;
    }
    int count(const char *type, const char *device) const { return of(type, device).size(); }
    Message last(const char *type, const char *device) const { return of(type, device).value(count(type, device) - 1); }

    QTcpSocket socket;
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
            messages.append(message);
            buffer.remove(0, size);
        }
    }

    QByteArray buffer;
};

#endif // IGTLRECEIVER_H
