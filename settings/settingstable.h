#ifndef SETTINGSTABLE_H
#define SETTINGSTABLE_H

#include <QStringList>
#include <Qt>

class QTableWidget;
class QTableWidgetItem;
class QWidget;

// What the settings dialog's three tables share: a page of their own
// without margins, fixed headers, rows of one height picked whole, one at
// a time.
class SettingsTable
{
public:
    static constexpr int RowHeight = 28;

    // The given columns and no rows yet.
    static void setUp(QTableWidget *table, QWidget *page, const QStringList &headers);
    // Columns as wide as their headers, the model's wider for a readable
    // description; the stretched last one begun again from its own width.
    static void fitColumns(QTableWidget *table, int modelColumn, int lastColumn);

    // An item that can be picked but not edited.
    static QTableWidgetItem *fixedItem(const QString &text);
    static QTableWidgetItem *centred(QTableWidgetItem *item);
    // Empty where the cell has no item.
    static QString cellText(const QTableWidget *table, int row, int column);
};

#endif // SETTINGSTABLE_H
