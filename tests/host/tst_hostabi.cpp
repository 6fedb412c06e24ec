#include <QtTest>
#include <cstddef>
#include <cstring>

#include "host/backendversions.h"
#include "host/hostmetatypes.h"
#include "host/iomanager.h"
#include "host/menuentry.h"
#include "host/moduleinterface.h"
#include "host/requester.h"

namespace {

// The vtable index of a virtual member function, from its pointer-to-member
// representation in the Itanium C++ ABI: the vtable offset in bytes plus 1.
template <typename Member>
long vtableIndex(Member member)
{
    static_assert(sizeof(Member) == 2 * sizeof(std::ptrdiff_t), "Itanium pointer to member function");
    std::ptrdiff_t representation[2];
    std::memcpy(representation, &member, sizeof representation);
    return (representation[0] - 1) / long(sizeof(void *));
}

} // namespace

// The host interfaces are shared with a host built separately: a change of
// order or type here breaks it silently, with every test of our own passing.
class TestHostAbi : public QObject
{
    Q_OBJECT

private slots:
    void virtualFunctionOrder();
    void recordLayouts();
    void metaTypeNames();
};

void TestHostAbi::virtualFunctionOrder()
{
    // Slots 0 and 1 of a class with a virtual destructor are its two destructor entries.
    QCOMPARE(vtableIndex(&IOManager::reserved1), 2L);
    QCOMPARE(vtableIndex(&IOManager::commandPreset), 3L);
    QCOMPARE(vtableIndex(&IOManager::sendCommand), 4L);
    QCOMPARE(vtableIndex(&IOManager::reserved4), 5L);
    QCOMPARE(vtableIndex(&IOManager::getParameter), 6L);
    QCOMPARE(vtableIndex(&IOManager::getIntParameter), 7L);
    QCOMPARE(vtableIndex(&IOManager::getDoubleParameter), 8L);
    QCOMPARE(vtableIndex(&IOManager::getBoolParameter), 9L);
    QCOMPARE(vtableIndex(&IOManager::reserved9), 10L);
    QCOMPARE(vtableIndex(&IOManager::reserved10), 11L);
    QCOMPARE(vtableIndex(&IOManager::setParameter), 12L);
    QCOMPARE(vtableIndex(&IOManager::subscribeOutput), 13L);
    QCOMPARE(vtableIndex(&IOManager::unsubscribeOutput), 14L);
    QCOMPARE(vtableIndex(&IOManager::addRequester), 15L);
    QCOMPARE(vtableIndex(&IOManager::renewRequester), 16L);
    QCOMPARE(vtableIndex(&IOManager::logMessage), 17L);
    QCOMPARE(IOManager::ReplySize, 200);

    QCOMPARE(vtableIndex(&Requester::handleDataLine), 0L);
    QCOMPARE(vtableIndex(&Requester::measurementStarted), 1L);
    QCOMPARE(vtableIndex(&Requester::measurementStopped), 2L);

    QCOMPARE(vtableIndex(&ModuleInterface::renewDisplay), 2L);
    QCOMPARE(vtableIndex(&ModuleInterface::cleanup), 3L);
    QCOMPARE(vtableIndex(&ModuleInterface::name), 4L);
    QCOMPARE(vtableIndex(&ModuleInterface::version), 5L);
    QCOMPARE(vtableIndex(&ModuleInterface::menuEntries), 6L);
    QCOMPARE(vtableIndex(&ModuleInterface::setModuleParameter), 7L);
    QCOMPARE(QByteArray(qobject_interface_iid<ModuleInterface *>()), QByteArray("orvel2.gui.Module/0.2.0"));

    // The base of the callback interface does nothing and answers 0.
    struct Plain : Requester
    {
    } plain;
    Requester &requester = plain;
    QCOMPARE(requester.handleDataLine("6dmt", "6dmt 0"), 0);
    QCOMPARE(requester.measurementStarted(), 0);
    QCOMPARE(requester.measurementStopped(), 0);
}

void TestHostAbi::recordLayouts()
{
    const BackendVersions versions{};
    const char *base = reinterpret_cast<const char *>(&versions);
    QCOMPARE(reinterpret_cast<const char *>(&versions.productVersion) - base, 0L);
    QCOMPARE(reinterpret_cast<const char *>(&versions.backendVersion) - base, 12L);
    QCOMPARE(reinterpret_cast<const char *>(&versions.productName) - base, 24L);
    QCOMPARE(sizeof(BackendVersions), size_t(32));

    const MenuEntry entry{};
    const char *start = reinterpret_cast<const char *>(&entry);
    QCOMPARE(reinterpret_cast<const char *>(&entry.action) - start, 0L);
    QCOMPARE(reinterpret_cast<const char *>(&entry.actionOrder) - start, 8L);
    QCOMPARE(reinterpret_cast<const char *>(&entry.menuTitle) - start, 16L);
    QCOMPARE(reinterpret_cast<const char *>(&entry.menuOrder) - start, 24L);
    QCOMPARE(reinterpret_cast<const char *>(&entry.widget) - start, 32L);
    QCOMPARE(reinterpret_cast<const char *>(&entry.widgetKind) - start, 40L);
    QCOMPARE(sizeof(MenuEntry), size_t(48));
}

void TestHostAbi::metaTypeNames()
{
    registerHostMetaTypes();
    QCOMPARE(QByteArray(QMetaType::typeName(qMetaTypeId<IOManager *>())), QByteArray("IOManager*"));
    QCOMPARE(QByteArray(QMetaType::typeName(qMetaTypeId<BackendVersions *>())), QByteArray("BackendVersions*"));
    QCOMPARE(QMetaType::type("IOManager*"), qMetaTypeId<IOManager *>());
    QCOMPARE(QMetaType::type("BackendVersions*"), qMetaTypeId<BackendVersions *>());
}

QTEST_GUILESS_MAIN(TestHostAbi)
#include "tst_hostabi.moc"
