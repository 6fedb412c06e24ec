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

template <typename Record, typename Field>
long offset(const Record &record, const Field &field)
{
    return reinterpret_cast<const char *>(&field) - reinterpret_cast<const char *>(&record);
}

// Numbers as one text, so a failure shows them all.
QString numbers(std::initializer_list<long> values)
{
    QStringList texts;
    for (long value : values)
        texts.append(QString::number(value));
    return texts.join(QLatin1Char(' '));
}

} // namespace

// The host interfaces are shared with a host built separately: a change of
// order or type here breaks it silently, with every test of our own passing.
class TestHostAbi : public QObject
{
    Q_OBJECT

private slots:
    void virtualFunctionOrder();
    void recordLayoutsAndNames();
};

void TestHostAbi::virtualFunctionOrder()
{
    // Slots 0 and 1 of a class with a virtual destructor are its two destructor entries.
    using IO = IOManager;
    QCOMPARE(
        numbers({vtableIndex(&IO::reserved1), vtableIndex(&IO::commandPreset), vtableIndex(&IO::sendCommand),
                 vtableIndex(&IO::reserved4), vtableIndex(&IO::getParameter), vtableIndex(&IO::getIntParameter),
                 vtableIndex(&IO::getDoubleParameter), vtableIndex(&IO::getBoolParameter), vtableIndex(&IO::reserved9),
                 vtableIndex(&IO::reserved10), vtableIndex(&IO::setParameter), vtableIndex(&IO::subscribeOutput),
                 vtableIndex(&IO::unsubscribeOutput), vtableIndex(&IO::addRequester), vtableIndex(&IO::renewRequester),
                 vtableIndex(&IO::logMessage), IO::ReplySize}),
        QStringLiteral("2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 200"));
    QCOMPARE(numbers({vtableIndex(&Requester::handleDataLine), vtableIndex(&Requester::measurementStarted),
                      vtableIndex(&Requester::measurementStopped)}),
             QStringLiteral("0 1 2"));
    using MI = ModuleInterface;
    QCOMPARE(numbers({vtableIndex(&MI::renewDisplay), vtableIndex(&MI::cleanup), vtableIndex(&MI::name),
                      vtableIndex(&MI::version), vtableIndex(&MI::menuEntries), vtableIndex(&MI::setModuleParameter)}),
             QStringLiteral("2 3 4 5 6 7"));
}

void TestHostAbi::recordLayoutsAndNames()
{
    const BackendVersions v{};
    QCOMPARE(
        numbers({offset(v, v.productVersion), offset(v, v.backendVersion), offset(v, v.productName), long(sizeof v)}),
        QStringLiteral("0 12 24 32"));
    const MenuEntry e{};
    QCOMPARE(numbers({offset(e, e.action), offset(e, e.actionOrder), offset(e, e.menuTitle), offset(e, e.menuOrder),
                      offset(e, e.widget), offset(e, e.widgetKind), long(sizeof e)}),
             QStringLiteral("0 8 16 24 32 40 48"));

    registerHostMetaTypes();
    QCOMPARE(QByteArray(QMetaType::typeName(qMetaTypeId<IOManager *>())), QByteArray("IOManager*"));
    QCOMPARE(QByteArray(QMetaType::typeName(qMetaTypeId<BackendVersions *>())), QByteArray("BackendVersions*"));
}

QTEST_GUILESS_MAIN(TestHostAbi)
#include "tst_hostabi.moc"
