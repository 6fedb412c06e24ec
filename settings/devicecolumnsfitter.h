#ifndef DEVICECOLUMNSFITTER_H
#define DEVICECOLUMNSFITTER_H

#include <QObject>

class QEvent;
class QTableWidget;
class QTabWidget;
class QWidget;

// The tools table and the device list sit side by side, and both show a
// radio device's model and serial. The device list keeps its width when the
// dialog grows (the tools table takes the room), so it asks, through its own
// minimum width, for what its columns need; its page's layout holds nothing
// but the list. A model column is as wide as its setup made it, or as its
// text where wider. Where large fonts leave less room than both tables need,
// the shortfall is taken from the two model columns in proportion to those
// widths, elided in their middle, never below their header; the serials and
// the tools' other columns keep their width, so neither table scrolls
// sideways. The window that holds both is widened for larger fonts once it
// is shown.
class DeviceColumnsFitter : public QObject
{
    Q_OBJECT

public:
    struct Columns
    {
        QTableWidget *table;
        int model;
        int serial;
    };

    DeviceColumnsFitter(Columns tools, Columns list, QObject *parent);

    void fit();
    // Where the dialog's own size leaves the tools table too little room to
    // show its columns without scrolling (large fonts): how much wider the
    // dialog must get for both tables' whole texts. Otherwise 0.
    Q_INVOKABLE int missingWidth() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What a column's header and cells need to show their whole text.
    static int textWidth(const QTableWidget *table, int column);

    // What a table's columns take, measured once per fit.
    struct Widths
    {
        int others; // every column but the model
        int frame;  // the frame and a vertical scroll bar
        int model;  // its setup's width, or its text where wider
        int header; // the least it gives way to
        int need() const { return frame + others + model; }
        int least() const { return frame + others + header; }
    };
    static Widths measure(Columns columns, int setupWidth);
    // The model column gets what the viewport leaves it, between its header and its width.
    static void fitModelColumn(Columns columns, Widths widths);

    // The window's size suits the fonts it was drawn with; larger ones widen
    // it, within the screen, as far as the tools table needs to show its
    // columns without scrolling sideways.
    void fitWindow();

    Columns tools;
    Columns list;
    QWidget *listPages;
    QTabWidget *listTabs;
    QWidget *window;
    int toolsSetupWidth;
    int listSetupWidth;
};

#endif // DEVICECOLUMNSFITTER_H
