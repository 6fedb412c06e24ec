#include "simulator/simparametertable.h"

#include "simulator/simerror.h"
#include "simulator/simvalue.h"

#include <cstring>

namespace {

struct Entry
{
    SimParameterTable::Param param;
    const char *pattern; // fixed words and placeholders: %b body, %d device, %s step, %t cal type, %o output, %w word
    bool writable;
    int minMajor; // exists from backend minMajor.minMinor.-1 on
    int minMinor;
};

using P = SimParameterTable;

const Entry entries[] = {
    {P::SystemProductName, "system product_name", false, 0, 0},
    {P::SystemProductVersion, "system product_version", false, 0, 0},
    {P::SystemBackendVersion, "system backend_version", false, 0, 0},
    {P::ConfigIsChangeable, "config is_changeable", false, 1, 9},
    {P::TrackingAvailable, "tracking available", false, 0, 17},
    {P::StatusActive, "status active", false, 0, 0},
    {P::StatusStepActive, "status step_active", false, 0, 0},
    {P::StatusProgress, "status progress", false, 0, 0},
    {P::StatusStepProgress, "status step_progress", false, 0, 0},
    {P::StatusErr, "status err", false, 0, 0},
    {P::CalAvailable, "cal available %t", false, 0, 0},
    {P::CalTypeDesc, "cal type_desc %t", false, 0, 0},
    {P::CalNumberOfSteps, "cal number_of_steps %t", false, 0, 0},
    {P::CalStepPause, "cal step_pause %t %s", false, 0, 0},
    {P::CalStepDesc, "cal step_desc %t %s", false, 0, 0},
    {P::CalStepDuration, "cal step_duration %t %s", false, 1, 4},
    {P::MtAvailable, "measurementtool available", false, 1, 3},
    {P::MtMaxNumberOfTools, "measurementtool max_number_of_tools", false, 1, 3},
    {P::MtMaxNumberOfReferences, "measurementtool max_number_of_references", false, 1, 3},
    {P::MtNumberOfTools, "measurementtool number_of_tools", true, 1, 3},
    {P::MtNumberOfReferences, "measurementtool number_of_references", true, 1, 3},
    {P::MtOutput6dmt, "measurementtool output_6dmt", true, 1, 13},
    {P::MtReferenceOfTool, "measurementtool reference_of_tool %b", true, 1, 3},
    {P::MtDevice, "measurementtool device %b", true, 1, 14},
    {P::MtTipRadius, "measurementtool tip_radius %b", true, 1, 13},
    {P::MtTipCalibrated, "measurementtool tip_calibrated %b", false, 1, 3},
    {P::BodyCalibratedTool, "body calibrated measurementtool %b", false, 1, 3},
    {P::BodyCalibratedReference, "body calibrated measurementtool_reference %b", false, 1, 3},
    {P::MtMeasurementDuration, "measurementtool measurement_duration %b", true, 1, 3},
    {P::MtMeasurementTipTolerance, "measurementtool measurement_tip_tolerance %b", true, 1, 3},
    {P::MtMeasurementStartSimulation, "measurementtool measurement_start_simulation %b", true, 1, 3},
    {P::MtMeasurementStartAngle, "measurementtool measurement_start_angle %b", true, 1, 3},
    {P::MtMeasurementStartLeadTime, "measurementtool measurement_start_lead_time %b", true, 1, 3},
    {P::MtNumberOfKinwaveDevices, "measurementtool number_of_kinwave_devices", false, 1, 14},
    {P::MtKinwaveDevice, "measurementtool kinwave_device %d", false, 1, 14},
    {P::KinwaveDeviceModelDesc, "kinwave device_model_desc %w %w", false, 1, 14},
    {P::MtCalibrationBodyId, "measurementtool calibration_body_id", false, 1, 3},
    {P::MtCalibrationTipResidual, "measurementtool calibration_tip_residual", false, 1, 3},
    {P::OutputActiveChmon, "output active chmon %o", true, 0, 0},
};

QList<QByteArray> patternWords(const char *pattern)
{
    return QByteArray(pattern).split(' ');
}

} // namespace

bool SimParameterTable::isAtLeast(const int version[3], int major, int minor)
{
    if (version[0] != major)
        return version[0] > major;
    if (version[1] != minor)
        return version[1] > minor;
    return version[2] >= -1;
}

bool SimParameterTable::isCalibrationType(const QByteArray &word)
{
    return word == "measurementtool";
}

bool SimParameterTable::isOutputType(const QByteArray &word)
{
    static const char *const types[] = {"6d", "6df", "6df2", "6dmt", "6dmt2", "6dmtr", "gl", "6dj", "6di", "3d"};
    for (const char *type : types) {
        if (word == type)
            return true;
    }
    return false;
}

int SimParameterTable::find(const QList<QByteArray> &words, const int backendVersion[3], Match *match)
{
    for (const Entry &entry : entries) {
        const QList<QByteArray> pattern = patternWords(entry.pattern);
        if (words.size() < pattern.size())
            continue;
        bool fixedWordsMatch = true;
        for (int i = 0; i < pattern.size() && fixedWordsMatch; ++i) {
            if (!pattern.at(i).startsWith('%'))
                fixedWordsMatch = pattern.at(i) == words.at(i);
        }
        if (!fixedWordsMatch)
            continue;
        if (!isAtLeast(backendVersion, entry.minMajor, entry.minMinor))
            return SimError::UnknownParameter;

        Match found;
        found.param = entry.param;
        found.nameWords = pattern.size();
        found.writable = entry.writable;
        int plainWords = 0;
        for (int i = 0; i < pattern.size(); ++i) {
            const QByteArray &p = pattern.at(i);
            const QByteArray &w = words.at(i);
            bool ok = true;
            if (p == "%b")
                ok = SimValue::toItem('b', w, &found.item);
            else if (p == "%d")
                ok = SimValue::toItem('d', w, &found.item);
            else if (p == "%s")
                ok = SimValue::toItem('s', w, &found.item);
            else if (p == "%t") {
                found.keyword = w;
                // The measurement tool calibration came with the measurement tools.
                if (!isCalibrationType(w) || !isAtLeast(backendVersion, 1, 3))
                    return SimError::UnknownParameter;
            } else if (p == "%o") {
                found.keyword = w;
                ok = isOutputType(w);
            } else if (p == "%w") {
                ok = SimValue::isPlainWord(w, 32);
                (plainWords++ == 0 ? found.vendor : found.model) = w;
            }
            if (!ok)
                return SimError::BadValue;
        }
        *match = found;
        return SimError::None;
    }
    return SimError::UnknownParameter;
}
