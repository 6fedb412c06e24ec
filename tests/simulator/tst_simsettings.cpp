// The simulation settings' table against what uses it: every setting is
// accepted by "orvel2 simulate" with a value of its shape and refused with one
// beyond it, is an option of the server with its help, and is listed once.
#include <QCommandLineParser>
#include <QtTest>

#include "simulator/simerror.h"
#include "simulator/simmodel.h"
#include "simulator/simsettingtable.h"

namespace {

// The controller's reply to "orvel2 get <query>".
QByteArray answer(SimModel &model, const QByteArray &query)
{
    return model.respond("orvel2 get " + query).reply;
}

// A value the setting's shape and range take, and one they do not (empty: none, as for a setting without value).
QByteArray valueWithin(const SimSetting &setting)
{
    const QByteArray most = QByteArray::number(qint64(setting.most()));
    switch (setting.shape()) {
    case SimSetting::Nothing: return QByteArray();
    case SimSetting::Text: return "Probe 7";
    case SimSetting::MessageOrNone: return "\"Tool tip moved\"";
    case SimSetting::WordsOrNone: return "status active";
    case SimSetting::Triple: return "1 13 -1"; // a command-line option writes it dotted
    case SimSetting::Integer: return most;
    case SimSetting::Decimal: return QByteArray::number(setting.least());
    case SimSetting::YesNo: return "no";
    case SimSetting::NumberedYesNo: return most + " yes";
    case SimSetting::Choice: return setting.valueName().split('|').last();
    }
    return QByteArray();
}

QByteArray valueBeyond(const SimSetting &setting)
{
    const QByteArray tooMany = QByteArray::number(qint64(setting.most()) + 1);
    switch (setting.shape()) {
    case SimSetting::Nothing: return QByteArray();
    case SimSetting::Text:
    case SimSetting::MessageOrNone:
    case SimSetting::WordsOrNone: return QByteArray(int(setting.most()) + 1, 'x');
    case SimSetting::Triple: return "1 13";
    case SimSetting::Integer: return tooMany;
    case SimSetting::Decimal: return QByteArray::number(setting.most() + 1.0);
    case SimSetting::YesNo: return "No";
    case SimSetting::NumberedYesNo: return tooMany + " yes";
    case SimSetting::Choice: return "maybe";
    }
    return QByteArray();
}

// The server's help, one blank between words.
QString serverHelp()
{
    QCommandLineParser parser;
    SimSettingTable::addOptions(&parser);
    return parser.helpText().simplified();
}

} // namespace

class TestSimSettings : public QObject
{
    Q_OBJECT

private slots:
    void everySetting_data();
    void everySetting();
    void listedOnce();
    void serverOptions();
    void defaultIsAValue_data();
    void defaultIsAValue();
    void defaults();
};

void TestSimSettings::everySetting_data()
{
    QTest::addColumn<QByteArray>("name");
    for (const QByteArray &name : SimModel::settingNames())
        QTest::newRow(name.constData()) << name;
}

void TestSimSettings::everySetting()
{
    QFETCH(QByteArray, name);
    const SimSetting *setting = SimSettingTable::find(name);
    QVERIFY(setting);
    const QByteArray within = valueWithin(*setting), beyond = valueBeyond(*setting);

    SimModel model;
    QByteArray reason;
    QCOMPARE(model.simulate(name, within, &reason), int(SimError::None));
    QCOMPARE(model.respond("orvel2 simulate " + name + ' ' + within).reply, QByteArray("orvel2 ok"));
    const QString option = SimSettingTable::optionName(name);
    if (setting->shape() == SimSetting::Nothing) {
        QVERIFY(!serverHelp().contains("--" + option));
        return;
    }
    QCOMPARE(model.simulate(name, beyond, &reason), int(SimError::BadValue));
    QCOMPARE(reason, QByteArray("bad value"));

    // In the server's help with its value's form, what it changes and its default, and read from its command line.
    QVERIFY(!setting->defaultText().isEmpty());
    const QString help
        = QStringLiteral("--%1 <%2> %3")
              .arg(option, SimSettingTable::optionValueName(*setting), SimSettingTable::optionHelp(*setting));
    QVERIFY2(serverHelp().contains(help.simplified()), qPrintable(help));
    QVERIFY2(help.contains(" (default ") || help.contains("; default "), qPrintable(help));
    QCommandLineParser parser;
    SimSettingTable::addOptions(&parser);
    const QString optionWithin = SimSettingTable::optionText(*setting, within),
                  optionBeyond = SimSettingTable::optionText(*setting, beyond);
    QVERIFY(parser.parse({"orvel-controller-sim", "--" + option, optionWithin}));
    QString error;
    QVERIFY2(SimSettingTable::applyOptions(parser, &model, &error), qPrintable(error));
    QVERIFY(parser.parse({"orvel-controller-sim", "--" + option, optionBeyond}));
    QVERIFY(!SimSettingTable::applyOptions(parser, &model, &error));
    QVERIFY2(error.startsWith("--" + option + " wants ") && error.endsWith(", not \"" + optionBeyond + '"'),
             qPrintable(error));
}

void TestSimSettings::listedOnce()
{
    const QList<QByteArray> names = SimModel::settingNames();
    QCOMPARE(names, SimSettingTable::names());
    for (const QByteArray &name : names)
        QVERIFY2(names.count(name) == 1, name.constData());
    SimModel model;
    QByteArray reason;
    QCOMPARE(model.simulate("warp_speed", "9", &reason), int(SimError::UnknownParameter));
    QCOMPARE(reason, QByteArray("unknown setting"));
    QVERIFY(!SimSettingTable::find("warp_speed"));
}

// The options change what their settings change, in the table's order.
void TestSimSettings::serverOptions()
{
    QCommandLineParser parser;
    SimSettingTable::addOptions(&parser);
    QVERIFY(parser.parse({"orvel-controller-sim", "--backend-version", "01.12.0", "--locked", "yes", "--clock-advance",
                          "5", "--clock", "manual", "--cal-steps", "2", "--fail-param", "status active", "--fail-param",
                          "status err"}));
    SimModel model;
    QString error;
    QVERIFY2(SimSettingTable::applyOptions(parser, &model, &error), qPrintable(error));
    QCOMPARE(answer(model, "system backend_version"), QByteArray("orvel2 set system backend_version 1 12 0"));
    QCOMPARE(answer(model, "config is_changeable"), QByteArray("orvel2 set config is_changeable no"));
    QCOMPARE(answer(model, "cal number_of_steps measurementtool"),
             QByteArray("orvel2 set cal number_of_steps measurementtool 2"));
    // A repeated option gives each of its values.
    QCOMPARE(answer(model, "status active"), QByteArray("orvel2 err 6 injected fault"));
    QCOMPARE(answer(model, "status err"), QByteArray("orvel2 err 6 injected fault"));

    // Versions are dotted only, as the front-end writes them.
    QVERIFY(parser.parse({"orvel-controller-sim", "--backend-version", "1 12 0"}));
    QVERIFY(!SimSettingTable::applyOptions(parser, &model, &error));
    QCOMPARE(error, "--backend-version wants major.minor.patch (each 0 to 1000, the patch from -1), not \"1 12 0\"");
}

// The settings whose default the help shows as a value (not those without
// one, nor those with a note per body).
static QList<const SimSetting *> settingsWithADefault()
{
    QList<const SimSetting *> found;
    for (const SimSetting &setting : SimSettingTable::settings()) {
        if (setting.shape() != SimSetting::Nothing && setting.shape() != SimSetting::NumberedYesNo)
            found << &setting;
    }
    return found;
}

void TestSimSettings::defaultIsAValue_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("value");
    for (const SimSetting *setting : settingsWithADefault())
        QTest::newRow(setting->name().constData()) << QByteArray(setting->name()) << setting->defaultText();
}

// Each default the help shows is a value its setting takes.
void TestSimSettings::defaultIsAValue()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, value);
    SimModel fresh;
    QCOMPARE(fresh.simulate(name, value), int(SimError::None));
}

// A fresh controller has the defaults the help shows, also once given them.
void TestSimSettings::defaults()
{
    SimModel fresh;
    for (const SimSetting *setting : settingsWithADefault())
        QVERIFY2(fresh.simulate(setting->name(), setting->defaultText()) == int(SimError::None),
                 setting->name().constData());
    QCOMPARE(answer(fresh, "system product_name"), QByteArray("orvel2 set system product_name BRIXEL 3"));
    QCOMPARE(answer(fresh, "system backend_version"), QByteArray("orvel2 set system backend_version 1 14 0"));
    QCOMPARE(answer(fresh, "cal step_pause measurementtool s01"),
             QByteArray("orvel2 set cal step_pause measurementtool s01 no 0"));
    QCOMPARE(answer(fresh, "measurementtool max_number_of_tools"),
             QByteArray("orvel2 set measurementtool max_number_of_tools 4"));
}

QTEST_GUILESS_MAIN(TestSimSettings)
#include "tst_simsettings.moc"
