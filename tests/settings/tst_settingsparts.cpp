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
    void assignments();
    void deviceReplies();
    void limitMessage();
};

void TestSettingsParts::assignments()
{
    QList<int> references, chosen;
    QList<RadioDevice> devices;
    ToolAssignments tools(references, chosen, devices);
    tools.append(-1, RadioDevice());
    tools.append(0, RadioDevice());
    // Only tools with an entry are changed.
    QVERIFY(!tools.assignReference(2, 0) && !tools.assignReference(-1, 0));
    QVERIFY(!tools.assignDevice(2, RadioDevice::fromListReply("acme probe 1")));
    QCOMPARE(tools.size(), 2);

    // A reference comes back when the count covers it again.
    QVERIFY(tools.assignReference(0, 2));
    tools.forgetReferencesFrom(1);
    QCOMPARE(references + chosen, QList<int>({-1, 0, 2, 0}));
    tools.restoreChosenReferencesBelow(2);
    QCOMPARE(references, QList<int>({-1, 0}));
    tools.restoreChosenReferencesBelow(3);
    QCOMPARE(references, QList<int>({2, 0}));

    // A device is held by any tool, also beyond the count; its description does not count.
    RadioDevice listed = RadioDevice::fromListReply("acme probe 1");
    QVERIFY(!tools.holdsDevice(listed));
    QVERIFY(tools.assignDevice(1, listed));
    listed.modelDesc = QStringLiteral("Probe");
    QVERIFY(tools.holdsDevice(listed));
    QVERIFY(tools.assignDevice(1, RadioDevice()));
    QVERIFY(!tools.holdsDevice(listed));
}

// A tool's device keeps a long serial whole, the list cuts it to five; a short one is padded.
void TestSettingsParts::deviceReplies()
{
    const auto shown = [](const RadioDevice &d) {
        return QStringList{d.vendor, d.model, d.serial, d.modelDesc};
    };
    QCOMPARE(shown(RadioDevice::fromToolReply("kinwave acme probe 7")), QStringList({"acme", "probe", "00007", ""}));
    QCOMPARE(shown(RadioDevice::fromToolReply("kinwave acme probe 123456")),
             QStringList({"acme", "probe", "123456", ""}));
    QCOMPARE(shown(RadioDevice::fromToolReply("kinwave acme")), QStringList({"acme", "", "00000", ""}));
    QCOMPARE(shown(RadioDevice::fromListReply("acme probe 42")), QStringList({"acme", "probe", "00042", ""}));
    QCOMPARE(shown(RadioDevice::fromListReply("acme probe 123456")), QStringList({"acme", "probe", "12345", ""}));
}

// Tools, their maximum, references, their maximum: the message.
void TestSettingsParts::limitMessage()
{
    const QString reached = "<b><font color=red>Max. number of %1 reached!</font></b>",
                  bodies = reached.arg("bodies is");
    const QString tools = reached.arg("Measurement Tools is"), references = reached.arg("references is");
    const QList<QPair<QList<int>, QString>> rows{
        {{0, 0, 0, 0}, QString()}, {{4, 4, 4, 4}, reached.arg("Measurement Tools and references are")},
        {{4, 6, 2, 2}, bodies},    {{3, 3, 4, 6}, bodies},
        {{4, 6, 1, 3}, tools},     {{1, 3, 4, 6}, references},
        {{1, 3, 2, 2}, bodies},    {{1, 3, 1, 3}, QString()}};
    for (const auto &row : rows)
        QVERIFY2(
            CountLimits::message(row.first[0], row.first[1], row.first[2], row.first[3]) == row.second,
            qPrintable(QString("%1 %2 %3 %4").arg(row.first[0]).arg(row.first[1]).arg(row.first[2]).arg(row.first[3])));
}

QTEST_GUILESS_MAIN(TestSettingsParts)
#include "tst_settingsparts.moc"
