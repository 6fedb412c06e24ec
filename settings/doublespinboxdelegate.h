#ifndef DOUBLESPINBOXDELEGATE_H
#define DOUBLESPINBOXDELEGATE_H

#include <QItemDelegate>

// Edits a table cell that holds a decimal with one digit after the point
// (a tip diameter in mm) through a double spin box limited to 0.0 .. 40.0.
class DoubleSpinboxDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    static constexpr double Minimum = 0.0;
    static constexpr double Maximum = 40.0;
    static constexpr int Decimals = 1;
    static constexpr double Step = 0.1;

    explicit DoubleSpinboxDelegate(QObject *parent = nullptr);
    ~DoubleSpinboxDelegate() override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

#endif // DOUBLESPINBOXDELEGATE_H
