#include "frontend/moduleloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "host/moduleinterface.h"

namespace {
const char PluginFileName[] = "libmeasurementtool.so";
}

QString ModuleLoader::defaultPluginPath()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(PluginFileName));
    if (QFileInfo::exists(beside))
        return beside;
#ifdef MT_DEFAULT_PLUGIN_PATH
    return QStringLiteral(MT_DEFAULT_PLUGIN_PATH);
#else
    return beside;
#endif
}

bool ModuleLoader::load(const QString &path)
{
    rootObject = nullptr;
    moduleInterface = nullptr;
    error.clear();

    if (!QFileInfo::exists(path)) {
        error = QStringLiteral("no module library at %1").arg(path);
        return false;
    }
    loader.setFileName(path);
    QObject *object = loader.instance();
    if (!object) {
        error = loader.errorString();
        return false;
    }
    ModuleInterface *module = qobject_cast<ModuleInterface *>(object);
    if (!module) {
        error = QStringLiteral("%1 is not a module (no %2 interface)")
                    .arg(path, QLatin1String(ModuleInterface_iid));
        return false;
    }
    rootObject = object;
    moduleInterface = module;
    return true;
}
