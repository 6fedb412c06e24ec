#ifndef IOMANAGER_H
#define IOMANAGER_H

#include <QMetaType>

class Requester;

// The formats are printf formats: let the compiler check every call's values.
#define IOMANAGER_PRINTF(formatIndex, firstValue) __attribute__((format(printf, formatIndex, firstValue)))

// The host's command manager. Shared with the host binary: the order and
// signatures of the virtual functions are its ABI, placeholders included.
// Every operation returns 0 on success, else an error number.
class IOManager
{
public:
    // Reply buffers passed in are at least this large; the host writes at
    // most this many bytes, the terminating NUL included.
    static constexpr int ReplySize = 200;

    virtual ~IOManager() { }
    virtual int reserved1() = 0;
    virtual int commandPreset(int, int, int) = 0;
    virtual int sendCommand(char *reply, const char *format, ...) IOMANAGER_PRINTF(3, 4) = 0;
    virtual int reserved4() = 0;
    virtual int getParameter(char *reply, const char *format, ...) IOMANAGER_PRINTF(3, 4) = 0;
    virtual int getIntParameter(int *value, const char *format, ...) IOMANAGER_PRINTF(3, 4) = 0;
    virtual int getDoubleParameter(double *value, const char *format, ...) IOMANAGER_PRINTF(3, 4) = 0;
    virtual int getBoolParameter(bool *value, const char *format, ...) IOMANAGER_PRINTF(3, 4) = 0;
    virtual int reserved9() = 0;
    virtual int reserved10() = 0;
    virtual int setParameter(const char *format, ...) IOMANAGER_PRINTF(2, 3) = 0;
    virtual int subscribeOutput(const char *outputType, Requester *requester) = 0;
    virtual int unsubscribeOutput(const char *outputType, Requester *requester) = 0;
    virtual int addRequester(Requester *requester) = 0;
    virtual int renewRequester(Requester *requester, const char *outputType, int flags) = 0;
    virtual int logMessage(const char *category, const char *source, int level, const char *text) = 0;
};

Q_DECLARE_METATYPE(IOManager *)

#endif // IOMANAGER_H
