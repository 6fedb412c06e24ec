#ifndef GREYALPHAPNG_H
#define GREYALPHAPNG_H

#include <QByteArray>
#include <QImage>
#include <QString>

// Writes an image as an 8-bit grey-with-alpha PNG (colour type 4), which
// Qt's own writer never produces: it writes such pictures as RGBA.
class GreyAlphaPng
{
public:
    static bool write(const QImage &image, const QString &fileName);
    static QByteArray encode(const QImage &image);

private:
    static QByteArray chunk(const char *type, const QByteArray &data);
    static quint32 crc32(const QByteArray &bytes);
};

#endif // GREYALPHAPNG_H
