#include "settings/settingstable.h"

#include <QHeaderView>
#include <QLayout>
#include <QTableWidget>
#include <QTableWidgetItem>

namespace {

constexpr int ModelColumnExtraWidth = 85;

} // namespace

void SettingsTable::setUp(QTableWidget *table, QWidget *page, const QStringList &headers)
{
    page->setContentsMargins(0, 0, 0, 0);
    page->layout()->setContentsMargins(0, 0, 0, 0);
    table->setColumnCount(headers.size());
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(0);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
}

void SettingsTable::fitColumns(QTableWidget *table, int modelColumn, int lastColumn)
{
    table->resizeColumnsToContents();
    table->setColumnWidth(modelColumn, table->columnWidth(modelColumn) + ModelColumnExtraWidth);
    // A stretched last section never gets narrower than it was when
    // stretching began (here: the default section width, which pushes a
    // serial out of view when room is short).
    table->horizontalHeader()->setStretchLastSection(false);
    table->resizeColumnToContents(lastColumn);
    table->horizontalHeader()->setStretchLastSection(true);
}

QTableWidgetItem *SettingsTable::fixedItem(const QString &text)
{
    QTableWidgetItem *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem *SettingsTable::centred(QTableWidgetItem *item)
{
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

QString SettingsTable::cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}
