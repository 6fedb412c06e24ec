#include "settings/doublespinboxdelegate.h"

#include <QDoubleSpinBox>

DoubleSpinboxDelegate::DoubleSpinboxDelegate(QObject *parent)
    : QItemDelegate(parent)
{ }

DoubleSpinboxDelegate::~DoubleSpinboxDelegate() = default;

QWidget *DoubleSpinboxDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    Q_UNUSED(option);
    Q_UNUSED(index);
    return new QDoubleSpinBox(parent);
}

void DoubleSpinboxDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    QDoubleSpinBox *spinBox = qobject_cast<QDoubleSpinBox *>(editor);
    if (!spinBox)
        return;
    // The cell text is ours ("%.1f", C locale); anything else reads as 0.
    const double value = index.model()->data(index, Qt::DisplayRole).toDouble();
    // Range and decimals before the value, or the value would be cut to the old ones.
    spinBox->setMinimum(Minimum);
    spinBox->setMaximum(Maximum);
    spinBox->setDecimals(Decimals);
    spinBox->setSingleStep(Step);
    spinBox->setValue(value);
}

void DoubleSpinboxDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    QDoubleSpinBox *spinBox = qobject_cast<QDoubleSpinBox *>(editor);
    if (!spinBox)
        return;
    spinBox->interpretText(); // take what was typed even if the editor did not commit it yet
    model->setData(index, QString::number(spinBox->value(), 'f', Decimals), Qt::EditRole);
}
