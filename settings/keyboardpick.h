#ifndef KEYBOARDPICK_H
#define KEYBOARDPICK_H

#include <QObject>

class QEvent;
class QTableWidget;

// Space on a table's current cell stands for a click on that cell: the
// table reports it as cellClicked(). Moving the cursor alone reports nothing,
// so a keyboard user picks a row as deliberately as a mouse user does.
class KeyboardPick : public QObject
{
    Q_OBJECT

public:
    // Owned by the table it watches.
    explicit KeyboardPick(QTableWidget *table);

signals:
    void picked(int row, int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTableWidget *table;
};

#endif // KEYBOARDPICK_H
