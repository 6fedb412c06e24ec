#include "simulator/optionvalue.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace {

bool isHostName(const QString &text)
{
    static const QRegularExpression name(QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9._-]{1,253}")));
    return name.match(text).hasMatch();
}

bool isIpv6Address(const QString &text)
{
    QHostAddress address;
    return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv6Protocol;
}

} // namespace

bool OptionValue::number(const QString &text, int least, int most, int *value)
{
    static const QRegularExpression digits(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,9}")));
    if (!digits.match(text).hasMatch())
        return false;
    const int read = text.toInt();
    if (read < least || read > most)
        return false;
    *value = read;
    return true;
}

bool OptionValue::hostPort(const QString &text, int leastPort, QString *host, quint16 *port)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString name = text.left(colon);
    const bool opens = name.startsWith(QLatin1Char('['));
    if (opens || name.endsWith(QLatin1Char(']'))) {
        if (!opens || name.size() < 3 || !name.endsWith(QLatin1Char(']')))
            return false;
        name = name.mid(1, name.size() - 2);
        if (!isIpv6Address(name))
            return false;
    } else if (name.contains(QLatin1Char(':')) ? !isIpv6Address(name) : !isHostName(name)) {
        return false;
    }
    int read = 0;
    if (!number(text.mid(colon + 1), leastPort, 65535, &read))
        return false;
    *host = name;
    *port = quint16(read);
    return true;
}

bool OptionValue::version(const QString &text, QString *triple)
{
    static const QRegularExpression pattern(QStringLiteral("^(-?[0-9]{1,9})\\.(-?[0-9]{1,9})\\.(-?[0-9]{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *triple = QStringLiteral("%1 %2 %3")
                  .arg(match.captured(1).toInt())
                  .arg(match.captured(2).toInt())
                  .arg(match.captured(3).toInt());
    return true;
}
