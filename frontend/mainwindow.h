#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

class CommandManager;
class MessageLogPanel;
class ModuleDialogGuard;
class ModuleInterface;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
struct BackendVersions;

// The host's main window: its own menus, the message log, and whatever a
// module contributes (actions merged into the menus by title and order,
// dock widgets docked). The module's dialog actions reach the menus through
// a ModuleDialogGuard: a dialog opens only while the controller answers.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Menu and action orders of the window's own entries; a module's fall in between.
    enum Order {
        FileMenuOrder = 100,
        TrackingMenuOrder = 300,
        StreamingMenuOrder = 350,
        ViewMenuOrder = 400,
        HelpMenuOrder = 900,
        StartActionOrder = 10,
        StopActionOrder = 20,
        MessageLogActionOrder = 100,
        QuitActionOrder = 900,
        AboutActionOrder = 900,
    };

    MainWindow(CommandManager *commandManager, BackendVersions *versions, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Hands the module the host's objects, reads its name and version and
    // merges its menu entries. The window owns the module from now on.
    void installModule(QObject *root, ModuleInterface *module, bool observerMode);
    // Each module's cleanup, then its deletion, the last installed first;
    // their libraries stay loaded.
    void releaseModules();
    bool hasModule() const { return !modules.isEmpty(); }
    // "name version" of each module, in the order installed.
    QStringList moduleNames() const;
    void setModuleError(const QString &error);
    // One of the host's own actions in the File menu, placed by its order (Quit: QuitActionOrder).
    void addFileAction(QAction *action, int actionOrder);
    // One of the host's own actions in a menu of its own or an existing one.
    void addOwnAction(const QString &menuTitle, int menuOrder, QAction *action, int actionOrder);

    // The action of the menus that opens or shows the module's widget of the
    // class ("MtSettingsDlg"): for a dialog the guard's stand-in. Null if none.
    QAction *moduleActionFor(const char *widgetClass) const;
    // The first dock widget the module contributed.
    QDockWidget *moduleDock() const;

    MessageLogPanel *messageLog() const { return logPanel; }
    QDockWidget *messageLogDock() const { return logDock; }
    QString aboutText() const;
    // Where the commands go and whether the controller answers.
    QString connectionText() const;

public slots:
    void startMeasurement();
    void stopMeasurement();
    void showAbout();
    void refreshStatus();

private:
    struct MenuItem
    {
        QString menuTitle;
        int menuOrder;
        int actionOrder;
        QAction *action;
        QPointer<QWidget> widget;
        bool own;
    };
    struct HostedModule
    {
        QPointer<QObject> root;
        ModuleInterface *interface;
        QString name;
        QString version;
    };

    void createOwnActions();
    void rebuildMenus();
    void sendTrackingCommand(const char *command, const QString &failure);
    void tell(const QString &text);

    CommandManager *commandManager;
    BackendVersions *backendVersions;
    QLabel *statusLabel;
    QLabel *connectionLabel;
    MessageLogPanel *logPanel;
    QDockWidget *logDock;
    ModuleDialogGuard *dialogGuard;
    QAction *startAction = nullptr;
    QAction *stopAction = nullptr;

    QList<MenuItem> ownItems;
    QList<MenuItem> moduleItems;
    QList<QMenu *> menus;

    QList<HostedModule> modules;
    QString moduleError;
};

#endif // MAINWINDOW_H
