#ifndef MODULEDIALOGGUARD_H
#define MODULEDIALOGGUARD_H

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "frontend/connectionwatch.h"

class CommandManager;
class QAction;
class QWidget;

// A module's dialog loads its settings from the controller each time it
// opens; opened while the controller does not answer it could show only
// that nothing is available. So the window's menus hold a stand-in for each
// of the module's dialog actions: chosen while the controller is away, it
// says why the dialog cannot load and opens nothing; chosen once the
// controller answers, it triggers the module's action, and the dialog loads
// afresh. A dialog that stays open across a loss is pointed out when the
// controller is back, since it shows what it loaded before.
class ModuleDialogGuard : public QObject
{
    Q_OBJECT

public:
    explicit ModuleDialogGuard(CommandManager *manager, QObject *parent = nullptr);

    // The stand-in for the module's action that opens the dialog: it shows
    // the action's text, tips, shortcut and state, kept up to date, and is
    // deleted with it.
    QAction *standIn(QAction *moduleAction, QWidget *dialog);
    // Forgets the module's actions (before the module is deleted).
    void clear();

signals:
    // For the log and the status bar.
    void told(const QString &text);

private slots:
    void noteConnection(ConnectionWatch::Connection connection);

private:
    struct Guarded
    {
        QPointer<QAction> action;
        QPointer<QWidget> dialog;
    };

    void open(QAction *moduleAction);

    CommandManager *manager;
    QList<Guarded> guarded;
    bool wasConnected;
};

#endif // MODULEDIALOGGUARD_H
