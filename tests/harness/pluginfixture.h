#ifndef PLUGINFIXTURE_H
#define PLUGINFIXTURE_H

#include <QMainWindow>
#include <QtTest>
#include <memory>

#include "fakecommandmanager.h"
#include "host/backendversions.h"
#include "pluginhost.h"

// The host's side of a test that drives the loaded plug-in: a recording
// command manager, the host's main window and the controller's versions.
class PluginFixture
{
protected:
    // Loads the plug-in as the host does and hands it the fixture's objects,
    // with the versions of an ORVEL 3 at 3.0.0, back-end 1.14.0; the
    // command manager must be made and scripted first. Fails the running
    // test unless the module offers its three entries.
    void loadPlugin()
    {
        versions = PluginHost::versions(QStringLiteral("ORVEL 3"), 3, 0, 0, 1, 14, 0);
        host = std::make_unique<PluginHost>();
        QVERIFY2(host->load(), qPrintable(host->errorString()));
        host->configure(fake.get(), &mainWindow, &versions);
        QCOMPARE(host->module()->menuEntries().size(), 3);
    }

    std::unique_ptr<FakeCommandManager> fake;
    QMainWindow mainWindow;
    BackendVersions versions;
    std::unique_ptr<PluginHost> host;
};

#endif // PLUGINFIXTURE_H
