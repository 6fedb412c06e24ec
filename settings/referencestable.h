#ifndef REFERENCESTABLE_H
#define REFERENCESTABLE_H

#include <QCoreApplication>

class QTableWidget;
class QWidget;

// The settings dialog's table of references to pick a tool's reference
// from: one row per reference, "MR" and its number.
class ReferencesTable
{
    // The dialog's texts, translated where the dialog's are.
    Q_DECLARE_TR_FUNCTIONS(MtSettingsDlg)

public:
    static void setUp(QTableWidget *table, QWidget *page);
    static void fill(QTableWidget *table, int references);
};

#endif // REFERENCESTABLE_H
