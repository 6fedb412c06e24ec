#include "simulator/simsettingtable.h"

#include "simulator/optionvalue.h"
#include "simulator/simerror.h"
#include "simulator/simmodel.h"
#include "simulator/simstate.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <algorithm>

using Value = SimSetting::Value;

const QVector<SimSetting> &SimSettingTable::settings()
{
    static const QVector<SimSetting> table
        = controllerSettings() + bodySettings() + calibrationSettings() + surroundingSettings() + faultSettings();
    return table;
}

const SimSetting *SimSettingTable::find(const QByteArray &name)
{
    for (const SimSetting &setting : settings()) {
        if (setting.name() == name)
            return &setting;
    }
    return nullptr;
}

QList<QByteArray> SimSettingTable::names()
{
    QList<QByteArray> names;
    for (const SimSetting &setting : settings())
        names.append(setting.name());
    return names;
}

QString SimSettingTable::optionName(const QByteArray &setting)
{
    return QString::fromLatin1(setting).replace(QLatin1Char('_'), QLatin1Char('-'));
}

QString SimSettingTable::optionValueName(const SimSetting &setting)
{
    return setting.shape() == SimSetting::Triple ? QStringLiteral("x.y.z") : QString::fromLatin1(setting.valueName());
}

QString SimSettingTable::optionHelp(const SimSetting &setting)
{
    QString text = QString::fromLatin1(setting.effect()) + QStringLiteral(" (");
    if (!setting.range().isEmpty())
        text += QString::fromLatin1(setting.range()) + QStringLiteral("; ");
    return text + QStringLiteral("default %1).").arg(optionText(setting, setting.defaultText()));
}

QString SimSettingTable::optionText(const SimSetting &setting, QByteArray value)
{
    if (setting.shape() == SimSetting::Triple)
        value.replace(' ', '.');
    return QString::fromLatin1(value);
}

bool SimSettingTable::fromOptionText(const SimSetting &setting, const QString &text, QByteArray *value)
{
    if (setting.shape() != SimSetting::Triple) {
        *value = text.toLatin1();
        return QString::fromLatin1(*value) == text;
    }
    // The front-end's version syntax; the setting checks the range.
    QString triple;
    if (!OptionValue::version(text, &triple))
        return false;
    *value = triple.toLatin1();
    return true;
}

void SimSettingTable::addOptions(QCommandLineParser *parser)
{
    for (const SimSetting &setting : settings()) {
        if (setting.shape() != SimSetting::Nothing)
            parser->addOption(
                QCommandLineOption(optionName(setting.name()), optionHelp(setting), optionValueName(setting)));
    }
}

bool SimSettingTable::applyOptions(const QCommandLineParser &parser, SimModel *model, QString *error)
{
    for (const SimSetting &setting : settings()) {
        if (setting.shape() == SimSetting::Nothing)
            continue;
        // Every value of a repeated option, in order: fail_param and the
        // per-body flags add up, any other takes the last.
        const QString name = optionName(setting.name());
        const QStringList texts = parser.values(name);
        for (const QString &text : texts) {
            QByteArray value;
            if (!fromOptionText(setting, text, &value) || model->simulate(setting.name(), value) != SimError::None) {
                const QString form = setting.shape() == SimSetting::Triple ? QStringLiteral("major.minor.patch")
                                                                           : optionValueName(setting);
                const QString range = setting.range().isEmpty()
                    ? QString()
                    : QStringLiteral(" (%1)").arg(QString::fromLatin1(setting.range()));
                *error = QStringLiteral("--%1 wants %2%3, not \"%4\"").arg(name, form, range, text);
                return false;
            }
        }
    }
    return true;
}

QVector<SimSetting> SimSettingTable::controllerSettings()
{
    return {
        SimSetting::text("product_name", SimSetting::Text, 64, "Product name the controller reports",
                         [](SimState &s, const Value &v) { s.productName = v.text; })
            .byDefault("BRIXEL 3"),
        SimSetting::triple("product_version", "Product version the controller reports",
                           [](SimState &s, const Value &v) { std::copy_n(v.triple, 3, s.productVersion); })
            .byDefault("3 2 0"),
        SimSetting::triple("backend_version", "Backend version; parameters newer than it are unknown",
                           [](SimState &s, const Value &v) { std::copy_n(v.triple, 3, s.backendVersion); })
            .byDefault("1 14 0"),
        SimSetting::integer("rate", 1, 1000, "Data frames per second",
                            [](SimState &s, const Value &v) { s.rate = v.number; })
            .byDefault("60"),
        SimSetting::yesNo("locked", "Configuration locked: every set but the output switches refused",
                          [](SimState &s, const Value &v) { s.locked = v.flag; })
            .byDefault("no"),
        SimSetting::yesNo("tracking_available", "Tracking available",
                          [](SimState &s, const Value &v) { s.trackingAvailable = v.flag; })
            .byDefault("yes"),
        SimSetting::yesNo("measurementtool_available", "Measurement tools available",
                          [](SimState &s, const Value &v) { s.featureAvailable = v.flag; })
            .byDefault("yes"),
        SimSetting::yesNo("sync_missing", "No sync signal: tracking waits for it (\"wait\")",
                          [](SimState &s, const Value &v) { s.syncMissing = v.flag; })
            .byDefault("no"),
    };
}

QVector<SimSetting> SimSettingTable::bodySettings()
{
    return {
        SimSetting::integer("body_capacity", 0, SimBodies::MaxCapacity, "Tools plus references the controller takes",
                            [](SimState &s, const Value &v) { s.bodies.setCapacity(v.number); })
            .byDefault("6"),
        SimSetting::numberedYesNo(
            "tool_calibrated", SimBodies::ToolLimit, "Tool n calibrated",
            [](SimState &s, const Value &v) { s.bodies.setFlag(SimBodies::BodyCalibrated, v.number, v.flag); })
            .describedDefault("yes for tools 1 to 3"),
        SimSetting::numberedYesNo(
            "tip_calibrated", SimBodies::ToolLimit, "Tip of tool n calibrated",
            [](SimState &s, const Value &v) { s.bodies.setFlag(SimBodies::TipCalibrated, v.number, v.flag); })
            .describedDefault("yes for tool 1"),
        SimSetting::numberedYesNo(
            "reference_calibrated", SimBodies::ReferenceLimit, "Reference n calibrated",
            [](SimState &s, const Value &v) { s.bodies.setFlag(SimBodies::ReferenceCalibrated, v.number, v.flag); })
            .describedDefault("yes for references 1 and 3"),
    };
}

QVector<SimSetting> SimSettingTable::calibrationSettings()
{
    return {
        SimSetting::choice(
            "cal_available", "auto|yes|no",
            "Calibration available; auto: when tracking, the feature and a calibrated tool are",
            [](SimState &s, const Value &v) {
        s.calAvailability = v.text == "auto" ? SimState::CalAuto : v.text == "yes" ? SimState::CalYes : SimState::CalNo;
            })
            .byDefault("auto"),
        SimSetting::integer("cal_steps", 1, 2, "Steps of a calibration",
                            [](SimState &s, const Value &v) { s.calConfig.steps = v.number; })
            .byDefault("1"),
        SimSetting::decimal("cal_duration", 0.1, 600.0, "Seconds of each calibration step",
                            [](SimState &s, const Value &v) { s.calConfig.stepSeconds = v.decimal; })
            .byDefault("4"),
        SimSetting::integer("cal_pause1", 0, 60, "Seconds paused before step 1 of a two-step calibration",
                            [](SimState &s, const Value &v) { s.calConfig.firstPauseSeconds = v.number; })
            .byDefault("0"),
        SimSetting::integer("cal_pause2", 0, 60, "Seconds paused before step 2",
                            [](SimState &s, const Value &v) { s.calConfig.pauseSeconds = v.number; })
            .byDefault("3"),
        SimSetting::text("cal_fail", SimSetting::MessageOrNone, 100,
                         "Error text a calibration ends in, quotes optional; none: it succeeds",
                         [](SimState &s, const Value &v) { s.calConfig.failText = v.none ? QByteArray() : v.text; })
            .byDefault("none"),
        SimSetting::decimal("cal_residual", 0.0, 100.0, "Tip residual of a calibration in mm",
                            [](SimState &s, const Value &v) { s.calResidual = v.decimal; })
            .byDefault("0.1234"),
        };
}

QVector<SimSetting> SimSettingTable::surroundingSettings()
{
    return {
        SimSetting::choice("clock", "real|manual", "The controller's clock; manual stands still until advanced",
                           [](SimState &s, const Value &v) { s.clock.setManual(v.text == "manual"); })
            .byDefault("real"),
        SimSetting::integer("clock_advance", 0, 3600 * 1000, "Milliseconds the clock moves on",
                            [](SimState &s, const Value &v) { s.clock.advance(v.number); })
            .byDefault("0"),
        SimSetting::yesNo("tracking_loss", "Bodies lose tracking now and then",
                          [](SimState &s, const Value &v) { s.motion.setTrackingLoss(v.flag); })
            .byDefault("yes"),
        SimSetting::yesNo("button_presses", "Tools press their buttons now and then",
                          [](SimState &s, const Value &v) { s.motion.setButtonPresses(v.flag); })
            .byDefault("yes"),
        SimSetting::integer("button_count", 0, SimState::MaxButtons, "Buttons per tool in 6dmt2",
                            [](SimState &s, const Value &v) { s.buttonCount = v.number; })
            .byDefault("4"),
        SimSetting::integer("radio_churn", 0, 3600,
                            "Seconds the fourth radio device stays in range and away; 0: always in range",
                            [](SimState &s, const Value &v) { s.radio.setChurnSeconds(v.number); })
            .byDefault("5"),
    };
}

QVector<SimSetting> SimSettingTable::faultSettings()
{
    return {
        SimSetting::decimal("fail_rate", 0.0, 1.0, "Share of commands failing with error 6",
                            [](SimState &s, const Value &v) { s.faults.setFailRate(v.decimal); })
            .byDefault("0"),
        SimSetting::text(
            "fail_param", SimSetting::WordsOrNone, 200,
            "Leading words (1 to 16) of a command that always fails with error 6; each value adds one, "
            "16 at most; none clears them",
            [](SimState &s, const Value &v) {
        if (!v.none)
            return s.faults.addFailingParameter(v.text);
        s.faults.clearFailingParameters();
        return true;
            })
            .byDefault("none"),
        SimSetting::integer("reply_delay", 0, SimFaults::MaxDelayMs, "Milliseconds before each reply",
                            [](SimState &s, const Value &v) { s.faults.setDelayMs(v.number); })
            .byDefault("0"),
        SimSetting::integer("drop_next", 0, 100, "Commands that get no reply next",
                            [](SimState &s, const Value &v) { s.faults.setDropNext(v.number); })
            .byDefault("0"),
        SimSetting::integer("seed", 0, 0x7fffffff, "Seed of the failing share",
                            [](SimState &s, const Value &v) { s.faults.setSeed(quint32(v.number)); })
            .byDefault("1"),
        SimSetting::nothing("reset", "Back to the power-on state and the default settings",
                            [](SimState &s, const Value &) { s = SimState(); }),
        };
}
