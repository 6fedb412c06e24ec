// The simulation settings' table against what uses it: every setting is
// accepted by "orvel2 simulate" with a value of its shape and refused with one
// beyond it, is an option of the server with its help, and is listed once.
#include <QCommandLineParser>
#include <QtTest>

#include "simulator/simerror.h"
#include "simulator/simmodel.h"
#include "simulator/simsettingtable.h"

namespace {

// The controller's reply to "orvel2 get <query>", after its "orvel2 ".
QByteArray answer(SimModel &model, const QByteArray &query)
{
    return model.respond("orvel2 get " + query).reply.mid(7);
}

// A value the setting's shape and range take, and one they do not (empty: none, as for a setting without value).
QByteArrayList withinAndBeyond(const SimSetting &setting)
{
    const QByteArray most = QByteArray::number(qint64(setting.most())),
                     tooMany = QByteArray::number(qint64(setting.most()) + 1);
    const auto tooLong = [&setting] {
        return QByteArray(int(setting.most()) + 1, 'x');
    };
    switch (setting.shape()) {
    case SimSetting::Nothing: return {QByteArray(), QByteArray()};
    case SimSetting::Text: return {"Probe 7", tooLong()};
    case SimSetting::MessageOrNone: return {"\"Tool tip moved\"", tooLong()};
    case SimSetting::WordsOrNone: return {"status active", tooLong()};
    case SimSetting::Triple: return {"1 13 -1", "1 13"}; // a command-line option writes it dotted
    case SimSetting::Integer: return {most, tooMany};
    case SimSetting::Decimal: return {QByteArray::number(setting.least()), QByteArray::number(setting.most() + 1.0)};
    case SimSetting::YesNo: return {"no", "No"};
    case SimSetting::NumberedYesNo: return {most + " yes", tooMany + " yes"};
    case SimSetting::Choice: return {setting.valueName().split('|').last(), "maybe"};
    }
    return {QByteArray(), QByteArray()};
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
    void everySetting_data()
    {
        QTest::addColumn<QByteArray>("name");
        for (const QByteArray &name : SimModel::settingNames())
            QTest::newRow(name.constData()) << name;
    }

    void everySetting()
    {
        QFETCH(QByteArray, name);
        const SimSetting *setting = SimSettingTable::find(name);
        QVERIFY(setting);
        const QByteArrayList values = withinAndBeyond(*setting);
        const QByteArray within = values[0], beyond = values[1];

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

        // In the server's help with its value's form and what it changes (its default: checked for every option by
        // the server's options test), and read from its command line.
        const QString help
            = QStringLiteral("--%1 <%2> %3")
                  .arg(option, SimSettingTable::optionValueName(*setting), SimSettingTable::optionHelp(*setting));
        QVERIFY2(serverHelp().contains(help.simplified()), qPrintable(help));
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

    // Listed once, in the same order as the controller takes them; an unknown name is no setting.
    void listedOnce()
    {
        const QList<QByteArray> names = SimModel::settingNames();
        QCOMPARE(names, SimSettingTable::names());
        for (const QByteArray &name : names)
            QVERIFY2(names.count(name) == 1, name.constData());
        QVERIFY(!SimSettingTable::find("warp_speed"));
    }

    // The options change what their settings change, in the table's order; a repeated option gives each value.
    void serverOptions()
    {
        QCommandLineParser parser;
        SimSettingTable::addOptions(&parser);
        QVERIFY(parser.parse({"orvel-controller-sim", "--backend-version", "01.12.0", "--locked", "yes",
                              "--clock-advance", "5", "--clock", "manual", "--cal-steps", "2", "--fail-param",
                              "status active", "--fail-param", "status err"}));
        SimModel model;
        QString error;
        QVERIFY2(SimSettingTable::applyOptions(parser, &model, &error), qPrintable(error));
        QCOMPARE(answer(model, "system backend_version"), QByteArray("set system backend_version 1 12 0"));
        QCOMPARE(answer(model, "config is_changeable"), QByteArray("set config is_changeable no"));
        QCOMPARE(answer(model, "cal number_of_steps measurementtool"),
                 QByteArray("set cal number_of_steps measurementtool 2"));
        QVERIFY(answer(model, "status active") == "err 6 injected fault"
                && answer(model, "status err") == "err 6 injected fault");
    }

    // A fresh controller has the defaults the help shows, also once given them (each a value its setting takes).
    void defaults()
    {
        SimModel fresh;
        for (const SimSetting &setting : SimSettingTable::settings()) {
            if (setting.shape() != SimSetting::Nothing && setting.shape() != SimSetting::NumberedYesNo)
                QVERIFY2(fresh.simulate(setting.name(), setting.defaultText()) == int(SimError::None),
                         setting.name().constData());
        }
        QCOMPARE(answer(fresh, "system product_name"), QByteArray("set system product_name BRIXEL 3"));
        QCOMPARE(answer(fresh, "system backend_version"), QByteArray("set system backend_version 1 14 0"));
        QCOMPARE(answer(fresh, "cal step_pause measurementtool s01"),
                 QByteArray("set cal step_pause measurementtool s01 no 0"));
        QCOMPARE(answer(fresh, "measurementtool max_number_of_tools"),
                 QByteArray("set measurementtool max_number_of_tools 4"));
    }
};

QTEST_GUILESS_MAIN(TestSimSettings)
#include "tst_simsettings.moc"
