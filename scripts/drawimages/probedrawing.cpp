#include "probedrawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

const QColor Background(246, 247, 249);
const QColor Outline(52, 56, 62);
const QColor Steel(150, 156, 164);
const QColor Motion(178, 34, 34);
const QColor Axis(24, 96, 170);

constexpr int FrameWidth = 162;
constexpr int FrameHeight = 244;
constexpr double FrameTipY = 222.0;
// The arc the marker head travels on, centred on the tip.
constexpr double MotionRadius = 205.0;
constexpr double MotionSpanDegrees = 20.0;

constexpr int HelpWidth = 242;
constexpr int HelpHeight = 368;
constexpr double HelpScale = 1.5;
constexpr double HelpTipY = 292.0;

QImage blankRgb(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Background);
    return image;
}

} // namespace

const QPointF ProbeDrawing::Hub(0.0, -130.0);
// Uneven distances to the tip, so the farthest and the nearest marker are clear.
const QPointF ProbeDrawing::Markers[4]
    = {QPointF(0.0, -174.0), QPointF(-25.0, -150.0), QPointF(26.0, -157.0), QPointF(13.0, -137.0)};

QImage ProbeDrawing::seesawFrame(double tiltDegrees)
{
    QImage image = blankRgb(FrameWidth, FrameHeight);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF tip(FrameWidth / 2.0, FrameTipY);

    // The surface the tip rests on, with the dimple that holds it.
    QLinearGradient surface(0, FrameTipY, 0, FrameHeight);
    surface.setColorAt(0, QColor(196, 199, 204));
    surface.setColorAt(1, QColor(150, 154, 160));
    painter.fillRect(QRectF(0, FrameTipY, FrameWidth, FrameHeight - FrameTipY), surface);
    painter.setPen(QPen(Outline, 1));
    painter.drawLine(QPointF(0, FrameTipY), QPointF(FrameWidth, FrameTipY));
    QPolygonF dimple;
    dimple << tip + QPointF(-7, 0) << tip + QPointF(0, 5) << tip + QPointF(7, 0);
    painter.setBrush(QColor(120, 124, 130));
    painter.drawPolygon(dimple);

    // The movement: a double arrow on the arc about the tip.
    painter.setPen(QPen(Motion, 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const QRectF arc(tip.x() - MotionRadius, tip.y() - MotionRadius, 2 * MotionRadius, 2 * MotionRadius);
    painter.drawArc(arc, int((90 - MotionSpanDegrees) * 16), int(2 * MotionSpanDegrees * 16));
    for (const double side : {-1.0, 1.0}) {
        const double angle = qDegreesToRadians(side * MotionSpanDegrees);
        const QPointF end = tip + MotionRadius * QPointF(qSin(angle), -qCos(angle));
        const QPointF along(qCos(angle) * side, qSin(angle) * side); // tangent, pointing outwards
        const QPointF across(-along.y(), along.x());
        QPolygonF head;
        head << end + 6 * along << end - 3 * along + 5 * across << end - 3 * along - 5 * across;
        painter.setBrush(Motion);
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(head);
    }

    painter.save();
    painter.translate(tip);
    painter.rotate(tiltDegrees);
    paintProbe(&painter);
    painter.restore();

    // The tip stays where it is.
    painter.setPen(QPen(Motion, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(tip, 5.5, 5.5);
    return image;
}

QImage ProbeDrawing::coordinateSystemPicture()
{
    QImage image = blankRgb(HelpWidth, HelpHeight);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QPointF tip(HelpWidth / 2.0, HelpTipY);

    painter.save();
    painter.translate(tip);
    painter.scale(HelpScale, HelpScale);
    paintProbe(&painter);

    // How the axes are found: the farthest marker gives z, the nearest one y.
    QPen construction(Axis, 1.0 / HelpScale, Qt::DashLine);
    painter.setPen(construction);
    painter.drawLine(Markers[0], QPointF(0, 0));
    const QPointF nearest = Markers[3];
    painter.drawLine(nearest, QPointF(0, nearest.y()));
    painter.restore();

    const QFont font(QStringLiteral("DejaVu Sans"), 11, QFont::Bold);
    painter.setFont(font);
    const QPointF zEnd = tip + QPointF(0, 58);
    const QPointF yEnd = tip + QPointF(64, 0);
    const QPointF xEnd = tip + QPointF(-42, 38);
    paintArrow(&painter, tip, zEnd, Axis);
    paintArrow(&painter, tip, yEnd, Axis);
    paintArrow(&painter, tip, xEnd, Axis);
    painter.setPen(Axis);
    painter.drawText(zEnd + QPointF(8, 4), QStringLiteral("z"));
    painter.drawText(yEnd + QPointF(-4, -8), QStringLiteral("y"));
    painter.drawText(xEnd + QPointF(-14, 6), QStringLiteral("x"));

    // The origin, in the tip.
    painter.setPen(QPen(Outline, 1));
    painter.setBrush(Axis);
    painter.drawEllipse(tip, 3.5, 3.5);
    return image;
}

void ProbeDrawing::paintProbe(QPainter *painter)
{
    painter->save();

    // Needle, tapering into the tip.
    QPolygonF needle;
    needle << QPointF(0, 0) << QPointF(-2.2, -48) << QPointF(2.2, -48);
    painter->setPen(QPen(Outline, 0.8));
    painter->setBrush(Steel);
    painter->drawPolygon(needle);
    painter->drawRect(QRectF(-4, -53, 8, 5));

    // Handle, shaded as a cylinder, with its two buttons.
    QLinearGradient cylinder(-9, 0, 9, 0);
    cylinder.setColorAt(0.0, QColor(44, 62, 84));
    cylinder.setColorAt(0.35, QColor(92, 118, 150));
    cylinder.setColorAt(1.0, QColor(34, 48, 66));
    painter->setBrush(cylinder);
    painter->drawRoundedRect(QRectF(-9, -118, 18, 65), 5, 5);
    painter->setBrush(QColor(226, 130, 36));
    painter->drawEllipse(QPointF(0, -80), 3.2, 3.2);
    painter->setBrush(QColor(70, 160, 90));
    painter->drawEllipse(QPointF(0, -93), 3.2, 3.2);

    // Neck and the arms that carry the markers.
    painter->setBrush(QColor(70, 76, 84));
    painter->drawRect(QRectF(-4, -127, 8, 9));
    painter->setPen(QPen(QColor(60, 66, 74), 3.2, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF &marker : Markers)
        painter->drawLine(Hub, marker);
    painter->setPen(QPen(Outline, 0.8));
    painter->setBrush(QColor(70, 76, 84));
    painter->drawEllipse(Hub, 5, 5);

    for (const QPointF &marker : Markers)
        paintMarker(painter, marker);
    painter->restore();
}

void ProbeDrawing::paintMarker(QPainter *painter, const QPointF &centre)
{
    // A retro-reflective sphere: bright where the light falls, grey at the rim.
    QRadialGradient sphere(centre + QPointF(-2.2, -2.2), MarkerRadius * 1.3);
    sphere.setColorAt(0.0, QColor(255, 255, 255));
    sphere.setColorAt(0.55, QColor(206, 210, 214));
    sphere.setColorAt(1.0, QColor(128, 132, 138));
    painter->setPen(QPen(Outline, 0.8));
    painter->setBrush(sphere);
    painter->drawEllipse(centre, MarkerRadius, MarkerRadius);
}

void ProbeDrawing::paintArrow(QPainter *painter, const QPointF &from, const QPointF &to, const QColor &colour)
{
    const QPointF delta = to - from;
    const double length = qSqrt(QPointF::dotProduct(delta, delta));
    if (length <= 0.0)
        return;
    const QPointF along = delta / length;
    const QPointF across(-along.y(), along.x());
    painter->setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter->drawLine(from, to - 6 * along);
    QPolygonF head;
    head << to << to - 10 * along + 4.5 * across << to - 10 * along - 4.5 * across;
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    painter->drawPolygon(head);
}
