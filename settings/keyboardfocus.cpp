#include "settings/keyboardfocus.h"

#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

#include "settings/keyboardpick.h"

void KeyboardFocus::setUp(QTabWidget *singlePage, std::initializer_list<QTableWidget *> tables)
{
    if (QTabBar *bar = singlePage->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly))
        bar->setFocusPolicy(Qt::NoFocus);
    for (QTableWidget *table : tables)
        new KeyboardPick(table);
}

void KeyboardFocus::focusFirstControl(QWidget *dialog)
{
    for (QWidget *w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(dialog)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
