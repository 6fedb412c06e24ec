#include "frontend/recordformat.h"

#include "frontend/datarouter.h"
#include "simulator/simrecording.h"

#include <climits>

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";
// More digits than any recording's milliseconds; keeps the conversion exact.
constexpr int MaxDigits = 15;

bool needsEscape(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f || c == '\\';
}

void appendVersion(QByteArray *out, const qint32 (&triple)[3])
{
    *out += QByteArray::number(triple[0]) + '.' + QByteArray::number(triple[1]) + '.' + QByteArray::number(triple[2]);
}

// The number at *position (digits, a '-' first where allowed) and the one blank after it.
bool readNumber(const QByteArray &line, int *position, bool negativeAllowed, qint64 *value)
{
    int at = *position;
    const bool negative = negativeAllowed && at < line.size() && line.at(at) == '-';
    if (negative)
        ++at;
    const int first = at;
    qint64 number = 0;
    while (at < line.size() && line.at(at) >= '0' && line.at(at) <= '9' && at - first < MaxDigits)
        number = number * 10 + (line.at(at++) - '0');
    if (at == first || at >= line.size() || line.at(at) != ' ')
        return false;
    *value = negative ? -number : number;
    *position = at + 1;
    return true;
}

} // namespace

QByteArray RecordFormat::header(const Header &header)
{
    QByteArray out = QByteArray(FirstLine) + '\n';
    appendComment(&out, "frontend " + header.frontendVersion);
    QByteArray product = "product " + header.productName.toLatin1() + ' ';
    appendVersion(&product, header.productVersion);
    appendComment(&out, product);
    QByteArray backend = "backend ";
    appendVersion(&backend, header.backendVersion);
    appendComment(&out, backend);
    appendComment(&out, "started " + header.started.toUTC().toString(Qt::ISODateWithMs).toLatin1());
    if (header.tools >= 0)
        appendComment(&out, "tools " + QByteArray::number(header.tools));
    if (header.references >= 0)
        appendComment(&out, "references " + QByteArray::number(header.references));
    for (const auto &entry : header.referencesOfTools)
        appendComment(&out, "reference_of_tool " + entry.first + ' ' + entry.second);
    return out;
}

void RecordFormat::appendData(QByteArray *out, qint64 ms, const QByteArray &line)
{
    const QByteArray type = DataRouter::typeOf(line);
    if (type.isEmpty())
        return;
    *out += "D ";
    *out += QByteArray::number(ms);
    *out += ' ';
    appendEscaped(out, type);
    *out += ' ';
    appendEscaped(out, line);
    *out += '\n';
}

void RecordFormat::appendCommand(QByteArray *out, qint64 ms, qint64 durationMs, int result, const QByteArray &command,
                                 const QByteArray &reply)
{
    *out += "C ";
    *out += QByteArray::number(ms);
    *out += ' ';
    *out += QByteArray::number(durationMs);
    *out += ' ';
    *out += QByteArray::number(result);
    *out += ' ';
    appendEscaped(out, command);
    *out += '\t';
    appendEscaped(out, reply);
    *out += '\n';
}

void RecordFormat::appendComment(QByteArray *out, const QByteArray &text)
{
    *out += "# ";
    appendEscaped(out, text);
    *out += '\n';
}

void RecordFormat::appendEscaped(QByteArray *out, const QByteArray &text)
{
    int plain = 0; // start of the run not yet copied
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (!needsEscape(c))
            continue;
        out->append(text.constData() + plain, i - plain);
        const auto byte = static_cast<unsigned char>(c);
        const char escape[] = {'\\', 'x', HexDigits[byte >> 4], HexDigits[byte & 0xf]};
        out->append(escape, int(sizeof escape));
        plain = i + 1;
    }
    out->append(text.constData() + plain, text.size() - plain);
}

QByteArray RecordFormat::unescaped(const QByteArray &text)
{
    // The simulated controller reads recordings too: one reading of the escapes.
    return SimRecording::unescaped(text);
}

bool RecordFormat::parse(const QByteArray &line, Record *record, QString *reason)
{
    *record = Record();
    if (line.startsWith('#')) {
        record->kind = Record::Comment;
        record->text = unescaped(line.mid(line.startsWith("# ") ? 2 : 1));
        return true;
    }
    int at = 2;
    if (line.startsWith("D ")) {
        record->kind = Record::Data;
        const bool timed = readNumber(line, &at, false, &record->ms);
        const int space = timed ? line.indexOf(' ', at) : -1;
        if (space < 0) {
            *reason = tr("a data record wants \"D <ms> <type> <line>\"");
            return false;
        }
        record->type = unescaped(line.mid(at, space - at));
        record->text = unescaped(line.mid(space + 1));
        if (record->type.isEmpty() || DataRouter::typeOf(record->text) != record->type) {
            *reason = tr("the data line is not of the type its record gives");
            return false;
        }
        return true;
    }
    if (line.startsWith("C ")) {
        record->kind = Record::Command;
        qint64 result = 0;
        const int tab = line.indexOf('\t');
        if (!readNumber(line, &at, false, &record->ms) || !readNumber(line, &at, false, &record->durationMs)
            || !readNumber(line, &at, true, &result) || tab < at || result < INT_MIN || result > INT_MAX) {
            *reason = tr("a command record wants \"C <ms> <duration> <result> <command><tab><reply>\"");
            return false;
        }
        record->result = int(result);
        record->text = unescaped(line.mid(at, tab - at));
        record->reply = unescaped(line.mid(tab + 1));
        return true;
    }
    *reason = tr("a record begins with \"D \", \"C \" or \"#\"");
    return false;
}
