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
        QCOMPARE(model.respond("orvel2 simulate " + name + ' ' + within).reply, QByteArray("orvel2 ok"));
        const QString option = SimSettingTable::optionName(name);
        if (setting->shape() == SimSetting::Nothing) {
            QVERIFY(!serverHelp().contains("--" + option));
            return;
        }
        QCOMPARE(model.simulate(name, beyond), int(SimError::BadValue));
        // The default the help shows (numbered ones name no body).
        if (setting->shape() != SimSetting::NumberedYesNo)
            QCOMPARE(model.simulate(name, setting->defaultText()), int(SimError::None));

        // Read from the server's command line.
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
