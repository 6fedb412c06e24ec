#include "settings/devicelisttable.h"

#include <QTableWidget>
#include <QTableWidgetItem>

#include "settings/settingstable.h"

void DeviceListTable::setUp(QTableWidget *table, QWidget *page)
{
    SettingsTable::setUp(table, page,
                         {tr("SortColumn_Key"), tr("Vendor"), tr("Model_intern"), tr("Model"), tr("Serial")});
    for (int column : {SortKey, Vendor, ModelIntern})
        table->setColumnHidden(column, true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SettingsTable::fitColumns(table, ModelDesc, Serial);
}

void DeviceListTable::fill(QTableWidget *table, const QList<RadioDevice> &devices)
{
    table->setRowCount(devices.size());
    for (int i = 0; i < devices.size(); ++i) {
        const RadioDevice &dev = devices.at(i);
        table->setItem(i, SortKey, new QTableWidgetItem(dev.vendor + dev.model + dev.serial));
        table->setItem(i, Vendor, new QTableWidgetItem(dev.vendor));
        table->setItem(i, ModelIntern, new QTableWidgetItem(dev.model));
        table->setItem(i, ModelDesc, new QTableWidgetItem(dev.modelDesc));
        table->setItem(i, Serial, SettingsTable::centred(new QTableWidgetItem(dev.serial)));
        table->setRowHeight(i, SettingsTable::RowHeight);
    }
    table->sortItems(SortKey, Qt::AscendingOrder);
}

RadioDevice DeviceListTable::deviceAt(const QTableWidget *table, int row)
{
    RadioDevice device;
    device.vendor = SettingsTable::cellText(table, row, Vendor);
    device.model = SettingsTable::cellText(table, row, ModelIntern);
    device.serial = SettingsTable::cellText(table, row, Serial);
    device.modelDesc = SettingsTable::cellText(table, row, ModelDesc);
    return device;
}
