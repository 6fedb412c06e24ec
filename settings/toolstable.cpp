#include "settings/toolstable.h"

#include <QTableWidget>
#include <QTableWidgetItem>
#include <cmath>

#include "settings/settingstable.h"

void ToolsTable::setUp(QTableWidget *table, QWidget *page, QAbstractItemDelegate *tipDiameterEditor)
{
    SettingsTable::setUp(table, page,
                         {tr("ID"), tr("Tip diameter [mm]"), tr("Reference ID"), tr("Model"), tr("Serial")});
    table->setItemDelegateForColumn(TipDiameter, tipDiameterEditor);
    SettingsTable::fitColumns(table, Model, Serial);
}

void ToolsTable::fill(QTableWidget *table, int tools, const QList<double> &tipDiameters, const QList<int> &references,
                      const QList<RadioDevice> &devices)
{
    table->clearContents();
    table->setRowCount(qMax(0, tools));
    for (int i = 0; i < table->rowCount(); ++i) {
        table->setItem(i, Id, SettingsTable::fixedItem(QStringLiteral("M%1").arg(i + 1)));
        // Default flags: the diameter is edited in place.
        const QString diameter = QString::number(tipDiameters.value(i, 0.0), 'f', 1);
        table->setItem(i, TipDiameter, SettingsTable::centred(new QTableWidgetItem(diameter)));
        const int reference = references.value(i, -1);
        const QString referenceText = reference < 0 ? noneText() : QStringLiteral("MR%1").arg(reference + 1);
        table->setItem(i, Reference, SettingsTable::fixedItem(referenceText));
        const RadioDevice device = devices.value(i);
        table->setItem(i, Model, SettingsTable::fixedItem(device.modelDesc));
        table->setItem(i, Serial, SettingsTable::centred(SettingsTable::fixedItem(device.serial)));
        table->setRowHeight(i, SettingsTable::RowHeight);
    }
}

void ToolsTable::readTipDiameters(const QTableWidget *table, QList<double> &tipDiameters)
{
    for (int r = 0; r < table->rowCount(); ++r) {
        bool ok = false;
        double diameter = SettingsTable::cellText(table, r, TipDiameter).toDouble(&ok);
        if (!ok || !std::isfinite(diameter))
            diameter = 0.0;
        if (r < tipDiameters.size())
            tipDiameters[r] = diameter;
        else
            tipDiameters.append(diameter);
    }
}

QString ToolsTable::noneText()
{
    return tr("none");
}

bool ToolsTable::hasReference(const QTableWidget *table, int row)
{
    return SettingsTable::cellText(table, row, Reference) != noneText();
}

bool ToolsTable::hasDevice(const QTableWidget *table, int row)
{
    return !SettingsTable::cellText(table, row, Serial).isEmpty();
}
