#ifndef OPTIONVALUE_H
#define OPTIONVALUE_H

#include <QString>

// The forms of a command line's values, one grammar for the front-end and
// the simulated controller's server: numbers in plain digits, "host:port"
// and dotted versions.
class OptionValue
{
public:
    // Digits only (no sign, blanks or base prefix), up to nine, from least to most.
    static bool number(const QString &text, int least, int most, int *value);
    // "host:port": a host name, an IPv4 address or an IPv6 address in
    // brackets ("[::1]:5000"; without them the port follows the last colon),
    // the port from leastPort to 65535. The host comes without brackets.
    // Checks the form only.
    static bool hostPort(const QString &text, int leastPort, QString *host, quint16 *port);
    // "2.9.4" as "2 9 4": three decimal numbers of up to nine digits, each
    // with an optional minus; the reader of the value checks the range.
    static bool version(const QString &text, QString *triple);
};

#endif // OPTIONVALUE_H
