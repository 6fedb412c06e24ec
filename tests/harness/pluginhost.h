#ifndef PLUGINHOST_H
#define PLUGINHOST_H

#include <QPluginLoader>
#include <QPointer>
#include <QVariant>

#include "host/backendversions.h"
#include "host/moduleinterface.h"

class IOManager;
class QWidget;

// Loads the built plug-in the way the host does and hands it the host's
// objects by name. The library is never unloaded once used, as in the host.
class PluginHost
{
public:
    PluginHost();
    ~PluginHost();

    bool load();
    QString errorString() const { return loader.errorString(); }
    QPluginLoader &pluginLoader() { return loader; }

    QObject *instance() const { return object.data(); }
    ModuleInterface *module() const;

    // The four parameters, as the host sets them before asking for entries.
    void configure(IOManager *commandManager, QWidget *mainWindow, BackendVersions *versions,
                   bool observerMode = false);
    void setParameter(const QString &name, const QVariant &value);

    // The host's shutdown: cleanup, then delete the module.
    void shutDown();

    static BackendVersions versions(const QString &productName, qint32 productMajor, qint32 productMinor,
                                    qint32 productPatch, qint32 backendMajor, qint32 backendMinor, qint32 backendPatch);

private:
    QPluginLoader loader;
    QPointer<QObject> object;
};

#endif // PLUGINHOST_H
