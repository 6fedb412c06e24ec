#ifndef PROBEDRAWING_H
#define PROBEDRAWING_H

#include <QImage>
#include <QPointF>

class QPainter;

// The hand-held measurement tool: a needle with its tip, a handle with two
// buttons and a head of four markers. Painted in coordinates whose origin is
// the tip, the tool pointing up.
class ProbeDrawing
{
public:
    // One frame of the seesaw movement about the fixed tip (162 x 244, RGB).
    static QImage seesawFrame(double tiltDegrees);
    // The tool with the body coordinate system a tip calibration gives it (242 x 368, RGB).
    static QImage coordinateSystemPicture();

private:
    static void paintProbe(QPainter *painter);
    static void paintMarker(QPainter *painter, const QPointF &centre);
    static void paintArrow(QPainter *painter, const QPointF &from, const QPointF &to, const QColor &colour);

    static const QPointF Hub;
    static const QPointF Markers[4];
    static constexpr double MarkerRadius = 7.0;
};

#endif // PROBEDRAWING_H
