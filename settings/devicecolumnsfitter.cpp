#include "settings/devicecolumnsfitter.h"

#include <QEvent>
#include <QHeaderView>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

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
    , listPages(listColumns.table->parentWidget()->parentWidget())
    , listTabs(qobject_cast<QTabWidget *>(listPages->parentWidget()))
    , window(listColumns.table->window())
    , toolsSetupWidth(toolColumns.table->columnWidth(toolColumns.model))
    , listSetupWidth(listColumns.table->columnWidth(listColumns.model))
{
    showWholeLines(tools.table);
    showWholeLines(list.table);
    tools.table->viewport()->installEventFilter(this);
    list.table->viewport()->installEventFilter(this);
    window->installEventFilter(this);
}

int DeviceColumnsFitter::textWidth(const QTableWidget *table, int column)
{
    const QAbstractItemView *view = table; // the hint is public there
    return qMax(view->sizeHintForColumn(column), table->horizontalHeader()->sectionSizeHint(column));
}

// The model column elides; the stretched last one needs its text; the others
// keep their setup's width, which held their text when it was made.
DeviceColumnsFitter::Widths DeviceColumnsFitter::measure(Columns columns, int setupWidth)
{
    const QTableWidget *table = columns.table;
    Widths widths{0, 2 * table->frameWidth(), qMax(setupWidth, textWidth(table, columns.model)),
                  headerWidth(table, columns.model)};
    for (int column = 0; column < table->columnCount(); ++column) {
        if (column == columns.model || table->isColumnHidden(column))
            continue;
        widths.others += column == columns.serial ? textWidth(table, column)
                                                  : qMax(table->columnWidth(column), textWidth(table, column));
    }
    if (table->verticalHeader()->length() > table->viewport()->height())
        widths.frame += table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    return widths;
}

void DeviceColumnsFitter::fitModelColumn(Columns columns, Widths widths)
{
    QTableWidget *table = columns.table;
    table->setColumnWidth(
        columns.model,
        std::clamp(table->viewport()->width() - widths.others, widths.header, qMax(widths.header, widths.model)));
}

int DeviceColumnsFitter::missingWidth() const
{
    const Widths toolWidths = measure(tools, toolsSetupWidth);
    const Widths listWidths = measure(list, listSetupWidth);
    const int tabsFrame = listTabs->width() - listPages->width();
    const int barWidth = listTabs->tabBar()->sizeHint().width(); // the page titles stay whole
    const auto missing = [&](int toolsWidth, int listWidth) {
        return toolsWidth + qMax(barWidth, listWidth) + tabsFrame - (tools.table->width() + listTabs->width());
    };
    // Only where the tools table would scroll; then as far as both show their whole texts.
    if (missing(toolWidths.least(), listWidths.least()) <= 0)
        return 0;
    return missing(toolWidths.need(), listWidths.need());
}

void DeviceColumnsFitter::fit()
{
    const Widths toolWidths = measure(tools, toolsSetupWidth);
    const Widths listWidths = measure(list, listSetupWidth);

    // The room both share stays the same whatever the split. (Only the page
    // shown is laid out; the stack of pages always is.)
    const int shared = tools.table->width() + listPages->width();
    int request = listWidths.need();
    const int shortfall = toolWidths.need() + listWidths.need() - shared;
    if (shortfall > 0) {
        const int listCut = static_cast<int>(static_cast<qint64>(shortfall) * listWidths.model
                                             / qMax(1, toolWidths.model + listWidths.model));
        request = qMax(listWidths.least(), qMin(listWidths.need() - listCut, shared - toolWidths.least()));
    }
    if (list.table->minimumWidth() != request) {
        list.table->setMinimumWidth(request);
        // A hidden page is not laid out, so its tab widget is told directly.
        listTabs->updateGeometry();
    }
    fitModelColumn(tools, toolWidths);
    fitModelColumn(list, listWidths);
}

void DeviceColumnsFitter::fitWindow()
{
    fit();
    if (window->layout())
        window->layout()->activate();
    const int missing = missingWidth();
    if (missing <= 0)
        return;
    const QScreen *shown = window->screen();
    const int room = shown ? shown->availableGeometry().width() : window->width() + missing;
    window->resize(qMax(window->width(), qMin(window->width() + missing, room)), window->height());
}

bool DeviceColumnsFitter::eventFilter(QObject *watched, QEvent *event)
{
    // The fonts are measured for the screen once the window is on it, and
    // the layout that follows comes through the event queue.
    if (watched == window) {
        if (event->type() == QEvent::Show)
            QTimer::singleShot(0, this, &DeviceColumnsFitter::fitWindow);
    } else if (event->type() == QEvent::Resize) {
        fit();
    }
    return QObject::eventFilter(watched, event);
}
