#include "frontend/toolfacts.h"

#include "frontend/textprotocol.h"
#include "host/numbereditem.h"

namespace {

constexpr char ToolCount[] = "measurementtool number_of_tools ";
constexpr char ReferenceCount[] = "measurementtool number_of_references ";
constexpr char ReferenceOfTool[] = "measurementtool reference_of_tool ";

// A body item ("b01", "b100") as its number; 0 for anything else.
int toolNumber(const QByteArray &name)
{
    int number = 0;
    if (!name.startsWith('b') || !NumberedItem::readNumber(name.constData(), &number) || number < 1)
        return 0;
    return number;
}

} // namespace

void ToolFacts::noteCommand(const QByteArray &command, const QByteArray &reply, int result)
{
    if (result != 0)
        return;
    // "<name> <value>", of a get's reply or of a set the controller accepted.
    QByteArray text;
    if (command.startsWith(TextProtocol::GetPrefix)) {
        const QByteArray name = command.mid(int(sizeof TextProtocol::GetPrefix) - 1);
        QByteArray value;
        if (TextProtocol::queryValue(name, reply, &value) != 0)
            return;
        text = name + ' ' + value;
    } else if (command.startsWith(TextProtocol::SetPrefix) && reply == TextProtocol::OkReply) {
        text = command.mid(int(sizeof TextProtocol::SetPrefix) - 1);
    } else {
        return;
    }

    if (text.startsWith(ReferenceOfTool)) {
        const QList<QByteArray> words = text.mid(int(sizeof ReferenceOfTool) - 1).split(' ');
        if (words.size() == 2)
            noteReference(words.at(0), words.at(1));
        return;
    }
    int count = 0;
    if (text.startsWith(ToolCount) && TextProtocol::readInt(text.mid(int(sizeof ToolCount) - 1), &count))
        toolCount = count;
    else if (text.startsWith(ReferenceCount) && TextProtocol::readInt(text.mid(int(sizeof ReferenceCount) - 1), &count))
        referenceCount = count;
}

void ToolFacts::noteReference(const QByteArray &tool, const QByteArray &reference)
{
    const int number = toolNumber(tool);
    if (number > 0 && !reference.isEmpty())
        referenceByTool.insert(number, reference);
}

int ToolFacts::referenceOf(int tool) const
{
    const QByteArray value = referenceByTool.value(tool);
    int number = 0;
    if (value == "none" || !NumberedItem::readNumber(value.constData(), &number))
        return 0;
    return number > 0 ? number : 0;
}

QList<QPair<QByteArray, QByteArray>> ToolFacts::referenceValues() const
{
    QList<QPair<QByteArray, QByteArray>> values;
    for (auto it = referenceByTool.cbegin(); it != referenceByTool.cend(); ++it)
        values.append({QByteArray(NumberedItem::body(it.key() - 1).c_str()), it.value()});
    return values;
}
