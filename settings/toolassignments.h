#ifndef TOOLASSIGNMENTS_H
#define TOOLASSIGNMENTS_H

#include <QList>

#include "settings/radiodevice.h"

// What the settings dialog holds per tool until OK sends it: the reference
// as assigned and as chosen (0-based, -1 for none) and the radio device,
// in three lists of the dialog's that this keeps in step. A chosen reference
// that the reference count no longer covers is not assigned, and comes back
// when the count covers it again.
class ToolAssignments
{
public:
    ToolAssignments(QList<int> &references, QList<int> &chosenReferences, QList<RadioDevice> &devices);

    // Entries in all three lists: at least the number of tools, as a tool
    // that goes keeps its entry for when it comes back.
    int size() const;
    void clear();
    void append(int reference, const RadioDevice &device);

    // False, and nothing changed, for a tool without an entry.
    bool assignReference(int tool, int reference);
    bool assignDevice(int tool, const RadioDevice &device);

    // The reference count changes: references it no longer covers go, the
    // chosen ones it covers come back.
    void forgetReferencesFrom(int count);
    void restoreChosenReferencesBelow(int count);

    // Held by any tool, also one beyond the current count.
    bool holdsDevice(const RadioDevice &device) const;

private:
    QList<int> &references;
    QList<int> &chosenReferences;
    QList<RadioDevice> &devices;
};

#endif // TOOLASSIGNMENTS_H
