#include "settings/devicecolumnsfitter.h"

#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QSpacerItem>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

#include <algorithm>

namespace {

void showWholeLines(QTableWidget *table)
{
    // One line per row: a wrapped text would be cut at its line's end.
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideMiddle);
}

int headerWidth(const QTableWidget *table, int column)
{
    return table->horizontalHeader()->sectionSizeHint(column);
}

} // namespace

DeviceColumnsFitter::DeviceColumnsFitter(Columns toolColumns, Columns listColumns, QObject *parent)
    : QObject(parent)
    , tools(toolColumns)
    , list(listColumns)
    , listPage(listColumns.table->parentWidget())
    , listPages(listPage->parentWidget())
    , listTabs(qobject_cast<QTabWidget *>(listPages->parentWidget()))
    , toolsSetupWidth(toolColumns.table->columnWidth(toolColumns.model))
    , listSetupWidth(listColumns.table->columnWidth(listColumns.model))
    , widthRequest(new QSpacerItem(0, 0, QSizePolicy::Preferred, QSizePolicy::Fixed))
{
    listPage->layout()->addItem(widthRequest);
    showWholeLines(tools.table);
    showWholeLines(list.table);
    tools.table->viewport()->installEventFilter(this);
    list.table->viewport()->installEventFilter(this);
}

int DeviceColumnsFitter::textWidth(const QTableWidget *table, int column)
{
    const QAbstractItemView *view = table; // the hint is public there
    return qMax(view->sizeHintForColumn(column), table->horizontalHeader()->sectionSizeHint(column));
}

// The model column elides; the stretched last one needs its text; the others
// keep their setup's width, which held their text when it was made.
int DeviceColumnsFitter::othersWidth(Columns columns)
{
    const QTableWidget *table = columns.table;
    int width = 0;
    for (int column = 0; column < table->columnCount(); ++column) {
        if (column == columns.model || table->isColumnHidden(column))
            continue;
        width += column == columns.serial ? textWidth(table, column)
                                          : qMax(table->columnWidth(column), textWidth(table, column));
    }
    return width;
}

int DeviceColumnsFitter::neededWidth(Columns columns, int modelWidth)
{
    const QTableWidget *table = columns.table;
    int width = 2 * table->frameWidth() + othersWidth(columns) + modelWidth;
    if (table->verticalHeader()->length() > table->viewport()->height())
        width += table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    return width;
}

void DeviceColumnsFitter::fitModelColumn(Columns columns, int modelWidth)
{
    QTableWidget *table = columns.table;
    const int header = headerWidth(table, columns.model);
    table->setColumnWidth(columns.model, std::clamp(table->viewport()->width() - othersWidth(columns), header,
                                                    qMax(header, modelWidth)));
}

int DeviceColumnsFitter::missingWidth() const
{
    const int tabsFrame = listTabs->width() - listPages->width();
    const int barWidth = listTabs->tabBar()->sizeHint().width(); // the page titles stay whole
    const auto missing = [&](int toolModel, int listModel) {
        const int tabs = qMax(barWidth, neededWidth(list, listModel)) + tabsFrame;
        return neededWidth(tools, toolModel) + tabs - (tools.table->width() + listTabs->width());
    };
    // Only where the tools table would scroll; then as far as both show their whole texts.
    if (missing(headerWidth(tools.table, tools.model), headerWidth(list.table, list.model)) <= 0)
        return 0;
    return missing(qMax(toolsSetupWidth, textWidth(tools.table, tools.model)),
                   qMax(listSetupWidth, textWidth(list.table, list.model)));
}

void DeviceColumnsFitter::fit()
{
    const int toolModel = qMax(toolsSetupWidth, textWidth(tools.table, tools.model));
    const int listModel = qMax(listSetupWidth, textWidth(list.table, list.model));
    const int toolsNeed = neededWidth(tools, toolModel);
    const int listNeed = neededWidth(list, listModel);
    const int toolsLeast = neededWidth(tools, headerWidth(tools.table, tools.model));
    const int listLeast = neededWidth(list, headerWidth(list.table, list.model));

    // The room both share stays the same whatever the split. (Only the page
    // shown is laid out; the stack of pages always is.)
    const int shared = tools.table->width() + listPages->width();
    int request = listNeed;
    const int shortfall = toolsNeed + listNeed - shared;
    if (shortfall > 0) {
        const int listCut = static_cast<int>(static_cast<qint64>(shortfall) * listModel / qMax(1, toolModel + listModel));
        request = qMax(listLeast, qMin(listNeed - listCut, shared - toolsLeast));
    }
    if (widthRequest->sizeHint().width() != request) {
        widthRequest->changeSize(request, 0, QSizePolicy::Preferred, QSizePolicy::Fixed);
        listPage->layout()->invalidate();
    }
    fitModelColumn(tools, toolModel);
    fitModelColumn(list, listModel);
}

bool DeviceColumnsFitter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        fit();
    return QObject::eventFilter(watched, event);
}
