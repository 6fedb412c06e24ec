// Draws the module's pictures into a folder (the resources folder of the
// source tree): the four seesaw frames, the padlock and the help picture.
//   mt_drawimages <folder>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "greyalphapng.h"
#include "padlockdrawing.h"
#include "probedrawing.h"

namespace {

// Frames 1 and 3 are the upright tool, so the cycle rocks 1, 2, 3, 4, 1 ...
constexpr double FrameTilts[4] = {0.0, -15.0, 0.0, 15.0};

bool saveRgb(const QImage &image, const QString &path)
{
    // No alpha channel: written as a plain RGB PNG.
    return image.convertToFormat(QImage::Format_RGB32).save(path, "PNG");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (int i = 0; i < 4; ++i)
        ok = saveRgb(ProbeDrawing::seesawFrame(FrameTilts[i]),
                     folder.filePath(QStringLiteral("image%1.png").arg(i + 1)))
            && ok;
    ok = GreyAlphaPng::write(PadlockDrawing::picture(), folder.filePath(QStringLiteral("lock.png"))) && ok;
    ok = saveRgb(ProbeDrawing::coordinateSystemPicture(), folder.filePath(QStringLiteral("mt_klein.PNG"))) && ok;
    if (!ok) {
        std::fprintf(stderr, "could not write the pictures into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
