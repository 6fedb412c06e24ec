#include "frontend/streaming/streamingoptions.h"

#include <QCommandLineParser>

#include "simulator/optionvalue.h"

namespace {

const QString PortOption = QStringLiteral("igtl-port");
const QString ListenOption = QStringLiteral("igtl-listen");
const QString RateOption = QStringLiteral("igtl-max-rate");

// Only an address of this machine can be listened on: no name lookup.
bool readAddress(const QString &host, QHostAddress *address)
{
    if (host == QLatin1String("localhost")) {
        *address = QHostAddress(QHostAddress::LocalHost);
        return true;
    }
    return address->setAddress(host);
}

} // namespace

void StreamingOptions::addTo(QCommandLineParser *parser) const
{
    parser->addOption(QCommandLineOption(
        PortOption,
        tr("Serve the tools' poses over OpenIGTLink on this TCP port of the loopback interface, %1 by convention "
           "(default 0: no server).")
            .arg(ConventionalPort),
        QStringLiteral("port")));
    parser->addOption(QCommandLineOption(ListenOption,
                                         tr("Serve OpenIGTLink on this address and port instead, e.g. "
                                            "0.0.0.0:%1 for every interface (default: none).")
                                             .arg(ConventionalPort),
                                         QStringLiteral("address:port")));
    parser->addOption(QCommandLineOption(
        RateOption, tr("Most poses per second sent to one OpenIGTLink client (default 0: every data line)."),
        QStringLiteral("hz")));
}

bool StreamingOptions::read(const QCommandLineParser &parser, QString *error)
{
    int number = 0;
    if (parser.isSet(PortOption)) {
        if (!OptionValue::number(parser.value(PortOption), 0, 65535, &number)) {
            *error = tr("--igtl-port wants a port number");
            return false;
        }
        port = quint16(number);
    }
    if (parser.isSet(ListenOption)) {
        QString host;
        if (!OptionValue::hostPort(parser.value(ListenOption), 1, &host, &port) || !readAddress(host, &address)) {
            *error = tr("--igtl-listen wants an address of this machine and a port, not \"%1\"")
                         .arg(parser.value(ListenOption));
            return false;
        }
    }
    if (parser.isSet(RateOption)) {
        if (!OptionValue::number(parser.value(RateOption), 0, MaxRateHz, &number)) {
            *error = tr("--igtl-max-rate wants poses per second, 0 to %1").arg(MaxRateHz);
            return false;
        }
        maxRateHz = number;
    }
    return true;
}
