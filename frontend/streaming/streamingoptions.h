#ifndef STREAMINGOPTIONS_H
#define STREAMINGOPTIONS_H

#include <QCoreApplication>
#include <QHostAddress>
#include <QString>

class QCommandLineParser;

// The command line of the OpenIGTLink server: off unless a port is given,
// loopback unless an address is.
class StreamingOptions
{
    Q_DECLARE_TR_FUNCTIONS(StreamingOptions)

public:
    static constexpr quint16 ConventionalPort = 18944;
    static constexpr int MaxRateHz = 100000;

    void addTo(QCommandLineParser *parser) const;
    // False with the reason on a wrong value.
    bool read(const QCommandLineParser &parser, QString *error);

    bool enabled() const { return port != 0; }

    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 0;  // 0: no server
    int maxRateHz = 0; // per client; 0: every data line
};

#endif // STREAMINGOPTIONS_H
