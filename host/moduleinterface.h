#ifndef MODULEINTERFACE_H
#define MODULEINTERFACE_H

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include "host/menuentry.h"

// The host's plug-in interface. Shared with the host binary: the order of
// the virtual functions is its ABI.
class ModuleInterface
{
public:
    virtual ~ModuleInterface() { }
    virtual void renewDisplay() = 0;
    virtual void cleanup() = 0;
    virtual QString name() = 0;
    virtual QString version() = 0;
    virtual QList<MenuEntry *> menuEntries() = 0;
    virtual void setModuleParameter(QString name, QVariant value) = 0;
};

#define ModuleInterface_iid "orvel2.gui.Module/0.2.0"
Q_DECLARE_INTERFACE(ModuleInterface, ModuleInterface_iid)

#endif // MODULEINTERFACE_H
