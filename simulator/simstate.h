#ifndef SIMSTATE_H
#define SIMSTATE_H

#include "simulator/simbodies.h"
#include "simulator/simcalibration.h"
#include "simulator/simclock.h"
#include "simulator/simfaults.h"
#include "simulator/simmotion.h"
#include "simulator/simoutput.h"
#include "simulator/simparametertable.h"
#include "simulator/simradio.h"
#include "simulator/simresponse.h"

#include <QByteArray>
#include <QList>

// The controller behind SimModel's lock (not thread-safe itself): its
// parameters, tracking and calibration state, data output and simulation
// settings. The settings are changed through SimSettingTable.
class SimState
{
public:
    static constexpr int MaxButtons = 32;
    static constexpr int CalibrationErrorNumber = 12;

    SimState();

    SimResponse respond(const QByteArray &line);
    int simulate(const QByteArray &setting, const QByteArray &value, QByteArray *reason);
    static QList<QByteArray> settingNames();
    QList<QByteArray> nextFrame();
    bool isTracking();
    int dataRate() const { return rate; }
    qint64 nowMs() const { return clock.nowMs(); }
    const SimOutput &dataOutput() const { return output; }

private:
    friend class SimSettingTable;

    enum Activity { None, Measuring, Calibrating, Error, Waiting };
    enum CalAvailability { CalAuto, CalYes, CalNo };

    static QByteArray errorReply(int code);
    // Brings time-driven state (calibration, sync) up to the clock.
    void update();

    // By parameter family.
    int get(const SimParameterTable::Match &m, QByteArray *value);
    int getSystem(const SimParameterTable::Match &m, QByteArray *value) const;
    int getStatus(const SimParameterTable::Match &m, QByteArray *value) const;
    int getCalibration(const SimParameterTable::Match &m, QByteArray *value) const;
    int set(const SimParameterTable::Match &m, const QList<QByteArray> &value);

    int action(const QList<QByteArray> &words);
    int trackingAction(const QList<QByteArray> &words);
    int calibrationAction(const QList<QByteArray> &words);
    int startCalibration();
    int acceptCalibration(const QList<QByteArray> &words);

    bool backendAtLeast(int major, int minor) const;
    bool calibrationAvailable() const;
    QByteArray stepPause(int step) const;
    static QByteArray stepDescription(int step);
    QByteArray activityWord() const;

    SimClock clock;
    SimFaults faults;
    SimCalibration calibration;
    SimRadio radio;
    SimMotion motion;
    SimBodies bodies;
    SimOutput output;

    // Settings; their power-on values are those of SimSettingTable.
    QByteArray productName;
    int productVersion[3] = {0, 0, 0};
    int backendVersion[3] = {0, 0, 0};
    int rate = 1;
    bool locked = false;
    bool trackingAvailable = false;
    bool featureAvailable = false;
    bool syncMissing = false;
    CalAvailability calAvailability = CalAuto;
    SimCalibration::Config calConfig;
    double calResidual = 0.0;
    int buttonCount = 0;

    // Controller state
    Activity activity = None;
    int errorNumber = 0;
    QByteArray errorText;
    qint64 trackingStartMs = 0;
    quint32 frameCounter = 0;
    int calibratingTool = -1; // 0-based tool of the running calibration
    int resultTool = -1;      // 0-based tool of the last finished calibration, -1 for none
    double resultResidual = 0.0;
    bool resultPending = false; // finished and not accepted yet
};

#endif // SIMSTATE_H
