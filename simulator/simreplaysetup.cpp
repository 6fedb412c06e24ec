#include "simulator/simreplaysetup.h"

#include "simulator/simvalue.h"

#include <QtGlobal>

namespace {

const int MostCount = 1000;

// The parameters a recording's replies are taken for; "%b" is a body number.
const char *const Taken[] = {
    "measurementtool number_of_tools",
    "measurementtool number_of_references",
    "measurementtool output_6dmt",
    "measurementtool reference_of_tool %b",
    "measurementtool tip_calibrated %b",
    "body calibrated measurementtool %b",
    "body calibrated measurementtool_reference %b",
};

bool readCount(const QByteArray &word, int *count)
{
    return SimValue::toInt(word, count) && *count >= 0 && *count <= MostCount;
}

// The name in its written form ("b01"), or empty when it is none of those taken.
QByteArray takenName(const QList<QByteArray> &words)
{
    for (const char *taken : Taken) {
        const QList<QByteArray> pattern = QByteArray(taken).split(' ');
        if (pattern.size() != words.size())
            continue;
        QByteArray name;
        bool match = true;
        for (int i = 0; i < pattern.size() && match; ++i) {
            QByteArray word = words.at(i);
            int number = 0;
            if (pattern.at(i) == "%b") {
                match = SimValue::toItem('b', word, &number) && number >= 1 && number <= SimReplaySetup::Bodies;
                word = SimValue::item('b', number);
            } else {
                match = word == pattern.at(i);
            }
            name += (i > 0 ? " " : "") + word;
        }
        if (match)
            return name;
    }
    return QByteArray();
}

bool valueFits(const QByteArray &name, const QByteArray &value)
{
    int number = 0;
    bool flag = false;
    if (name.contains("number_of_"))
        return readCount(value, &number);
    if (name.contains("reference_of_tool"))
        return value == "none" || (SimValue::toItem('b', value, &number) && number >= 1);
    return SimValue::toBool(value, &flag);
}

QByteArray tripleCommand(const char *setting, const QByteArray &value)
{
    return value.isEmpty() ? QByteArray() : QByteArray("orvel2 simulate ") + setting + ' ' + value;
}

} // namespace

void SimReplaySetup::setProduct(const QByteArray &name, const QByteArray &version)
{
    productName = name;
    productVersion = version;
}

void SimReplaySetup::setBackend(const QByteArray &version)
{
    backendVersion = version;
}

void SimReplaySetup::takeCommand(const QByteArray &command, const QByteArray &reply)
{
    const QByteArray set = "orvel2 set ";
    const QByteArray answer = reply.simplified();
    if (answer.startsWith(set))
        takeFact(answer.mid(set.size()));
    else if (answer == "orvel2 ok" && command.simplified().startsWith(set))
        takeFact(command.simplified().mid(set.size()));
}

void SimReplaySetup::takeFact(const QByteArray &fact)
{
    QList<QByteArray> words = fact.split(' ');
    if (words.size() < 2)
        return;
    const QByteArray value = words.takeLast();
    const QByteArray name = takenName(words);
    if (!name.isEmpty() && valueFits(name, value))
        facts.insert(name, value);
}

void SimReplaySetup::takeDataLine(const QByteArray &line)
{
    const int open = line.indexOf('[');
    const QList<QByteArray> head = line.left(open < 0 ? line.size() : open).simplified().split(' ');
    const QByteArray &prefix = head.at(0);
    const bool tools = prefix != "6dmtr";
    int groupBlocks = 3; // "6dmt", "6dmtr": [id quality ...][x y z][r0 .. r8]
    int countWord = 1;   // "6dmt2": the calibrated tools come first
    if (prefix == "6dmt") {
        olderFormatSeen = true;
    } else if (prefix == "6dmt2") {
        newerFormatSeen = true;
        groupBlocks = 5;
        countWord = 2;
    } else if (prefix != "6dmtr") {
        return;
    }
    int count = 0;
    if (head.size() > countWord && readCount(head.at(countWord), &count)) {
        int &seen = tools ? seenTools : seenReferences;
        seen = qMax(seen, count);
    }
    // The first block of each group names the body and its quality, -1 when not tracked.
    int block = 0;
    for (int from = open; from >= 0; from = line.indexOf('[', from + 1), ++block) {
        const int close = line.indexOf(']', from);
        if (close < 0)
            break;
        if (block % groupBlocks != 0)
            continue;
        const QList<QByteArray> words = line.mid(from + 1, close - from - 1).simplified().split(' ');
        int id = -1;
        double quality = -1.0;
        if (words.size() >= 2 && SimValue::toInt(words.at(0), &id) && id >= 0 && id < Bodies
            && SimValue::toDouble(words.at(1), &quality) && quality != -1.0)
            (tools ? toolsTracked : referencesTracked) |= 1u << id;
    }
}

int SimReplaySetup::toolCount() const
{
    if (headerTools >= 0)
        return headerTools;
    int recorded = 0;
    return readCount(fact("measurementtool number_of_tools"), &recorded) ? recorded : seenTools;
}

int SimReplaySetup::referenceCount() const
{
    if (headerReferences >= 0)
        return headerReferences;
    int recorded = 0;
    return readCount(fact("measurementtool number_of_references"), &recorded) ? recorded : seenReferences;
}

QByteArray SimReplaySetup::calibrated(const QByteArray &name, bool tracked) const
{
    const QByteArray recorded = fact(name);
    if (!recorded.isEmpty())
        return recorded;
    return tracked ? QByteArray("yes") : QByteArray();
}

QList<QByteArray> SimReplaySetup::commands() const
{
    QList<QByteArray> list;
    const int tools = toolCount();
    const int references = referenceCount();
    const int bodies = qMax(tools, 0) + qMax(references, 0);
    if (bodies > DefaultCapacity)
        list << "orvel2 simulate body_capacity " + QByteArray::number(qMin(bodies, 2 * Bodies));
    if (!productName.isEmpty())
        list << "orvel2 simulate product_name " + productName;
    list << tripleCommand("product_version", productVersion) << tripleCommand("backend_version", backendVersion);
    if (references >= 0)
        list << "orvel2 set measurementtool number_of_references " + QByteArray::number(references);
    if (tools >= 0)
        list << "orvel2 set measurementtool number_of_tools " + QByteArray::number(tools);
    QByteArray olderFormat = fact("measurementtool output_6dmt");
    if (olderFormat.isEmpty() && olderFormatSeen != newerFormatSeen)
        olderFormat = SimValue::yesNo(olderFormatSeen);
    if (!olderFormat.isEmpty())
        list << "orvel2 set measurementtool output_6dmt " + olderFormat;
    // Per-body facts hold also for bodies beyond the count, as the controller keeps them.
    for (int n = 1; n <= Bodies; ++n) {
        const QByteArray item = SimValue::item('b', n);
        const bool tracked = (toolsTracked >> (n - 1)) & 1u;
        const QByteArray body = calibrated("body calibrated measurementtool " + item, tracked);
        const QByteArray tip = calibrated("measurementtool tip_calibrated " + item, tracked);
        const QByteArray reference = fact("measurementtool reference_of_tool " + item);
        if (!body.isEmpty())
            list << "orvel2 simulate tool_calibrated " + QByteArray::number(n) + ' ' + body;
        if (!tip.isEmpty())
            list << "orvel2 simulate tip_calibrated " + QByteArray::number(n) + ' ' + tip;
        if (!reference.isEmpty() && (tools < 0 || n <= tools))
            list << "orvel2 set measurementtool reference_of_tool " + item + ' ' + reference;
    }
    for (int n = 1; n <= Bodies; ++n) {
        const bool tracked = (referencesTracked >> (n - 1)) & 1u;
        const QByteArray body
            = calibrated("body calibrated measurementtool_reference " + SimValue::item('b', n), tracked);
        if (!body.isEmpty())
            list << "orvel2 simulate reference_calibrated " + QByteArray::number(n) + ' ' + body;
    }
    list.removeAll(QByteArray());
    return list;
}
