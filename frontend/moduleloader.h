#ifndef MODULELOADER_H
#define MODULELOADER_H

#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QPluginLoader>
#include <QString>
#include <QStringList>

class ModuleInterface;

// Loads module libraries as the host does: through Qt's plug-in loader,
// each root object cast to ModuleInterface. Libraries stay loaded for the
// life of the process, whatever becomes of their modules.
class ModuleLoader
{
    Q_DECLARE_TR_FUNCTIONS(ModuleLoader)

public:
    // The plug-in metadata IID of the modules this host runs.
    static constexpr char ModuleIid[] = "Orvel2.MeasurementToolModule";

    struct Module
    {
        QObject *root;
        ModuleInterface *interface;
        QString fileName;
    };

    // An installed front-end's modules folder (lib/orvel/modules beside its
    // bin/); in the build tree, where the plug-in is built: beside the program.
    static QString defaultModulesFolder();

    // What can be told of a file without loading it: that it is a readable,
    // non-empty Qt plug-in whose metadata IID is ModuleIid. False with the
    // reason.
    static bool checkLibrary(const QString &path, QString *reason);

    // One library that checkLibrary() accepts; false with errorString().
    bool load(const QString &path);
    // Every library in the folder whose metadata IID is ModuleIid, in name
    // order, one per plug-in class: a second copy of a module is skipped.
    // Each skipped library gets a note. Returns how many loaded.
    int loadFolder(const QString &folder);

    QList<Module> modules() const;
    // Why libraries were skipped or failed, a line each, for the log.
    QStringList notes() const { return noteLines; }
    QString errorString() const { return error; }

private:
    std::vector<std::unique_ptr<QPluginLoader>> loaders;
    // The file each plug-in class of loadFolder() came from.
    QHash<QString, QString> loadedClasses;
    QStringList noteLines;
    QString error;
};

#endif // MODULELOADER_H
