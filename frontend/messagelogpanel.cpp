#include "frontend/messagelogpanel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

MessageLogPanel::MessageLogPanel(QWidget *parent)
    : QWidget(parent)
    , tree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("messageLogPanel"));
    tree->setObjectName(QStringLiteral("treeWidget_messages"));
    tree->setColumnCount(3);
    tree->setHeaderLabels({tr("Time"), tr("Source"), tr("Message")});
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree->header()->setStretchLastSection(true);
    // A long line keeps its start and its end (a command and its result); the tool tip has it whole.
    tree->setTextElideMode(Qt::ElideMiddle);
    // Fixed widths: sizing to contents would measure every row at every message.
    const QFontMetrics metrics = tree->fontMetrics();
    tree->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("00:00:00.000")) + 16);
    tree->setColumnWidth(1, metrics.horizontalAdvance(QStringLiteral("frontend")) + 24);

    QVBoxLayout *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree);
}

int MessageLogPanel::rowCount() const
{
    return tree->topLevelItemCount();
}

QString MessageLogPanel::rowText(int row) const
{
    const QTreeWidgetItem *item = tree->topLevelItem(row);
    if (!item)
        return QString();
    return item->text(0) + QLatin1Char('\t') + item->text(1) + QLatin1Char('\t') + item->text(2);
}

void MessageLogPanel::addMessage(const QDateTime &time, const QString &category, const QString &source, int level,
                                 const QString &text)
{
    while (tree->topLevelItemCount() >= MaxRows)
        delete tree->takeTopLevelItem(0);

    QTreeWidgetItem *item = new QTreeWidgetItem({time.toString(QStringLiteral("HH:mm:ss.zzz")), source, text});
    const QString detail = tr("%1, category %2, level %3").arg(time.toString(Qt::ISODateWithMs), category).arg(level);
    for (int column = 0; column < 3; ++column)
        item->setToolTip(column, column == 2 ? text : detail);
    tree->addTopLevelItem(item);
    tree->scrollToItem(item);
}

void MessageLogPanel::clear()
{
    tree->clear();
}
