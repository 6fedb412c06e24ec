#include "settings/countlimits.h"

QString CountLimits::message(int tools, int toolsMaximum, int references, int referencesMaximum)
{
    const int t = tools;
    const int r = references;
    const int limit = LimitOfEachKind;
    if (toolsMaximum == 0 && referencesMaximum == 0)
        return QString();
    if (t == limit && r == limit)
        return tr("<b><font color=red>Max. number of Measurement Tools and references are reached!</font></b>");
    if ((t == limit && r == referencesMaximum) || (t == toolsMaximum && r == limit))
        return tr("<b><font color=red>Max. number of bodies is reached!</font></b>");
    if (t == limit)
        return tr("<b><font color=red>Max. number of Measurement Tools is reached!</font></b>");
    if (r == limit)
        return tr("<b><font color=red>Max. number of references is reached!</font></b>");
    if (t == toolsMaximum || r == referencesMaximum)
        return tr("<b><font color=red>Max. number of bodies is reached!</font></b>");
    return QString();
}
