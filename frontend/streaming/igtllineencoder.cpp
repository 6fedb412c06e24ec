#include "frontend/streaming/igtllineencoder.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr double NotTracked = -1.0;

// Device names as the display shows the rows; at most 20 bytes on the wire.
struct Name
{
    char text[32];
};

Name toolName(int index)
{
    Name name;
    std::snprintf(name.text, sizeof name.text, "M%d", index + 1);
    return name;
}

Name refName(int index)
{
    Name name;
    std::snprintf(name.text, sizeof name.text, "MR%d", index + 1);
    return name;
}

QByteArray buttonText(const char *name, const MeaToolRecord &tool)
{
    QByteArray text = QByteArray(name) + " buttons";
    for (int b = 0; b < tool.buttonCount && b < 16; ++b)
        text += tool.buttons[b] == 1 ? " 1" : " 0";
    return text;
}

} // namespace

void IgtlLineEncoder::poseMatrix(const double (&pos)[3], const double (&rot)[9], double (&matrix)[4][4])
{
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            matrix[row][col] = rot[col * 3 + row];
        matrix[row][3] = pos[row];
        matrix[3][row] = 0.0;
    }
    matrix[3][3] = 1.0;
}

// The reference's rotation is orthonormal: its inverse is its transpose.
void IgtlLineEncoder::relativeMatrix(const double (&reference)[4][4], const double (&tool)[4][4], double (&out)[4][4])
{
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k)
                sum += reference[k][row] * (col < 3 ? tool[k][col] : tool[k][3] - reference[k][3]);
            out[row][col] = sum;
        }
        out[3][row] = 0.0;
    }
    out[3][3] = 1.0;
}

bool IgtlLineEncoder::encode(const QByteArray &line, qint64 wallNs, Encoded *out)
{
    const bool toolLine = line.startsWith("6dmt ") || line.startsWith("6dmt2 ");
    const bool refLine = line.startsWith("6dmtr ");
    if ((!toolLine && !refLine) || line.size() >= OrvelParser::MaxLineLength)
        return false;
    // The parser writes into its text: a copy, into storage reused from line to line.
    text.resize(line.size());
    std::memcpy(text.data(), line.constData(), size_t(line.size()));
    char *cursor = text.data();
    if (!parser.parseDataLine(&cursor))
        return false;
    messages.setTime(wallNs);
    out->referenceLine = refLine;
    if (toolLine)
        encodeTools(out);
    else
        encodeReferences(out);
    return true;
}

void IgtlLineEncoder::encodeTools(Encoded *out)
{
    sawTools = true;
    tools.resize(parser.toolCount());
    for (int i = 0; i < parser.toolCount(); ++i) {
        const MeaToolRecord &record = *parser.toolAt(i);
        Item &tool = tools[i];
        const Name name = toolName(i);
        tool.fresh = encodeItem(&tool, name.text, record.quality, record.pos, record.rot, out);
        const QByteArray buttons = buttonText(name.text, record);
        if (buttons != tool.buttons) {
            tool.buttons = buttons;
            messages.appendString(&out->events, name.text, buttons.constData());
        }
    }
}

void IgtlLineEncoder::encodeReferences(Encoded *out)
{
    refs.resize(parser.toolRefCount());
    for (int k = 0; k < parser.toolRefCount(); ++k) {
        const BodyRecord &record = *parser.toolRefAt(k);
        encodeItem(&refs[k], refName(k).text, record.quality, record.pos, record.rot, out);
    }
    for (int i = 0; i < tools.size(); ++i) {
        Item &tool = tools[i];
        const int k = references.value(i) - 1;
        if (tool.fresh && k >= 0 && k < refs.size() && refs.at(k).tracked == 1) {
            double relative[4][4];
            relativeMatrix(refs.at(k).matrix, tool.matrix, relative);
            char name[32];
            std::snprintf(name, sizeof name, "M%dToMR%d", i + 1, k + 1);
            messages.appendTransform(&out->poses, name, relative);
            ++out->poseCount;
        }
        tool.fresh = false;
    }
}

// A STATUS when the item's tracking changed; its TRANSFORM while tracked.
bool IgtlLineEncoder::encodeItem(Item *item, const char *name, double quality, const double (&pos)[3],
                                 const double (&rot)[9], Encoded *out)
{
    const bool tracked = quality != NotTracked;
    if (item->tracked != int(tracked)) {
        item->tracked = int(tracked);
        messages.appendStatus(&out->events, name, tracked);
    }
    if (tracked) {
        poseMatrix(pos, rot, item->matrix);
        messages.appendTransform(&out->poses, name, item->matrix);
        ++out->poseCount;
    }
    return tracked;
}

QByteArray IgtlLineEncoder::currentState(qint64 wallNs)
{
    QByteArray out;
    messages.setTime(wallNs);
    for (int i = 0; i < tools.size(); ++i) {
        const Name name = toolName(i);
        if (tools.at(i).tracked >= 0)
            messages.appendStatus(&out, name.text, tools.at(i).tracked == 1);
        if (!tools.at(i).buttons.isEmpty())
            messages.appendString(&out, name.text, tools.at(i).buttons.constData());
    }
    for (int k = 0; k < refs.size(); ++k) {
        if (refs.at(k).tracked >= 0)
            messages.appendStatus(&out, refName(k).text, refs.at(k).tracked == 1);
    }
    return out;
}

QByteArray IgtlLineEncoder::stopTracking(qint64 wallNs)
{
    QByteArray out;
    messages.setTime(wallNs);
    for (int i = 0; i < tools.size() + refs.size(); ++i) {
        Item &item = i < tools.size() ? tools[i] : refs[i - tools.size()];
        if (item.tracked != 1)
            continue;
        item.tracked = 0;
        item.fresh = false;
        messages.appendStatus(&out, (i < tools.size() ? toolName(i) : refName(i - tools.size())).text, false);
    }
    return out;
}

void IgtlLineEncoder::forget()
{
    tools.clear();
    refs.clear();
    sawTools = false;
}
