#ifndef SIMSTATE_H
#define SIMSTATE_H

#include "simulator/simbody.h"
#include "simulator/simcalibration.h"
#include "simulator/simclock.h"
#include "simulator/simfaults.h"
#include "simulator/simmotion.h"
#include "simulator/simparametertable.h"
#include "simulator/simradio.h"
#include "simulator/simresponse.h"

#include <QByteArray>
#include <QList>
#include <QVector>

class SimCommand;

// The controller behind SimModel's lock (not thread-safe itself): its
// parameters, tracking and calibration state, data output and simulation
// settings.
class SimState
{
public:
    static constexpr int ToolLimit = 4;      // measurement tools the controller can track
    static constexpr int ReferenceLimit = 4; // references likewise
    static constexpr int MaxCapacity = ToolLimit + ReferenceLimit;
    static constexpr int MaxButtons = 32;
    static constexpr int CalibrationErrorNumber = 12;

    SimState();

    SimResponse respond(const QByteArray &line);
    int simulate(const QByteArray &setting, const QByteArray &value, QByteArray *reason);
    static QList<QByteArray> settingNames();
    QList<QByteArray> nextFrame();
    bool isTracking();
    int dataRate() const { return rate; }

private:
    enum Activity { None, Measuring, Calibrating, Error, Waiting };
    enum CalAvailability { CalAuto, CalYes, CalNo };

    static QByteArray errorReply(int code);
    // Brings time-driven state (calibration, sync) up to the clock.
    void update();

    int get(const SimParameterTable::Match &m, QByteArray *value);
    int set(const SimParameterTable::Match &m, const QList<QByteArray> &value);
    int action(const QList<QByteArray> &words);
    int calibrationAction(const QList<QByteArray> &words);

    bool backendAtLeast(int major, int minor) const;
    int maxTools() const;
    int maxReferences() const;
    bool calibrationAvailable() const;
    int toolToCalibrate() const;
    QByteArray stepPause(int step) const;
    static QByteArray stepDescription(int step);
    QByteArray activityWord() const;

    int setBodyFlag(const QList<QByteArray> &words, int which);

    SimClock clock;
    SimFaults faults;
    SimCalibration calibration;
    SimRadio radio;
    SimMotion motion;

    // Settings
    QByteArray productName;
    int productVersion[3];
    int backendVersion[3];
    int rate;
    bool locked;
    bool trackingAvailable;
    bool featureAvailable;
    bool syncMissing;
    int bodyCapacity;
    CalAvailability calAvailability;
    SimCalibration::Config calConfig;
    double calResidual;
    int buttonCount;

    // Controller state
    QVector<SimBody> tools;
    QVector<SimBody> references;
    int toolCount;
    int referenceCount;
    bool output6dmt;
    QList<QByteArray> outputsOn;
    Activity activity;
    int errorNumber;
    QByteArray errorText;
    qint64 trackingStartMs;
    quint32 frameCounter;
    int calibratingTool;   // 0-based tool of the running calibration
    int resultTool;        // 0-based tool of the last finished calibration, -1 for none
    double resultResidual;
    bool resultPending;    // finished and not accepted yet
};

#endif // SIMSTATE_H
