#ifndef CONTROLLERFACTS_H
#define CONTROLLERFACTS_H

class IOManager;
struct BackendVersions;

// Facts about the controller that more than one window asks, each asked
// one way. A failed query reads as the fact's safe side, without a message.
class ControllerFacts
{
public:
    // The controller offers measurement tools: "measurementtool available" is "yes".
    static bool measurementToolAvailable(IOManager *commandManager, const BackendVersions *versions);

    // The configuration may not be changed: "config is_changeable" is "no".
    static bool configurationLocked(IOManager *commandManager, const BackendVersions *versions);
};

#endif // CONTROLLERFACTS_H
