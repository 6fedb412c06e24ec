#include "frontend/moduleloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>

#include "host/moduleinterface.h"

#ifndef MT_MODULES_RELATIVE_DIR
#define MT_MODULES_RELATIVE_DIR "../lib/orvel/modules"
#endif

constexpr char ModuleLoader::ModuleIid[];

QString ModuleLoader::defaultModulesFolder()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString installed = QDir::cleanPath(programDir.filePath(QStringLiteral(MT_MODULES_RELATIVE_DIR)));
    return QFileInfo(installed).isDir() ? installed : programDir.path();
}

bool ModuleLoader::checkLibrary(const QString &path, QString *reason)
{
    reason->clear();
    const QFileInfo file(path);
    if (!file.exists())
        *reason = tr("no module library at %1").arg(path);
    else if (file.isDir())
        *reason = tr("%1 is a folder, not a module library").arg(path);
    else if (!file.isReadable())
        *reason = tr("%1 cannot be read").arg(path);
    else if (file.size() == 0)
        *reason = tr("%1 is empty, not a module library").arg(path);
    if (!reason->isEmpty())
        return false;
    // Reads the metadata from the file; no code of the library runs.
    QPluginLoader loader(path);
    const QJsonObject metaData = loader.metaData();
    const QString iid = metaData.value(QStringLiteral("IID")).toString();
    if (metaData.isEmpty())
        *reason = tr("%1 is not a Qt plug-in: %2").arg(path, loader.errorString());
    else if (iid != QLatin1String(ModuleIid))
        *reason = tr("%1 is a plug-in for %2, not a module (%3)").arg(path, iid, QLatin1String(ModuleIid));
    return reason->isEmpty();
}

bool ModuleLoader::load(const QString &path)
{
    error.clear();
    if (!checkLibrary(path, &error))
        return false;
    auto loader = std::make_unique<QPluginLoader>(path);
    QObject *object = loader->instance();
    if (!object) {
        error = loader->errorString();
        return false;
    }
    ModuleInterface *module = qobject_cast<ModuleInterface *>(object);
    if (!module) {
        error = tr("%1 is not a module (no %2 interface)").arg(path, QLatin1String(ModuleInterface_iid));
        return false;
    }
    loaders.push_back(std::move(loader));
    return true;
}

// A module deleted by its host is made anew by its loader, as at first.
QList<ModuleLoader::Module> ModuleLoader::modules() const
{
    QList<Module> current;
    for (const auto &loader : loaders) {
        QObject *object = loader->instance();
        if (ModuleInterface *module = qobject_cast<ModuleInterface *>(object))
            current.append({object, module, loader->fileName()});
    }
    return current;
}

int ModuleLoader::loadFolder(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        noteLines << tr("No modules folder at %1").arg(folder);
        return 0;
    }
    int count = 0;
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        const QString path = file.absoluteFilePath();
        if (!QLibrary::isLibrary(path))
            continue;
        // The metadata is read from the file; a library is loaded only for its IID.
        const QJsonObject metaData = QPluginLoader(path).metaData();
        const QString iid = metaData.value(QStringLiteral("IID")).toString();
        if (iid != QLatin1String(ModuleIid)) {
            noteLines << (iid.isEmpty() ? tr("Skipped %1: not a Qt plug-in").arg(path)
                                        : tr("Skipped %1: a plug-in for %2").arg(path, iid));
            continue;
        }
        // Two copies of a module would give two of each of its windows and menu entries.
        const QString className = metaData.value(QStringLiteral("className")).toString();
        const QString loadedFrom = loadedClasses.value(className);
        if (!loadedFrom.isEmpty()) {
            noteLines << tr("Skipped %1: another copy of the module %2, which is loaded from %3")
                             .arg(path, className, loadedFrom);
            continue;
        }
        if (load(path)) {
            ++count;
            loadedClasses.insert(className, path);
        } else {
            noteLines << tr("Cannot load %1: %2").arg(path, error);
        }
    }
    if (count == 0)
        noteLines << tr("No module in %1").arg(folder);
    return count;
}
