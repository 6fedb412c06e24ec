#ifndef PADLOCKDRAWING_H
#define PADLOCKDRAWING_H

#include <QImage>

// The closed padlock shown as the window icon while the controller's
// configuration may not be changed.
class PadlockDrawing
{
public:
    // 48 x 48, grey on a transparent background.
    static QImage picture();
};

#endif // PADLOCKDRAWING_H
