#ifndef MENUENTRY_H
#define MENUENTRY_H

#include <QString>
#include <QtGlobal>

class QAction;
class QWidget;

// One action a module contributes to the host's menus. The host reads it
// through pointers, so field order and types are shared with the host.
struct MenuEntry
{
    QAction *action;
    qint32 actionOrder; // position of the action within its menu
    QString menuTitle;
    qint32 menuOrder;  // position of the menu
    QWidget *widget;   // the dialog the action opens, or the dock it toggles
    qint32 widgetKind; // one of the kinds below

    enum Kind : qint32 { DialogKind = 0, DockKind = 1 };
};

#endif // MENUENTRY_H
