#ifndef COUNTLIMITS_H
#define COUNTLIMITS_H

#include <QCoreApplication>
#include <QString>

// The settings dialog's message that a count has reached its limit.
class CountLimits
{
    // The dialog's texts, translated where the dialog's are.
    Q_DECLARE_TR_FUNCTIONS(MtSettingsDlg)

public:
    // The form's maximum of the tool count; the message names a kind
    // "reached" at this count whatever the controller's maximum.
    static constexpr int LimitOfEachKind = 4;

    // Empty while no limit is reached, and while the controller allows no body at all.
    static QString message(int tools, int toolsMaximum, int references, int referencesMaximum);
};

#endif // COUNTLIMITS_H
