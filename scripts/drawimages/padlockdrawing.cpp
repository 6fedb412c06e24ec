#include "padlockdrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int Size = 48;
}

QImage PadlockDrawing::picture()
{
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // Shackle: an arch whose legs go into the body.
    QPainterPath shackle;
    shackle.moveTo(14.5, 24);
    shackle.lineTo(14.5, 16);
    shackle.arcTo(QRectF(14.5, 6.5, 19, 19), 180, -180);
    shackle.lineTo(33.5, 24);
    painter.setPen(QPen(QColor(70, 70, 70), 6.5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.drawPath(shackle);
    painter.setPen(QPen(QColor(150, 150, 150), 3.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.drawPath(shackle);

    // Body.
    QLinearGradient metal(0, 22, 0, 44);
    metal.setColorAt(0, QColor(178, 178, 178));
    metal.setColorAt(1, QColor(96, 96, 96));
    painter.setPen(QPen(QColor(52, 52, 52), 1.5));
    painter.setBrush(metal);
    painter.drawRoundedRect(QRectF(8.5, 22.5, 31, 22), 4, 4);

    // Keyhole.
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(24, 31), 3.4, 3.4);
    QPolygonF slot;
    slot << QPointF(22.4, 32) << QPointF(25.6, 32) << QPointF(26.6, 39.5) << QPointF(21.4, 39.5);
    keyhole.addPolygon(slot);
    keyhole.setFillRule(Qt::WindingFill);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(36, 36, 36));
    painter.drawPath(keyhole);
    return image;
}
