#include <QtTest>

#include "settings/countlimits.h"
#include "settings/radiodevice.h"
#include "settings/toolassignments.h"

// The settings dialog's pieces that hold no widget: the limit message, the
// radio device replies and the rules for the tools' assignments.
class TestSettingsParts : public QObject
{
    Q_OBJECT

private slots:
    void referenceComesBackWhenTheCountCoversItAgain();
    void toolsWithoutAnEntryAreLeftAlone();
    void devicesAreHeldAlsoBeyondTheToolCount();
    void limitMessage_data();
    void limitMessage();
    void toolDeviceReply_data();
    void toolDeviceReply();
    void listedDeviceReply_data();
    void listedDeviceReply();
};

void TestSettingsParts::referenceComesBackWhenTheCountCoversItAgain()
{
    QList<int> references, chosen;
    QList<RadioDevice> devices;
    ToolAssignments tools(references, chosen, devices);
    tools.append(-1, RadioDevice());
    tools.append(0, RadioDevice());
    QVERIFY(tools.assignReference(0, 2));

    tools.forgetReferencesFrom(1);
    QCOMPARE(references, QList<int>({-1, 0}));
    QCOMPARE(chosen, QList<int>({2, 0}));

    tools.restoreChosenReferencesBelow(2);
    QCOMPARE(references, QList<int>({-1, 0}));
    tools.restoreChosenReferencesBelow(3);
    QCOMPARE(references, QList<int>({2, 0}));
}

void TestSettingsParts::toolsWithoutAnEntryAreLeftAlone()
{
    QList<int> references, chosen;
    QList<RadioDevice> devices;
    ToolAssignments tools(references, chosen, devices);
    tools.append(1, RadioDevice());
    QVERIFY(!tools.assignReference(1, 0));
    QVERIFY(!tools.assignReference(-1, 0));
    QVERIFY(!tools.assignDevice(1, RadioDevice::fromListReply("acme probe 1")));
    QCOMPARE(references, QList<int>({1}));
    QCOMPARE(tools.size(), 1);
}

void TestSettingsParts::devicesAreHeldAlsoBeyondTheToolCount()
{
    QList<int> references, chosen;
    QList<RadioDevice> devices;
    ToolAssignments tools(references, chosen, devices);
    RadioDevice listed = RadioDevice::fromListReply("acme probe 1");
    tools.append(-1, RadioDevice());
    tools.append(-1, RadioDevice());
    QVERIFY(!tools.holdsDevice(listed));
    QVERIFY(tools.assignDevice(1, listed));
    listed.modelDesc = QStringLiteral("Probe");
    QVERIFY2(tools.holdsDevice(listed), "the description does not count");
    QVERIFY(tools.assignDevice(1, RadioDevice()));
    QVERIFY(!tools.holdsDevice(listed));
}

void TestSettingsParts::limitMessage_data()
{
    // Tools, their maximum, references, their maximum.
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<QString>("message");
    const QString both = "<b><font color=red>Max. number of Measurement Tools and references are reached!</font></b>";
    const QString bodies = "<b><font color=red>Max. number of bodies is reached!</font></b>";
    const QString tools = "<b><font color=red>Max. number of Measurement Tools is reached!</font></b>";
    const QString references = "<b><font color=red>Max. number of references is reached!</font></b>";
    QTest::newRow("no body allowed") << QList<int>{0, 0, 0, 0} << QString();
    QTest::newRow("both at the limit of each kind") << QList<int>{4, 4, 4, 4} << both;
    QTest::newRow("tools at 4, references at their maximum") << QList<int>{4, 6, 2, 2} << bodies;
    QTest::newRow("tools at their maximum, references at 4") << QList<int>{3, 3, 4, 6} << bodies;
    QTest::newRow("tools at 4") << QList<int>{4, 6, 1, 3} << tools;
    QTest::newRow("references at 4") << QList<int>{1, 3, 4, 6} << references;
    QTest::newRow("references at their maximum") << QList<int>{1, 3, 2, 2} << bodies;
    QTest::newRow("below every limit") << QList<int>{1, 3, 1, 3} << QString();
}

void TestSettingsParts::limitMessage()
{
    QFETCH(QList<int>, counts);
    QFETCH(QString, message);
    QCOMPARE(CountLimits::message(counts.at(0), counts.at(1), counts.at(2), counts.at(3)), message);
}

void TestSettingsParts::toolDeviceReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("serial");
    QTest::newRow("short serial padded") << QByteArray("kinwave acme probe 7") << "acme"
                                         << "probe"
                                         << "00007";
    QTest::newRow("long serial kept whole") << QByteArray("kinwave acme probe 123456") << "acme"
                                            << "probe"
                                            << "123456";
    QTest::newRow("missing words empty") << QByteArray("kinwave acme") << "acme"
                                         << ""
                                         << "00000";
}

void TestSettingsParts::toolDeviceReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, vendor);
    QFETCH(QString, model);
    QFETCH(QString, serial);
    const RadioDevice device = RadioDevice::fromToolReply(reply.constData());
    QCOMPARE(device.vendor, vendor);
    QCOMPARE(device.model, model);
    QCOMPARE(device.serial, serial);
    QVERIFY(device.modelDesc.isEmpty());
}

void TestSettingsParts::listedDeviceReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("serial");
    QTest::newRow("short serial padded") << QByteArray("acme probe 42") << "00042";
    QTest::newRow("long serial cut to five") << QByteArray("acme probe 123456") << "12345";
}

void TestSettingsParts::listedDeviceReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, serial);
    const RadioDevice device = RadioDevice::fromListReply(reply.constData());
    QCOMPARE(device.vendor, QString("acme"));
    QCOMPARE(device.model, QString("probe"));
    QCOMPARE(device.serial, serial);
}

QTEST_GUILESS_MAIN(TestSettingsParts)
#include "tst_settingsparts.moc"
