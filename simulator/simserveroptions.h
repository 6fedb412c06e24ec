#ifndef SIMSERVEROPTIONS_H
#define SIMSERVEROPTIONS_H

#include <QHostAddress>
#include <QString>
#include <QStringList>

class QCommandLineParser;
class SimModel;

// The standalone server's command line: its own options and one for every
// simulation setting, with the front-end's syntax for addresses and
// versions. Every value is checked at start: a wrong one is a usage error,
// as an unknown option is.
class SimServerOptions
{
public:
    static constexpr quint16 DefaultListenPort = 5025;
    static constexpr int DefaultIdleSeconds = 600;
    static constexpr int MaxIdleSeconds = 86400;

    // Reads the arguments (the program name first) and gives the settings
    // to the model. On a mistake it returns false with errorText; for
    // --help and --version false with exitNow set and the text to print in
    // outputText.
    bool parse(const QStringList &arguments, SimModel *model);

    // The address of a host: its first IPv4 address if it has one (the
    // front-end receives the data lines on IPv4), else its first.
    static bool resolve(const QString &host, QHostAddress *address);

    QString errorText;
    QString usageText;  // the usage line, printed after a mistake
    QString outputText; // for --help and --version
    bool exitNow = false;
    // False for a recording refused: no usage line then.
    bool usageMistake = true;

    QHostAddress listenAddress = QHostAddress(QHostAddress::LocalHost);
    quint16 listenPort = DefaultListenPort;
    QHostAddress dataAddress; // null: no data output
    quint16 dataPort = 0;
    int idleSeconds = DefaultIdleSeconds;
    bool quitOnEof = false;
    // --replay: what the program says at start (the replay, a cut last line
    // skipped, settings of the recording the controller refuses).
    QStringList replayNotes;

private:
    bool readReplay(const QCommandLineParser &parser, SimModel *model);
    bool readAddress(const QString &option, const QString &text, quint16 leastPort, QHostAddress *address,
                     quint16 *port);
};

#endif // SIMSERVEROPTIONS_H
