#ifndef DEVICECOLUMNSFITTER_H
#define DEVICECOLUMNSFITTER_H

#include <QObject>

class QEvent;
class QSpacerItem;
class QTableWidget;

// The device list keeps its width when the dialog grows (the tools table
// takes the room), so its page asks, through an empty item beside it, for
// what the shown columns' texts need, and the model column gets that width.
// The item gives way where large fonts leave less room: then the model
// column does, elided in its middle, down to its setup width, and the serial
// keeps the width of its text. Owned by the list.
class DeviceColumnsFitter : public QObject
{
    Q_OBJECT

public:
    DeviceColumnsFitter(QTableWidget *list, int model, int serial);

    void fit();

    // What a column's header and cells need to show their whole text.
    static int textWidth(const QTableWidget *table, int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTableWidget *table;
    int modelColumn;
    int serialColumn;
    int setupWidth;
    QSpacerItem *widthRequest; // owned by the page's layout
};

#endif // DEVICECOLUMNSFITTER_H
