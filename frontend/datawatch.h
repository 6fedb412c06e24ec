#ifndef DATAWATCH_H
#define DATAWATCH_H

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

// Watches the data path while it should carry something: a measurement runs
// and the requesters switched outputs on. No data line for the period while
// the controller still answers is what the window cannot show by itself (it
// would say "running" over an empty or frozen display): the data output goes
// to another port, or another client switched the outputs off. That is logged
// once with those causes and shown until data comes again, which is logged
// once too.
class DataWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultPeriodMs = 1000;
    // Outputs remembered as switched on; the requesters use a handful.
    static constexpr int MaxOutputs = 64;

    // controller and dataSource name where the commands go and where the data comes in, for the log.
    DataWatch(const QString &controller, const QString &dataSource, QObject *parent = nullptr);

    void setPeriod(int milliseconds) { periodMs = milliseconds; }
    bool isMissing() const { return missing; }

    // The text of a set the requesters sent ("output active chmon 6dmt yes"); other texts are ignored.
    void noteOutputSwitch(const QByteArray &text);
    void noteDataLine();

public slots:
    void setMeasuring(bool running);

signals:
    void logged(const QString &text);
    void missingChanged(bool missing);

private slots:
    void look();

private:
    bool expectsData() const { return measuring && !outputsOn.isEmpty(); }
    void setMissing(bool isMissing);

    const QString where;
    const QString source;
    int periodMs = DefaultPeriodMs;
    bool measuring = false;
    bool missing = false;
    QSet<QByteArray> outputsOn;
    QElapsedTimer sinceLine; // since the last line, or since data became due
    QTimer lookTimer;
};

#endif // DATAWATCH_H
