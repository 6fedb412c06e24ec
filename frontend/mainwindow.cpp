#include "frontend/mainwindow.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QVariant>

#include "frontend/commandmanager.h"
#include "frontend/messagelogpanel.h"
#include "frontend/moduledialogguard.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "host/menuentry.h"
#include "host/moduleinterface.h"

namespace {

// Long enough to read a sentence; the log keeps it.
constexpr int StatusMessageMs = 15000;

// The record's qint32[3] triples.
QString versionText(const qint32 *triple)
{
    return QStringLiteral("%1.%2.%3").arg(triple[0]).arg(triple[1]).arg(triple[2]);
}

// Menus are the same whatever their mnemonic: "&Tracking" and "Tracking".
QString menuKey(const QString &title)
{
    return QString(title).remove(QLatin1Char('&'));
}

} // namespace

MainWindow::MainWindow(CommandManager *manager, BackendVersions *versions, QWidget *parent)
    : QMainWindow(parent)
    , commandManager(manager)
    , backendVersions(versions)
    , statusLabel(new QLabel(this))
    , connectionLabel(new QLabel(this))
    , logPanel(new MessageLogPanel(this))
    , logDock(new QDockWidget(tr("Message Log"), this))
    , dialogGuard(new ModuleDialogGuard(manager, this))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(tr("Orvel Front-End"));
    resize(1000, 680);

    statusLabel->setObjectName(QStringLiteral("label_status"));
    statusLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    statusLabel->setMargin(16);
    statusLabel->setWordWrap(true); // lets the docks take the room they need
    statusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setCentralWidget(statusLabel);

    logDock->setObjectName(QStringLiteral("dockWidget_messageLog"));
    logDock->setWidget(logPanel);
    addDockWidget(Qt::BottomDockWidgetArea, logDock);
    resizeDocks({logDock}, {170}, Qt::Vertical);

    connect(commandManager, &CommandManager::messageLogged, logPanel, &MessageLogPanel::addMessage);
    connect(commandManager, &CommandManager::measurementStateChanged, this, &MainWindow::refreshStatus);
    connect(commandManager, &CommandManager::connectionChanged, this, &MainWindow::refreshStatus);
    connect(commandManager, &CommandManager::dataMissingChanged, this, &MainWindow::refreshStatus);
    connect(dialogGuard, &ModuleDialogGuard::told, this, &MainWindow::tell);

    connectionLabel->setObjectName(QStringLiteral("label_connection"));
    statusBar()->addPermanentWidget(connectionLabel);
    createOwnActions();
    rebuildMenus();
    refreshStatus();
}

MainWindow::~MainWindow()
{
    releaseModules();
}

void MainWindow::createOwnActions()
{
    QAction *quit = new QAction(tr("&Quit"), this);
    quit->setShortcut(QKeySequence::Quit);
    quit->setStatusTip(tr("Leave the front-end"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    startAction = new QAction(tr("&Start measurement"), this);
    startAction->setShortcut(Qt::Key_F5);
    startAction->setStatusTip(tr("Start tracking on the controller"));
    connect(startAction, &QAction::triggered, this, &MainWindow::startMeasurement);

    stopAction = new QAction(tr("Sto&p measurement"), this);
    stopAction->setShortcut(Qt::Key_F6);
    stopAction->setStatusTip(tr("Stop tracking on the controller"));
    connect(stopAction, &QAction::triggered, this, &MainWindow::stopMeasurement);

    QAction *messages = logDock->toggleViewAction();
    messages->setText(tr("Message &Log"));
    messages->setStatusTip(tr("Show the message log"));

    QAction *about = new QAction(tr("&About"), this);
    about->setStatusTip(tr("Versions of the front-end, the module and the controller"));
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);

    ownItems = {
        {tr("&File"), FileMenuOrder, QuitActionOrder, quit, nullptr, true},
        {tr("&Tracking"), TrackingMenuOrder, StartActionOrder, startAction, nullptr, true},
        {tr("&Tracking"), TrackingMenuOrder, StopActionOrder, stopAction, nullptr, true},
        {tr("&View"), ViewMenuOrder, MessageLogActionOrder, messages, logDock, true},
        {tr("&Help"), HelpMenuOrder, AboutActionOrder, about, nullptr, true},
    };
}

void MainWindow::installModule(QObject *root, ModuleInterface *module, bool observerMode)
{
    if (!root || !module)
        return;
    registerHostMetaTypes();
    moduleError.clear();

    module->setModuleParameter(QStringLiteral("CommandManager"), QVariant::fromValue<IOManager *>(commandManager));
    module->setModuleParameter(QStringLiteral("ModuleParent"), QVariant::fromValue<QWidget *>(this));
    module->setModuleParameter(QStringLiteral("BackendVersions"),
                               QVariant::fromValue<BackendVersions *>(backendVersions));
    module->setModuleParameter(QStringLiteral("ObserverMode"), QVariant(observerMode));
    const HostedModule hosted{root, module, module->name(), module->version()};
    modules.append(hosted);

    const QList<MenuEntry *> entries = module->menuEntries();
    for (const MenuEntry *entry : entries) {
        if (!entry || !entry->action)
            continue;
        if (entry->widgetKind == MenuEntry::DockKind) {
            if (QDockWidget *dock = qobject_cast<QDockWidget *>(entry->widget)) {
                // Above the message log, across the whole window: the
                // display's tables need the width.
                addDockWidget(Qt::BottomDockWidgetArea, dock);
                splitDockWidget(dock, logDock, Qt::Vertical);
                resizeDocks({dock, logDock}, {height() / 2, height() / 4}, Qt::Vertical);
            } else {
                commandManager->log(
                    tr("Module entry \"%1\" is a dock without a dock widget").arg(entry->action->text()));
            }
        }
        QAction *shown = entry->widgetKind == MenuEntry::DialogKind ? dialogGuard->standIn(entry->action, entry->widget)
                                                                    : entry->action;
        moduleItems.append({entry->menuTitle, entry->menuOrder, entry->actionOrder, shown, entry->widget, false});
    }
    if (entries.isEmpty())
        commandManager->log(tr("%1 %2 offers nothing for this controller").arg(hosted.name, hosted.version));
    rebuildMenus();
    refreshStatus();
}

void MainWindow::releaseModules()
{
    if (modules.isEmpty())
        return;
    // The modules' requesters are their widgets, which cleanup deletes.
    commandManager->dataRouter().clear();
    dialogGuard->clear();
    while (!modules.isEmpty()) {
        const HostedModule module = modules.takeLast();
        if (module.root.isNull())
            continue;
        module.interface->cleanup();
        delete module.root.data();
    }
    moduleItems.clear();
    rebuildMenus();
}

QStringList MainWindow::moduleNames() const
{
    QStringList names;
    for (const HostedModule &module : modules)
        names << tr("%1 %2").arg(module.name, module.version);
    return names;
}

void MainWindow::setModuleError(const QString &error)
{
    moduleError = error;
    refreshStatus();
}

void MainWindow::addFileAction(QAction *action, int actionOrder)
{
    addOwnAction(tr("&File"), FileMenuOrder, action, actionOrder);
}

void MainWindow::addOwnAction(const QString &menuTitle, int menuOrder, QAction *action, int actionOrder)
{
    ownItems.append({menuTitle, menuOrder, actionOrder, action, nullptr, true});
    rebuildMenus();
}

QAction *MainWindow::moduleActionFor(const char *widgetClass) const
{
    for (const MenuItem &item : moduleItems) {
        if (item.widget && item.widget->inherits(widgetClass))
            return item.action;
    }
    return nullptr;
}

QDockWidget *MainWindow::moduleDock() const
{
    for (const MenuItem &item : moduleItems) {
        if (QDockWidget *dock = qobject_cast<QDockWidget *>(item.widget.data()))
            return dock;
    }
    return nullptr;
}

// Menus in menu order, actions in action order; ties keep the order in
// which they came, the window's own entries first.
void MainWindow::rebuildMenus()
{
    menuBar()->clear();
    qDeleteAll(menus);
    menus.clear();

    struct Group
    {
        QString title;
        int order;
        QList<MenuItem> items;
    };
    QList<Group> groups;
    const QList<MenuItem> items = ownItems + moduleItems;
    for (const MenuItem &item : items) {
        auto group = std::find_if(groups.begin(), groups.end(), [&](const Group &candidate) {
            return menuKey(candidate.title) == menuKey(item.menuTitle);
        });
        if (group == groups.end()) {
            groups.append({item.menuTitle, item.menuOrder, {}});
            group = groups.end() - 1;
        }
        group->order = qMin(group->order, item.menuOrder);
        group->items.append(item);
    }
    std::stable_sort(groups.begin(), groups.end(), [](const Group &a, const Group &b) { return a.order < b.order; });

    for (Group &group : groups) {
        std::stable_sort(group.items.begin(), group.items.end(),
                         [](const MenuItem &a, const MenuItem &b) { return a.actionOrder < b.actionOrder; });
        QMenu *menu = new QMenu(group.title, this);
        for (int i = 0; i < group.items.size(); ++i) {
            if (i > 0 && group.items.at(i).own != group.items.at(i - 1).own)
                menu->addSeparator();
            menu->addAction(group.items.at(i).action);
        }
        menuBar()->addMenu(menu);
        menus.append(menu);
    }
}

void MainWindow::sendTrackingCommand(const char *command, const QString &failure)
{
    const bool away = commandManager->connection() != CommandManager::Connection::Connected;
    char reply[IOManager::ReplySize];
    const int result = commandManager->sendCommand(reply, "%s", command);
    // Not sent while the controller is away: the log says so already, and what happens when it answers.
    if (result != 0 && !(away && result == CommandManager::NotConnected))
        commandManager->log(failure.arg(CommandManager::errorText(result)));
    refreshStatus();
}

void MainWindow::tell(const QString &text)
{
    commandManager->log(text);
    statusBar()->showMessage(text, StatusMessageMs);
}

void MainWindow::startMeasurement()
{
    sendTrackingCommand("orvel2 tracking start", tr("Unable to start the measurement: %1"));
}

void MainWindow::stopMeasurement()
{
    sendTrackingCommand("orvel2 tracking stop", tr("Unable to stop the measurement: %1"));
}

QString MainWindow::aboutText() const
{
    QString module = hasModule() ? moduleNames().join(QStringLiteral(", ")) : tr("no module loaded");
    if (!moduleError.isEmpty())
        module += QStringLiteral(" (%1)").arg(moduleError);
    const QString controller = backendVersions
        ? tr("%1, product version %2, backend version %3")
              .arg(backendVersions->productName.isEmpty() ? tr("unknown product") : backendVersions->productName,
                   versionText(backendVersions->productVersion), versionText(backendVersions->backendVersion))
        : tr("unknown");
    return tr("<h3>Orvel Front-End %1</h3>"
              "<p>A stand-in host for the controller's GUI modules.</p>"
              "<table>"
              "<tr><td><b>Module:</b></td><td>%2</td></tr>"
              "<tr><td><b>Controller:</b></td><td>%3</td></tr>"
              "<tr><td><b>Connection:</b></td><td>%4</td></tr>"
              "</table>")
        .arg(QApplication::applicationVersion(), module.toHtmlEscaped(), controller.toHtmlEscaped(),
             connectionText().toHtmlEscaped());
}

QString MainWindow::connectionText() const
{
    const QString where = commandManager->description();
    switch (commandManager->connection()) {
    case CommandManager::Connection::Connected: return tr("%1, connected").arg(where);
    case CommandManager::Connection::Connecting:
        if (commandManager->lossReason().isEmpty())
            return tr("%1, connecting").arg(where);
        return tr("%1, connecting (%2)").arg(where, commandManager->lossReason());
    case CommandManager::Connection::Lost:
    case CommandManager::Connection::Reconnecting: break;
    }
    return tr("%1, lost since %2 (%3), %4")
        .arg(where, commandManager->lostSince().toString(QStringLiteral("HH:mm:ss")), commandManager->lossReason(),
             commandManager->connection() == CommandManager::Connection::Reconnecting ? tr("reconnecting")
                                                                                      : tr("waiting to reconnect"));
}

void MainWindow::showAbout()
{
    QMessageBox::about(this, tr("About Orvel Front-End"), aboutText());
}

void MainWindow::refreshStatus()
{
    // Both actions stay enabled: the controller may have been started or
    // stopped by someone else, and only it knows.
    const bool connecting = commandManager->connection() == CommandManager::Connection::Connecting;
    QString measurement = tr("stopped");
    if (commandManager->isMeasuring() && commandManager->isDataMissing())
        measurement = tr("running, but no data comes in (see the message log)");
    else if (commandManager->isMeasuring())
        measurement = tr("running");
    else if (commandManager->resumesMeasurement())
        measurement = connecting ? tr("stopped, starts when the controller answers")
                                 : tr("stopped, starts again when the controller answers");
    statusLabel->setText(aboutText() + tr("<p><b>Measurement:</b> %1</p>").arg(measurement.toHtmlEscaped()));
    const QString connection = CommandManager::connectionText(commandManager->connection());
    connectionLabel->setText(commandManager->isDataMissing() ? tr("Controller: %1, no data").arg(connection)
                                                             : tr("Controller: %1").arg(connection));
}
