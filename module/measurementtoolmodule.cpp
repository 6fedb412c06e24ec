#include "module/measurementtoolmodule.h"

#include <QAction>
#include <QDockWidget>
#include <QWidget>

#include "data/mtdatadisplay.h"
#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "host/iomanager.h"
#include "host/versiongate.h"
#include "settings/mtsettingsdlg.h"
#include "tipcalibration/mtcalibrationdlg.h"

namespace {

// The project's version, set once in the top-level CMakeLists.txt.
constexpr int VersionMajor = MT_VERSION_MAJOR;
constexpr int VersionMinor = MT_VERSION_MINOR;
constexpr int VersionPatch = MT_VERSION_PATCH;

constexpr int TrackingMenuOrder = 300;
constexpr int ViewMenuOrder = 400;
constexpr int SettingsActionOrder = 50;
constexpr int CalibrationActionOrder = 60;
constexpr int DisplayActionOrder = 270;

// Products of this name line understand the measurement tool commands from this version on.
constexpr char GatedProductPrefix[] = "BRIXEL";
constexpr qint32 GatedProductMinimum[3] = {2, 9, 4};

MenuEntry emptyEntry()
{
    return MenuEntry{nullptr, 0, QString(), 0, nullptr, MenuEntry::DialogKind};
}

} // namespace

MeasurementToolModule::MeasurementToolModule(QObject *parent)
    : QObject(parent)
    , settingsEntry(emptyEntry())
    , calibrationEntry(emptyEntry())
    , displayEntry(emptyEntry())
{
    registerHostMetaTypes();
}

// The widgets are cleanup's to delete; the actions go with this object's children.
MeasurementToolModule::~MeasurementToolModule() = default;

void MeasurementToolModule::renewDisplay()
{
    dropStaleEntries();
    QDockWidget *dock = displayDock.data();
    if (!dock)
        return;
    if (MtDataDisplay *display = dock->findChild<MtDataDisplay *>())
        display->renewRegistration();
}

void MeasurementToolModule::cleanup()
{
    delete settingsDlg.data();
    delete calibrationDlg.data();
    delete displayDock.data();
    settingsEntry.widget = nullptr;
    calibrationEntry.widget = nullptr;
    displayEntry.widget = nullptr;
    displayEntry.action = nullptr; // the dock's toggle action went with it
    listEntries.clear();
}

QString MeasurementToolModule::name()
{
    return tr("GUI Measurement Tool");
}

QString MeasurementToolModule::version()
{
    return QStringLiteral("v%1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionPatch);
}

QList<MenuEntry *> MeasurementToolModule::menuEntries()
{
    dropStaleEntries();
    if (!listEntries.isEmpty())
        return listEntries;
    if (!productSupported())
        return listEntries;

    if (!bObserverMode) {
        buildSettingsEntry();
        buildCalibrationEntry();
    }
    buildDisplayEntry();
    return listEntries;
}

// QVariant::value takes the pointer directly when the variant carries the
// registered type and otherwise tries Qt's conversion, giving null when that
// fails; for widgets it checks that the object really is one.
void MeasurementToolModule::setModuleParameter(QString name, QVariant value)
{
    if (name == QLatin1String("CommandManager"))
        pCommandManager = value.value<IOManager *>();
    else if (name == QLatin1String("ModuleParent"))
        pParentWidget = value.value<QWidget *>();
    else if (name == QLatin1String("BackendVersions"))
        pBackendVersions = value.value<BackendVersions *>();
    else if (name == QLatin1String("ObserverMode"))
        bObserverMode = value.toBool();
}

// A host that deleted its window took our widgets with it: the entries it
// holds are stale, and the next request builds them afresh.
void MeasurementToolModule::dropStaleEntries()
{
    const bool stale = (settingsEntry.widget && !settingsDlg) || (calibrationEntry.widget && !calibrationDlg)
        || (displayEntry.widget && !displayDock);
    if (stale)
        cleanup();
}

// Every part talks to the controller and is gated by its version: without
// the command manager or the version record nothing is offered.
bool MeasurementToolModule::productSupported() const
{
    if (!pCommandManager || !pBackendVersions)
        return false;
    if (!pBackendVersions->productName.startsWith(QLatin1String(GatedProductPrefix), Qt::CaseSensitive))
        return true;
    return VersionGate::atLeast(pBackendVersions->productVersion, GatedProductMinimum[0], GatedProductMinimum[1],
                                GatedProductMinimum[2]);
}

// The entry's action, made on the first build with its texts: as our child
// it outlives cleanup, and a rebuild connects it to the new dialog.
QAction *MeasurementToolModule::dialogAction(MenuEntry &entry, const QString &text, const QString &statusTip,
                                             const QString &whatsThis)
{
    if (!entry.action) {
        entry.action = new QAction(text, this);
        entry.action->setStatusTip(statusTip);
        entry.action->setWhatsThis(whatsThis);
    }
    return entry.action;
}

// Fills the entry and offers it to the host.
void MeasurementToolModule::addEntry(MenuEntry &entry, QAction *action, const QString &menuTitle, qint32 menuOrder,
                                     qint32 actionOrder, QWidget *widget, qint32 widgetKind)
{
    entry.action = action;
    entry.menuTitle = menuTitle;
    entry.menuOrder = menuOrder;
    entry.actionOrder = actionOrder;
    entry.widget = widget;
    entry.widgetKind = widgetKind;
    listEntries.append(&entry);
}

void MeasurementToolModule::buildSettingsEntry()
{
    MtSettingsDlg *dialog = new MtSettingsDlg(pCommandManager, pParentWidget, pBackendVersions);
    settingsDlg = dialog;
    QAction *action
        = dialogAction(settingsEntry, tr("&Measurement Tool"), tr("Open the Measurement Tool settings dialog"),
                       tr("Change the Measurement Tool settings"));
    connect(action, &QAction::triggered, dialog, &MtSettingsDlg::update_and_exec);
    addEntry(settingsEntry, action, tr("&Tracking"), TrackingMenuOrder, SettingsActionOrder, dialog,
             MenuEntry::DialogKind);
}

void MeasurementToolModule::buildCalibrationEntry()
{
    MtCalibrationDlg *dialog = new MtCalibrationDlg(pCommandManager, pParentWidget, pBackendVersions);
    calibrationDlg = dialog;
    QAction *action
        = dialogAction(calibrationEntry, tr("Measurement &Tool tip calibration"),
                       tr("Open the Measurement Tool tip calibration"), tr("Perform Measurement Tool tip calibration"));
    connect(action, &QAction::triggered, dialog, &MtCalibrationDlg::update_and_exec);
    addEntry(calibrationEntry, action, tr("&Tracking"), TrackingMenuOrder, CalibrationActionOrder, dialog,
             MenuEntry::DialogKind);
}

void MeasurementToolModule::buildDisplayEntry()
{
    MtDataDisplay *display = new MtDataDisplay(pCommandManager, pParentWidget, pBackendVersions);
    QDockWidget *dock = new QDockWidget(tr("Measurement Tool Display"), pParentWidget, Qt::WindowFlags());
    dock->setWidget(display);
    displayDock = dock;

    QAction *toggle = dock->toggleViewAction();
    toggle->setText(tr("&Measurement Tool"));
    toggle->setStatusTip(tr("Show the Measurement Tool tracking data"));
    toggle->setWhatsThis(tr("Show the Measurement Tool tracking data"));
    addEntry(displayEntry, toggle, tr("&View"), ViewMenuOrder, DisplayActionOrder, dock, MenuEntry::DockKind);
}
