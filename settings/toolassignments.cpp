#include "settings/toolassignments.h"

#include <algorithm>

ToolAssignments::ToolAssignments(QList<int> &toolReferences, QList<int> &toolChosenReferences,
                                 QList<RadioDevice> &toolDevices)
    : references(toolReferences)
    , chosenReferences(toolChosenReferences)
    , devices(toolDevices)
{ }

int ToolAssignments::size() const
{
    return std::min({references.size(), chosenReferences.size(), devices.size()});
}

void ToolAssignments::clear()
{
    references.clear();
    chosenReferences.clear();
    devices.clear();
}

void ToolAssignments::append(int reference, const RadioDevice &device)
{
    references.append(reference);
    chosenReferences.append(reference);
    devices.append(device);
}

bool ToolAssignments::assignReference(int tool, int reference)
{
    if (tool < 0 || tool >= size())
        return false;
    references[tool] = reference;
    chosenReferences[tool] = reference;
    return true;
}

bool ToolAssignments::assignDevice(int tool, const RadioDevice &device)
{
    if (tool < 0 || tool >= size())
        return false;
    devices[tool] = device;
    return true;
}

void ToolAssignments::forgetReferencesFrom(int count)
{
    for (int &reference : references)
        if (reference > count - 1)
            reference = -1;
}

void ToolAssignments::restoreChosenReferencesBelow(int count)
{
    for (int i = 0; i < size(); ++i) {
        const int chosen = chosenReferences.at(i);
        if (references.at(i) != chosen && chosen < count)
            references[i] = chosen;
    }
}

bool ToolAssignments::holdsDevice(const RadioDevice &device) const
{
    return std::any_of(devices.cbegin(), devices.cend(),
                       [&device](const RadioDevice &held) { return held.isSameDevice(device); });
}
