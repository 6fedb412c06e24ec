#ifndef MODULELOADER_H
#define MODULELOADER_H

#include <QPluginLoader>
#include <QString>

class ModuleInterface;

// Loads a module library as the host does: through Qt's plug-in loader, its
// root object cast to ModuleInterface. The library stays loaded for the
// life of the process, whatever becomes of the module.
class ModuleLoader
{
public:
    // The plug-in built beside the executable, else the one the build named.
    static QString defaultPluginPath();

    bool load(const QString &path);
    QString errorString() const { return error; }
    QString fileName() const { return loader.fileName(); }

    // Both views of the one root object; null until load() succeeded.
    QObject *root() const { return rootObject; }
    ModuleInterface *module() const { return moduleInterface; }

private:
    QPluginLoader loader;
    QObject *rootObject = nullptr;
    ModuleInterface *moduleInterface = nullptr;
    QString error;
};

#endif // MODULELOADER_H
