#include "simulator/simcommand.h"

#include "simulator/simerror.h"
#include "simulator/simmodel.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isAcceptable(unsigned char c)
{
    // Printable Latin-1 and tabs; no control characters, no DEL.
    return c == '\t' || (c >= 0x20 && c != 0x7f && (c < 0x80 || c >= 0xa0));
}

SimCommand invalid(int error)
{
    SimCommand command;
    command.error = error;
    return command;
}

} // namespace

SimCommand SimCommand::parse(const QByteArray &line)
{
    if (line.size() > SimModel::MaxLineLength)
        return invalid(SimError::LineTooLong);
    for (const char c : line) {
        if (!isAcceptable(static_cast<unsigned char>(c)))
            return invalid(SimError::Malformed);
    }

    QList<QByteArray> all;
    int i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line.at(i)))
            ++i;
        if (i == line.size())
            break;
        const int start = i;
        while (i < line.size() && !isBlank(line.at(i)))
            ++i;
        if (all.size() == MaxWords + 2)
            return invalid(SimError::Malformed);
        all.append(line.mid(start, i - start));
    }
    if (all.size() < 2 || all.at(0) != "orvel2")
        return invalid(SimError::Malformed);

    SimCommand command;
    const QByteArray &verb = all.at(1);
    int first = 1;
    if (verb == "get") {
        command.kind = Get;
        first = 2;
    } else if (verb == "set") {
        command.kind = Set;
        first = 2;
    } else if (verb == "simulate") {
        command.kind = Simulate;
        first = 2;
    } else {
        command.kind = Action;
    }
    if (first >= all.size())
        return invalid(SimError::Malformed);
    command.words = all.mid(first);
    return command;
}
