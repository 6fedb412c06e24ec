#include "settings/devicecolumnsfitter.h"

#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QSpacerItem>
#include <QStyle>
#include <QTableWidget>

DeviceColumnsFitter::DeviceColumnsFitter(QTableWidget *list, int model, int serial)
    : QObject(list)
    , table(list)
    , modelColumn(model)
    , serialColumn(serial)
    , setupWidth(list->columnWidth(model))
    , widthRequest(new QSpacerItem(0, 0, QSizePolicy::Preferred, QSizePolicy::Fixed))
{
    table->parentWidget()->layout()->addItem(widthRequest);
    // One line per row: a wrapped text would be cut at its line's end.
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideMiddle);
    table->viewport()->installEventFilter(this);
}

int DeviceColumnsFitter::textWidth(const QTableWidget *table, int column)
{
    const QAbstractItemView *view = table; // the hint is public there
    return qMax(view->sizeHintForColumn(column), table->horizontalHeader()->sectionSizeHint(column));
}

void DeviceColumnsFitter::fit()
{
    const int model = qMax(setupWidth, textWidth(table, modelColumn));
    const int serial = textWidth(table, serialColumn);
    int wanted = 2 * table->frameWidth() + model + serial;
    if (table->verticalHeader()->length() > table->viewport()->height())
        wanted += table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    if (widthRequest->sizeHint().width() != wanted) {
        widthRequest->changeSize(wanted, 0, QSizePolicy::Preferred, QSizePolicy::Fixed);
        table->parentWidget()->layout()->invalidate();
    }
    table->setColumnWidth(modelColumn, qMax(setupWidth, qMin(model, table->viewport()->width() - serial)));
}

bool DeviceColumnsFitter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        fit();
    return QObject::eventFilter(watched, event);
}
