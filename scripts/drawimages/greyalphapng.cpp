#include "greyalphapng.h"

#include <QFile>
#include <QtEndian>

namespace {

void appendBigEndian(QByteArray *bytes, quint32 value)
{
    char raw[4];
    qToBigEndian(value, raw);
    bytes->append(raw, 4);
}

} // namespace

bool GreyAlphaPng::write(const QImage &image, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray png = encode(image);
    return file.write(png) == png.size();
}

QByteArray GreyAlphaPng::encode(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);

    QByteArray header;
    appendBigEndian(&header, quint32(argb.width()));
    appendBigEndian(&header, quint32(argb.height()));
    header.append(char(8)); // bit depth
    header.append(char(4)); // grey with alpha
    header.append(char(0)); // deflate
    header.append(char(0)); // adaptive filtering
    header.append(char(0)); // no interlace

    QByteArray scanlines;
    for (int y = 0; y < argb.height(); ++y) {
        scanlines.append(char(0)); // filter: none
        const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            scanlines.append(char(qGray(line[x])));
            scanlines.append(char(qAlpha(line[x])));
        }
    }
    // qCompress puts the length in front of a plain zlib stream.
    const QByteArray zlib = qCompress(scanlines, 9).mid(4);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += chunk("IHDR", header);
    png += chunk("IDAT", zlib);
    png += chunk("IEND", QByteArray());
    return png;
}

QByteArray GreyAlphaPng::chunk(const char *type, const QByteArray &data)
{
    QByteArray body(type, 4);
    body += data;
    QByteArray result;
    appendBigEndian(&result, quint32(data.size()));
    result += body;
    appendBigEndian(&result, crc32(body));
    return result;
}

quint32 GreyAlphaPng::crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xedb88320u : crc >> 1;
    }
    return crc ^ 0xffffffffu;
}
