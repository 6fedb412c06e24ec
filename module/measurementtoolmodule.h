#ifndef MEASUREMENTTOOLMODULE_H
#define MEASUREMENTTOOLMODULE_H

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include "host/moduleinterface.h"

class IOManager;
class QAction;
class QDockWidget;
class QWidget;
struct BackendVersions;

// The plug-in's root object: takes the host's objects by name and offers
// the settings, the tip calibration and the data display as menu entries.
class MeasurementToolModule : public QObject, public ModuleInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "Orvel2.MeasurementToolModule")
    Q_INTERFACES(ModuleInterface)

public:
    // The plug-in loader creates the instance without a parent.
    explicit MeasurementToolModule(QObject *parent = nullptr);
    ~MeasurementToolModule() override;

    void renewDisplay() override;
    void cleanup() override;
    QString name() override;
    QString version() override;
    QList<MenuEntry *> menuEntries() override;
    void setModuleParameter(QString name, QVariant value) override;

private:
    void dropStaleEntries();
    bool productSupported() const;
    QAction *dialogAction(MenuEntry &entry, const QString &text, const QString &statusTip, const QString &whatsThis);
    void addEntry(MenuEntry &entry, QAction *action, const QString &menuTitle, qint32 menuOrder, qint32 actionOrder,
                  QWidget *widget, qint32 widgetKind);
    void buildSettingsEntry();
    void buildCalibrationEntry();
    void buildDisplayEntry();

    // The host's window may be gone by a rebuild; never parent to a dead widget.
    QPointer<QWidget> pParentWidget;
    QList<MenuEntry *> listEntries;
    MenuEntry settingsEntry;
    MenuEntry calibrationEntry;
    MenuEntry displayEntry;
    IOManager *pCommandManager = nullptr;
    BackendVersions *pBackendVersions = nullptr;
    bool bObserverMode = false;

    // The widgets are children of the host's window, which may go first;
    // cleanup deletes only what still exists.
    QPointer<QWidget> settingsDlg;
    QPointer<QWidget> calibrationDlg;
    QPointer<QDockWidget> displayDock;
};

#endif // MEASUREMENTTOOLMODULE_H
