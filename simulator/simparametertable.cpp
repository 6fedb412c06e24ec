#include "simulator/simparametertable.h"

#include "simulator/simerror.h"
#include "simulator/simvalue.h"

#include <cstring>

namespace {

using P = SimParameterTable;

struct Entry
{
    P::Param param;
    P::Family family;
    const char *pattern; // fixed words and placeholders: %b body, %d device, %s step, %t cal type, %o output, %w word
    bool writable;
    int minMajor; // exists from backend minMajor.minMinor.-1 on
    int minMinor;
};

const Entry entries[] = {
    {P::SystemProductName, P::System, "system product_name", false, 0, 0},
    {P::SystemProductVersion, P::System, "system product_version", false, 0, 0},
    {P::SystemBackendVersion, P::System, "system backend_version", false, 0, 0},
    {P::ConfigIsChangeable, P::System, "config is_changeable", false, 1, 9},
    {P::TrackingAvailable, P::System, "tracking available", false, 0, 17},
    {P::StatusActive, P::Status, "status active", false, 0, 0},
    {P::StatusStepActive, P::Status, "status step_active", false, 0, 0},
    {P::StatusProgress, P::Status, "status progress", false, 0, 0},
    {P::StatusStepProgress, P::Status, "status step_progress", false, 0, 0},
    {P::StatusErr, P::Status, "status err", false, 0, 0},
    {P::CalAvailable, P::Calibration, "cal available %t", false, 0, 0},
    {P::CalTypeDesc, P::Calibration, "cal type_desc %t", false, 0, 0},
    {P::CalNumberOfSteps, P::Calibration, "cal number_of_steps %t", false, 0, 0},
    {P::CalStepPause, P::Calibration, "cal step_pause %t %s", false, 0, 0},
    {P::CalStepDesc, P::Calibration, "cal step_desc %t %s", false, 0, 0},
    {P::CalStepDuration, P::Calibration, "cal step_duration %t %s", false, 1, 4},
    {P::MtAvailable, P::System, "measurementtool available", false, 1, 3},
    {P::MtMaxNumberOfTools, P::Bodies, "measurementtool max_number_of_tools", false, 1, 3},
    {P::MtMaxNumberOfReferences, P::Bodies, "measurementtool max_number_of_references", false, 1, 3},
    {P::MtNumberOfTools, P::Bodies, "measurementtool number_of_tools", true, 1, 3},
    {P::MtNumberOfReferences, P::Bodies, "measurementtool number_of_references", true, 1, 3},
    {P::MtOutput6dmt, P::Output, "measurementtool output_6dmt", true, 1, 13},
    {P::MtReferenceOfTool, P::Bodies, "measurementtool reference_of_tool %b", true, 1, 3},
    {P::MtDevice, P::Bodies, "measurementtool device %b", true, 1, 14},
    {P::MtTipRadius, P::Bodies, "measurementtool tip_radius %b", true, 1, 13},
    {P::MtTipCalibrated, P::Bodies, "measurementtool tip_calibrated %b", false, 1, 3},
    {P::BodyCalibratedTool, P::Bodies, "body calibrated measurementtool %b", false, 1, 3},
    {P::BodyCalibratedReference, P::Bodies, "body calibrated measurementtool_reference %b", false, 1, 3},
    {P::MtMeasurementDuration, P::Bodies, "measurementtool measurement_duration %b", true, 1, 3},
    {P::MtMeasurementTipTolerance, P::Bodies, "measurementtool measurement_tip_tolerance %b", true, 1, 3},
    {P::MtMeasurementStartSimulation, P::Bodies, "measurementtool measurement_start_simulation %b", true, 1, 3},
    {P::MtMeasurementStartAngle, P::Bodies, "measurementtool measurement_start_angle %b", true, 1, 3},
    {P::MtMeasurementStartLeadTime, P::Bodies, "measurementtool measurement_start_lead_time %b", true, 1, 3},
    {P::MtNumberOfKinwaveDevices, P::Radio, "measurementtool number_of_kinwave_devices", false, 1, 14},
    {P::MtKinwaveDevice, P::Radio, "measurementtool kinwave_device %d", false, 1, 14},
    {P::KinwaveDeviceModelDesc, P::Radio, "kinwave device_model_desc %w %w", false, 1, 14},
    {P::MtCalibrationBodyId, P::Calibration, "measurementtool calibration_body_id", false, 1, 3},
    {P::MtCalibrationTipResidual, P::Calibration, "measurementtool calibration_tip_residual", false, 1, 3},
    {P::OutputActiveChmon, P::Output, "output active chmon %o", true, 0, 0},
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
        found.family = entry.family;
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
