#ifndef TOOLSTABLE_H
#define TOOLSTABLE_H

#include <QCoreApplication>
#include <QList>

#include "settings/radiodevice.h"

class QAbstractItemDelegate;
class QTableWidget;
class QWidget;

// The settings dialog's table of measurement tools: per tool its number,
// its tip diameter (edited in place), its reference and its radio device.
class ToolsTable
{
    // The dialog's texts, translated where the dialog's are.
    Q_DECLARE_TR_FUNCTIONS(MtSettingsDlg)

public:
    enum Column { Id = 0, TipDiameter = 1, Reference = 2, Model = 3, Serial = 4 };

    static void setUp(QTableWidget *table, QWidget *page, QAbstractItemDelegate *tipDiameterEditor);

    // One row per tool; where a list is shorter than the count, that tool
    // shows a diameter of 0.0, no reference and no device.
    static void fill(QTableWidget *table, int tools, const QList<double> &tipDiameters, const QList<int> &references,
                     const QList<RadioDevice> &devices);

    // The diameters as the table shows them (0.0 where a cell holds no
    // number) into the list, entry for row, appended where it is shorter.
    static void readTipDiameters(const QTableWidget *table, QList<double> &tipDiameters);

    static bool hasReference(const QTableWidget *table, int row);
    static bool hasDevice(const QTableWidget *table, int row);

private:
    static QString noneText();
};

#endif // TOOLSTABLE_H
