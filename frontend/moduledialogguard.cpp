#include "frontend/moduledialogguard.h"

#include <QAction>
#include <QWidget>

#include "frontend/commandmanager.h"

namespace {

using Connection = ConnectionWatch::Connection;

// What the menus show of an action.
void copyLook(const QAction *from, QAction *to)
{
    to->setText(from->text());
    to->setIcon(from->icon());
    to->setIconVisibleInMenu(from->isIconVisibleInMenu());
    to->setToolTip(from->toolTip());
    to->setStatusTip(from->statusTip());
    to->setWhatsThis(from->whatsThis());
    to->setShortcuts(from->shortcuts());
    to->setShortcutContext(from->shortcutContext());
    to->setEnabled(from->isEnabled());
    to->setVisible(from->isVisible());
}

// The dialog's name as the operator chose it, without its Alt letter.
QString plainText(const QAction *action)
{
    const QString text = action->text();
    QString plain;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i; // "&&" is one "&"
        plain += text.at(i);
    }
    return plain;
}

} // namespace

ModuleDialogGuard::ModuleDialogGuard(CommandManager *commandManager, QObject *parent)
    : QObject(parent)
    , manager(commandManager)
    , wasConnected(commandManager->connection() == Connection::Connected)
{
    connect(manager, &CommandManager::connectionChanged, this, &ModuleDialogGuard::noteConnection);
}

QAction *ModuleDialogGuard::standIn(QAction *moduleAction, QWidget *dialog)
{
    QAction *shown = new QAction(moduleAction);
    shown->setObjectName(moduleAction->objectName());
    copyLook(moduleAction, shown);
    connect(moduleAction, &QAction::changed, shown, [moduleAction, shown]() { copyLook(moduleAction, shown); });
    connect(shown, &QAction::triggered, this, [this, moduleAction]() { open(moduleAction); });
    guarded.append({moduleAction, dialog});
    return shown;
}

void ModuleDialogGuard::clear()
{
    guarded.clear();
}

void ModuleDialogGuard::open(QAction *moduleAction)
{
    const QString name = plainText(moduleAction);
    switch (manager->connection()) {
    case Connection::Connected: moduleAction->trigger(); return;
    case Connection::Connecting:
        emit told(tr("\"%1\" not opened: it loads its settings from the controller, and the controller at %2 has "
                     "not answered yet. Choose it again once the controller answers.")
                      .arg(name, manager->description()));
        return;
    case Connection::Lost:
    case Connection::Reconnecting: break;
    }
    emit told(tr("\"%1\" not opened: it loads its settings from the controller, and the controller at %2 has not "
                 "answered since %3. Choose it again once the controller answers.")
                  .arg(name, manager->description(), manager->lostSince().toString(QStringLiteral("HH:mm:ss"))));
}

void ModuleDialogGuard::noteConnection(Connection connection)
{
    const bool connected = connection == Connection::Connected;
    const bool back = connected && !wasConnected;
    wasConnected = connected;
    if (!back)
        return;
    for (const Guarded &entry : qAsConst(guarded)) {
        if (entry.action && entry.dialog && entry.dialog->isVisible())
            emit told(tr("The controller at %1 answers again; \"%2\" shows what it loaded before it was lost: "
                         "close it and open it again to load afresh")
                          .arg(manager->description(), plainText(entry.action)));
    }
}
