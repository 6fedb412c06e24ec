#ifndef DEVICELISTTABLE_H
#define DEVICELISTTABLE_H

#include <QCoreApplication>
#include <QList>

#include "settings/radiodevice.h"

class QTableWidget;
class QWidget;

// The settings dialog's list of the radio devices the controller knows, to
// pick a tool's device from: model and serial shown, the device's identity
// and a sort key in hidden columns.
class DeviceListTable
{
    // The dialog's texts, translated where the dialog's are.
    Q_DECLARE_TR_FUNCTIONS(MtSettingsDlg)

public:
    enum Column { SortKey = 0, Vendor = 1, ModelIntern = 2, ModelDesc = 3, Serial = 4 };

    static void setUp(QTableWidget *table, QWidget *page);

    // One row per device, ordered by vendor, model and serial.
    static void fill(QTableWidget *table, const QList<RadioDevice> &devices);

    static RadioDevice deviceAt(const QTableWidget *table, int row);
};

#endif // DEVICELISTTABLE_H
