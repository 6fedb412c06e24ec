#include "frontend/textprotocol.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <QList>

#include "frontend/commandmanager.h"
#include "host/cnumber.h"
#include "host/iomanager.h"

namespace {

constexpr char ErrorWord[] = "orvel2 err";
constexpr char StatusReply[] = "orvel2 set status active ";
constexpr char OutputSwitchWords[] = "output active chmon ";

template <int N>
constexpr int textLength(const char (&)[N])
{
    return N - 1;
}

// The whole value must be the number; blanks around it are allowed.
bool wholeNumber(const QByteArray &value, const char *end)
{
    while (*end == ' ')
        ++end;
    return end == value.constData() + value.size();
}

} // namespace

int TextProtocol::format(const char *format, va_list args, QByteArray *text)
{
    if (!format)
        return CommandManager::BadArgument;
    // A decimal comma of the process locale never reaches the controller.
    char buffer[MaxCommandLength + 1];
    const int length = CNumber::vformat(buffer, sizeof buffer, format, args);
    if (length < 0)
        return CommandManager::BadArgument;
    if (length >= int(sizeof buffer))
        return CommandManager::TextTooLong;
    *text = QByteArray(buffer, length);
    return 0;
}

int TextProtocol::queryValue(const QByteArray &text, const QByteArray &reply, QByteArray *value)
{
    const QByteArray expected = QByteArray(SetPrefix) + text + ' ';
    if (!reply.startsWith(expected))
        return CommandManager::UnexpectedReply;
    *value = reply.mid(expected.size());
    return 0;
}

int TextProtocol::controllerError(const QByteArray &reply)
{
    if (!reply.startsWith(ErrorWord))
        return 0;
    if (reply.size() == textLength(ErrorWord))
        return CommandManager::UnexpectedReply;
    if (reply.at(textLength(ErrorWord)) != ' ')
        return 0;

    const int start = textLength(ErrorWord) + 1;
    int end = start;
    while (end < reply.size() && end - start <= 10 && reply.at(end) >= '0' && reply.at(end) <= '9')
        ++end;
    if (end == start || end - start > 10 || (end < reply.size() && reply.at(end) != ' '))
        return CommandManager::UnexpectedReply;
    const QByteArray digits = reply.mid(start, end - start);
    const long number = CNumber::toLong(digits.constData(), nullptr, 10);
    if (number <= 0 || number > INT_MAX)
        return CommandManager::UnexpectedReply;
    return int(number);
}

bool TextProtocol::statusActivity(const QByteArray &reply, QByteArray *activity)
{
    if (!reply.startsWith(StatusReply))
        return false;
    *activity = reply.mid(textLength(StatusReply));
    return true;
}

bool TextProtocol::outputSwitch(const QByteArray &text, QByteArray *output)
{
    if (!text.startsWith(OutputSwitchWords))
        return false;
    const int blank = text.indexOf(' ', textLength(OutputSwitchWords));
    if (blank < 0)
        return false;
    *output = text.left(blank);
    return true;
}

bool TextProtocol::readInt(const QByteArray &value, int *number)
{
    char *end = nullptr;
    errno = 0;
    const long parsed = CNumber::toLong(value.constData(), &end, 10);
    if (end == value.constData() || errno == ERANGE || !wholeNumber(value, end))
        return false;
    if (parsed < INT_MIN || parsed > INT_MAX)
        return false;
    *number = int(parsed);
    return true;
}

bool TextProtocol::readDouble(const QByteArray &value, double *number)
{
    char *end = nullptr;
    const double parsed = CNumber::toDouble(value.constData(), &end);
    if (end == value.constData() || !wholeNumber(value, end) || !std::isfinite(parsed))
        return false;
    *number = parsed;
    return true;
}

bool TextProtocol::readBool(const QByteArray &value, bool *flag)
{
    if (value != "yes" && value != "no")
        return false;
    *flag = value == "yes";
    return true;
}

bool TextProtocol::readTriple(const QByteArray &value, qint32 (&triple)[3])
{
    const QList<QByteArray> parts = value.simplified().split(' ');
    if (parts.size() != 3)
        return false;
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        if (!readInt(parts.at(i), &numbers[i]))
            return false;
    }
    for (int i = 0; i < 3; ++i)
        triple[i] = numbers[i];
    return true;
}

void TextProtocol::copyReply(char *buffer, const QByteArray &reply)
{
    if (!buffer)
        return;
    const int length = qMin(reply.size(), IOManager::ReplySize - 1);
    std::memcpy(buffer, reply.constData(), size_t(length));
    buffer[length] = '\0';
}
