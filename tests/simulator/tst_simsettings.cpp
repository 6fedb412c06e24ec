// The simulation settings' table against what uses it: every setting is
// accepted by "orvel2 simulate" with a value of its shape and with its
// default, refused with one beyond it, and is an option of the server.
#include <QCommandLineParser>
#include <QtTest>

#include "simulator/simerror.h"
#include "simulator/simmodel.h"
#include "simulator/simsettingtable.h"

namespace {

// A value the setting's shape and range take, and one they do not (empty: none, as for a setting without value).
std::pair<QByteArray, QByteArray> withinAndBeyond(const SimSetting &setting)
{
    const qint64 most = qint64(setting.most());
    const int tooLong = int(qMin(setting.most(), 1e6)) + 1; // the length beyond a text's
    switch (setting.shape()) {
    case SimSetting::Nothing: return {QByteArray(), QByteArray()};
    case SimSetting::Text: return {"Probe 7", QByteArray(tooLong, 'x')};
    case SimSetting::MessageOrNone: return {"\"Tool tip moved\"", QByteArray(tooLong, 'x')};
    case SimSetting::WordsOrNone: return {"status active", QByteArray(tooLong, 'x')};
    case SimSetting::Triple: return {"1 13 -1", "1 13"}; // a command-line option writes it dotted
    case SimSetting::Integer: return {QByteArray::number(most), QByteArray::number(most + 1)};
    case SimSetting::Decimal: return {QByteArray::number(setting.least()), QByteArray::number(setting.most() + 1.0)};
    case SimSetting::YesNo: return {"no", "No"};
    case SimSetting::NumberedYesNo: return {QByteArray::number(most) + " yes", QByteArray::number(most + 1) + " yes"};
    case SimSetting::Choice: return {setting.valueName().split('|').last(), "maybe"};
    }
    return {QByteArray(), QByteArray()};
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
        const auto [within, beyond] = withinAndBeyond(*setting);

        SimModel model;
        QCOMPARE(model.respond("orvel2 simulate " + name + ' ' + within).reply, QByteArray("orvel2 ok"));
        const QString option = SimSettingTable::optionName(name);
        QCommandLineParser parser; // the server's
        SimSettingTable::addOptions(&parser);
        if (setting->shape() == SimSetting::Nothing) {
            QVERIFY(!parser.helpText().contains("--" + option));
            return;
        }
        QCOMPARE(model.simulate(name, beyond), int(SimError::BadValue));
        // The default the help shows (numbered ones name no body).
        if (setting->shape() != SimSetting::NumberedYesNo)
            QCOMPARE(model.simulate(name, setting->defaultText()), int(SimError::None));

        // Read from the server's command line.
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

    // A repeated option gives each of its values.
    void repeatedOption()
    {
        QCommandLineParser parser;
        SimSettingTable::addOptions(&parser);
        QVERIFY(parser.parse({"orvel-controller-sim", "--fail-param", "status active", "--fail-param", "status err"}));
        SimModel model;
        QString error;
        QVERIFY2(SimSettingTable::applyOptions(parser, &model, &error), qPrintable(error));
        QCOMPARE(model.respond("orvel2 get status active").reply, QByteArray("orvel2 err 6 injected fault"));
        QCOMPARE(model.respond("orvel2 get status err").reply, QByteArray("orvel2 err 6 injected fault"));
    }
};

QTEST_GUILESS_MAIN(TestSimSettings)
#include "tst_simsettings.moc"
