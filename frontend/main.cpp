// The stand-in host: loads the measurement tool module and drives it
// against a controller, by default a simulated one in-process.

#include <cstdio>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QIcon>
#include <QTimer>

#include "frontend/commandmanager.h"
#include "frontend/embeddedtransport.h"
#include "frontend/frontendoptions.h"
#include "frontend/mainwindow.h"
#include "frontend/moduleloader.h"
#include "frontend/screenshottaker.h"
#include "frontend/tcptransport.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"

namespace {

std::unique_ptr<ControllerTransport> makeTransport(const FrontendOptions &options)
{
    if (options.embedded())
        return std::make_unique<EmbeddedTransport>();
    return std::make_unique<TcpTransport>(options.controllerHost, options.controllerPort);
}

void connectController(ControllerTransport *transport, CommandManager *commandManager,
                       const FrontendOptions &options)
{
    TcpTransport *tcp = qobject_cast<TcpTransport *>(transport);
    if (!tcp) {
        commandManager->log(QStringLiteral("Using the %1").arg(transport->description()));
        return;
    }
    QString error;
    if (tcp->connectToController(commandManager->timeout(), &error))
        commandManager->log(QStringLiteral("Connected to the controller at %1").arg(tcp->description()));
    else
        commandManager->log(QStringLiteral("Cannot connect to %1: %2").arg(tcp->description(), error));
    if (tcp->listenForData(options.dataPort, &error))
        commandManager->log(QStringLiteral("Receiving data output on UDP port %1").arg(tcp->dataPort()));
    else
        commandManager->log(QStringLiteral("Cannot receive data output on UDP port %1: %2")
                                .arg(options.dataPort)
                                .arg(error));
}

void applySimulationSettings(CommandManager *commandManager, const QStringList &settings)
{
    for (const QString &setting : settings) {
        char reply[IOManager::ReplySize];
        const QByteArray text = setting.toLatin1();
        const int result = commandManager->sendCommand(reply, "orvel2 simulate %s", text.constData());
        if (result != 0)
            commandManager->log(QStringLiteral("Simulation setting \"%1\" refused: %2 %3")
                                    .arg(setting, CommandManager::errorText(result), QString::fromLatin1(reply)));
    }
}

// Without a screenshot, --show opens the screen for the operator.
void openScreen(MainWindow *window, FrontendOptions::Screen screen)
{
    if (const char *className = ScreenshotTaker::dialogClass(screen)) {
        if (QAction *action = window->moduleActionFor(className))
            QTimer::singleShot(0, action, &QAction::trigger);
    } else if (screen == FrontendOptions::Screen::Display) {
        if (QDockWidget *dock = window->moduleDock())
            dock->show();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList ownOptions = FrontendOptions::takeOwnOptions(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvel-frontend"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/icons/orvel_16x16.png")));

    FrontendOptions options;
    if (!options.parse(QApplication::arguments() + ownOptions)) {
        if (options.exitNow) {
            std::fprintf(stdout, "%s", qPrintable(options.helpText));
            return 0;
        }
        std::fprintf(stderr, "orvel-frontend: %s\n\n%s", qPrintable(options.errorText),
                     qPrintable(options.helpText));
        return 2;
    }
    registerHostMetaTypes();

    // Declared in this order so that each goes before what it uses.
    std::unique_ptr<ControllerTransport> transport = makeTransport(options);
    CommandManager commandManager(transport.get());
    if (options.timeoutMs > 0)
        commandManager.setTimeout(options.timeoutMs);
    BackendVersions versions{{0, 0, 0}, {0, 0, 0}, QString()};
    MainWindow window(&commandManager, &versions);

    connectController(transport.get(), &commandManager, options);
    applySimulationSettings(&commandManager, options.simulateSettings);
    const int versionResult = commandManager.readBackendVersions(&versions);
    if (versionResult != 0)
        commandManager.log(QStringLiteral("Cannot read the controller's versions: %1")
                               .arg(CommandManager::errorText(versionResult)));
    else
        commandManager.log(QStringLiteral("Controller: %1, product version %2.%3.%4, backend version %5.%6.%7")
                               .arg(versions.productName)
                               .arg(versions.productVersion[0])
                               .arg(versions.productVersion[1])
                               .arg(versions.productVersion[2])
                               .arg(versions.backendVersion[0])
                               .arg(versions.backendVersion[1])
                               .arg(versions.backendVersion[2]));

    ModuleLoader loader;
    const QString pluginPath = options.pluginPath.isEmpty() ? ModuleLoader::defaultPluginPath() : options.pluginPath;
    if (loader.load(pluginPath)) {
        window.installModule(loader.root(), loader.module(), options.observerMode);
        commandManager.log(QStringLiteral("Loaded %1 %2 from %3")
                               .arg(window.moduleName(), window.moduleVersion(), loader.fileName()));
    } else {
        window.setModuleError(loader.errorString());
        commandManager.log(QStringLiteral("Cannot load the module: %1").arg(loader.errorString()));
    }
    commandManager.readMeasurementState();
    window.refreshStatus();
    window.show();

    if (options.startMeasurement)
        QTimer::singleShot(0, &window, &MainWindow::startMeasurement);

    std::unique_ptr<ScreenshotTaker> screenshot;
    if (!options.screenshotFile.isEmpty()) {
        screenshot = std::make_unique<ScreenshotTaker>(&window, options.screen, options.screenshotFile,
                                                       options.delayMs);
        screenshot->start();
    } else {
        openScreen(&window, options.screen);
    }

    int code = QApplication::exec();
    if (screenshot)
        code = screenshot->exitCode();
    window.releaseModule();
    return code;
}
