#include "settings/keyboardpick.h"

#include <QKeyEvent>
#include <QTableWidget>

KeyboardPick::KeyboardPick(QTableWidget *watchedTable)
    : QObject(watchedTable)
    , table(watchedTable)
{
    connect(this, &KeyboardPick::picked, table, &QTableWidget::cellClicked);
    table->installEventFilter(this);
}

bool KeyboardPick::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table && event->type() == QEvent::KeyPress) {
        const QKeyEvent *key = static_cast<const QKeyEvent *>(event);
        // The table still gets the key and selects the row, as a click does.
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier && table->currentRow() >= 0)
            emit picked(table->currentRow(), table->currentColumn());
    }
    return QObject::eventFilter(watched, event);
}
