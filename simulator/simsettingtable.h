#ifndef SIMSETTINGTABLE_H
#define SIMSETTINGTABLE_H

#include "simulator/simsetting.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

class QCommandLineParser;
class SimModel;

// Every simulation setting in one table: what "orvel2 simulate" accepts and
// changes, and the standalone server's options with their help.
class SimSettingTable
{
public:
    static const QVector<SimSetting> &settings();
    // Null for an unknown name.
    static const SimSetting *find(const QByteArray &name);
    static QList<QByteArray> names();

    // "--backend-version" sets "backend_version".
    static QString optionName(const QByteArray &setting);
    // An option's value as --help shows it: versions dotted ("x.y.z", "1.14.0").
    static QString optionValueName(const SimSetting &setting);
    static QString optionText(const SimSetting &setting, QByteArray value);
    // "<what it changes> (<range>; default <value>)."
    static QString optionHelp(const SimSetting &setting);
    // Every setting with a value is an option.
    static void addOptions(QCommandLineParser *parser);
    // The options given, in the table's order. False at the first refused
    // value, with "--<option> wants <form> (<range>), not "<value>"".
    static bool applyOptions(const QCommandLineParser &parser, SimModel *model, QString *error);

private:
    // An option's text as the setting reads it: Latin-1; a version dotted.
    static bool fromOptionText(const SimSetting &setting, const QString &text, QByteArray *value);
    static QVector<SimSetting> controllerSettings();
    static QVector<SimSetting> bodySettings();
    static QVector<SimSetting> calibrationSettings();
    static QVector<SimSetting> surroundingSettings();
    static QVector<SimSetting> faultSettings();
};

#endif // SIMSETTINGTABLE_H
