#include "settings/referencestable.h"

#include <QTableWidget>
#include <QTableWidgetItem>

#include "settings/settingstable.h"

void ReferencesTable::setUp(QTableWidget *table, QWidget *page)
{
    SettingsTable::setUp(table, page, {tr("Reference ID")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ReferencesTable::fill(QTableWidget *table, int references)
{
    table->clearContents();
    table->setRowCount(qMax(0, references));
    for (int r = 0; r < table->rowCount(); ++r) {
        table->setItem(r, 0, new QTableWidgetItem(QStringLiteral("MR%1").arg(r + 1)));
        table->setRowHeight(r, SettingsTable::RowHeight);
    }
}
