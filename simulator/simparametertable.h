#ifndef SIMPARAMETERTABLE_H
#define SIMPARAMETERTABLE_H

#include <QByteArray>
#include <QList>

// The controller's parameter names: which words name a parameter, what its
// numbered items and keywords are, whether it can be set and from which
// backend version on it exists.
class SimParameterTable
{
public:
    enum Param {
        SystemProductName,
        SystemProductVersion,
        SystemBackendVersion,
        ConfigIsChangeable,
        TrackingAvailable,
        StatusActive,
        StatusStepActive,
        StatusProgress,
        StatusStepProgress,
        StatusErr,
        CalAvailable,
        CalTypeDesc,
        CalNumberOfSteps,
        CalStepPause,
        CalStepDesc,
        CalStepDuration,
        MtAvailable,
        MtMaxNumberOfTools,
        MtMaxNumberOfReferences,
        MtNumberOfTools,
        MtNumberOfReferences,
        MtOutput6dmt,
        MtReferenceOfTool,
        MtDevice,
        MtTipRadius,
        MtTipCalibrated,
        BodyCalibratedTool,
        BodyCalibratedReference,
        MtMeasurementDuration,
        MtMeasurementTipTolerance,
        MtMeasurementStartSimulation,
        MtMeasurementStartAngle,
        MtMeasurementStartLeadTime,
        MtNumberOfKinwaveDevices,
        MtKinwaveDevice,
        KinwaveDeviceModelDesc,
        MtCalibrationBodyId,
        MtCalibrationTipResidual,
        OutputActiveChmon,
    };

    // Parameters that the same part of the controller answers.
    enum Family {
        System,      // product, versions, lock, what is available
        Status,      // "status ...": the activity and a calibration's progress
        Calibration, // "cal ..." and the last calibration's result
        Bodies,      // measurement tools and references: counts and per-body values
        Radio,       // radio devices in range
        Output,      // data output switches and format
    };

    struct Match
    {
        Param param = SystemProductName;
        Family family = System;
        int nameWords = 0; // words of the name; a set's value follows them
        bool writable = false;
        int item = 0;       // number of the body ("b01"), device ("d01") or step ("s01")
        QByteArray keyword; // calibration type or output type
        QByteArray vendor;  // radio device vendor and model words
        QByteArray model;
    };

    // Finds the parameter named by the leading words. Returns SimError::None,
    // UnknownParameter (no such name, or one too new for the backend) or
    // BadValue (a malformed item or keyword).
    static int find(const QList<QByteArray> &words, const int backendVersion[3], Match *match);

    // Backend (major, minor, patch) at least (major, minor, -1).
    static bool isAtLeast(const int version[3], int major, int minor);

    // The calibration types and output types the controller knows.
    static bool isCalibrationType(const QByteArray &word);
    static bool isOutputType(const QByteArray &word);
};

#endif // SIMPARAMETERTABLE_H
