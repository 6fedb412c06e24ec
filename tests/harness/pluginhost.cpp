#include "pluginhost.h"

#include <QWidget>

#include "host/hostmetatypes.h"
#include "host/iomanager.h"

PluginHost::PluginHost()
    : loader(QStringLiteral(MT_PLUGIN_PATH))
{
    registerHostMetaTypes();
}

PluginHost::~PluginHost()
{
    shutDown();
}

bool PluginHost::load()
{
    object = loader.instance();
    return module() != nullptr;
}

ModuleInterface *PluginHost::module() const
{
    return qobject_cast<ModuleInterface *>(object.data());
}

void PluginHost::configure(IOManager *commandManager, QWidget *mainWindow, BackendVersions *backendVersions,
                           bool observerMode)
{
    setParameter(QStringLiteral("CommandManager"), QVariant::fromValue(commandManager));
    setParameter(QStringLiteral("ModuleParent"), QVariant::fromValue(mainWindow));
    setParameter(QStringLiteral("BackendVersions"), QVariant::fromValue(backendVersions));
    setParameter(QStringLiteral("ObserverMode"), QVariant(observerMode));
}

void PluginHost::setParameter(const QString &name, const QVariant &value)
{
    if (ModuleInterface *m = module())
        m->setModuleParameter(name, value);
}

void PluginHost::shutDown()
{
    if (ModuleInterface *m = module())
        m->cleanup();
    delete object.data();
}

BackendVersions PluginHost::versions(const QString &productName, qint32 productMajor, qint32 productMinor,
                                     qint32 productPatch, qint32 backendMajor, qint32 backendMinor, qint32 backendPatch)
{
    return BackendVersions{
        {productMajor, productMinor, productPatch}, {backendMajor, backendMinor, backendPatch}, productName};
}
