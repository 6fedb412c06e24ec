#include "simulator/simrecording.h"

#include <QFileInfo>

namespace {

const int MostTimeDigits = 13; // milliseconds: over three hundred years
const int MostTypeLength = 16; // an output type word
const int MostCount = 1000;    // "# tools" and "# references"
const int QuotedLength = 24;   // of a wrong word in a message
const qint64 DefaultGapMs = 1000 / 60;

// The prefixes of the controller's data lines, as the module's parser knows them.
const char *const DataTypes[]
    = {"fr", "ts", "6dcal", "6d", "6df", "6df2", "6dmt", "6dmt2", "6dmtr", "glcal", "gl", "6dj", "6di", "3d"};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Plain digits only, no sign or blank: locale-free and never overflowing.
bool readDigits(const QByteArray &word, int mostDigits, qint64 *value)
{
    if (word.isEmpty() || word.size() > mostDigits)
        return false;
    qint64 number = 0;
    for (const char c : word) {
        if (!isDigit(c))
            return false;
        number = number * 10 + (c - '0');
    }
    *value = number;
    return true;
}

bool readResult(const QByteArray &word)
{
    qint64 ignored = 0;
    return readDigits(word.startsWith('-') ? word.mid(1) : word, 9, &ignored);
}

// "3.2.0" as "3 2 0"; each number may have a minus (a patch of -1).
QByteArray dottedVersion(const QByteArray &text)
{
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() != 3)
        return QByteArray();
    QByteArray triple;
    for (const QByteArray &part : parts) {
        qint64 number = 0;
        if (!readDigits(part.startsWith('-') ? part.mid(1) : part, 4, &number))
            return QByteArray();
        triple += (triple.isEmpty() ? "" : " ") + part;
    }
    return triple;
}

bool isTypeWord(const QByteArray &word)
{
    if (word.isEmpty() || word.size() > MostTypeLength)
        return false;
    for (const char c : word) {
        if (!isDigit(c) && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && c != '_')
            return false;
    }
    return true;
}

bool isDataType(const QByteArray &word)
{
    for (const char *type : DataTypes) {
        if (word == type)
            return true;
    }
    return false;
}

// Tabs separate a command from its reply; no other control character belongs in a line.
bool hasControlCharacter(const QByteArray &text)
{
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7f)
            return true;
    }
    return false;
}

int hexDigit(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray quoted(const QByteArray &word)
{
    return '"' + word.left(QuotedLength) + (word.size() > QuotedLength ? "...\"" : "\"");
}

} // namespace

bool SimRecording::open(const QString &fileName)
{
    name = fileName;
    error.clear();
    file.close();
    file.setFileName(fileName);
    if (QFileInfo(fileName).isDir()) {
        error = QStringLiteral("%1: a folder, not a recording").arg(name);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot open it: %2").arg(name, file.errorString());
        return false;
    }
    scanning = true;
    raw = false;
    restart();
    dataCount = distinctTimes = first = last = cutLine = 0;
    facts = SimReplaySetup();
    for (;;) {
        QByteArray text;
        const Read read = readLine(&text);
        if (read == Read::End)
            break;
        if (read == Read::TooLong || read == Read::Failed)
            return false;
        Record record;
        QByteArray reason;
        const Kind kind = read == Read::Cut ? Kind::Bad : parse(text, &record, &reason);
        // Only a last line without its line end was cut off by a writer that
        // stopped; a whole line that is no record is as wrong at the end as before it.
        if (read == Read::Cut) {
            cutLine = lineNumber;
            break;
        }
        if (kind == Kind::Bad)
            return fail(reason);
        if (kind != Kind::Data)
            continue;
        if (dataCount == 0)
            first = record.at;
        if (dataCount == 0 || record.at != last)
            ++distinctTimes;
        last = record.at;
        ++dataCount;
        facts.takeDataLine(record.line);
    }
    scanning = false;
    if (dataCount == 0) {
        error = QStringLiteral("%1: holds no data line to replay").arg(name);
        return false;
    }
    restart();
    return true;
}

qint64 SimRecording::loopGap() const
{
    if (raw)
        return 1;
    return distinctTimes > 1 ? qMax<qint64>(1, (last - first) / (distinctTimes - 1)) : DefaultGapMs;
}

bool SimRecording::next(Record *record)
{
    while (!failed()) {
        QByteArray text;
        const Read read = readLine(&text);
        if (read == Read::End || read == Read::Cut || read == Read::TooLong || read == Read::Failed)
            return false;
        QByteArray reason;
        const Kind kind = parse(text, record, &reason);
        if (kind == Kind::Data)
            return true;
        if (kind == Kind::Bad)
            return file.atEnd() ? false : fail(reason);
    }
    return false;
}

void SimRecording::rewind()
{
    if (!failed())
        restart();
}

void SimRecording::restart()
{
    file.seek(0);
    lineNumber = 0;
    previousAt = -1;
    frame = 0;
    typesInFrame.clear();
}

bool SimRecording::fail(const QByteArray &reason)
{
    error = QStringLiteral("%1:%2: %3").arg(name).arg(lineNumber).arg(QString::fromLatin1(reason));
    return false;
}

SimRecording::Read SimRecording::readLine(QByteArray *text)
{
    if (file.atEnd())
        return Read::End;
    // Room for the longest line, its "\r\n" and one byte to tell a longer one.
    *text = file.readLine(MaxLineBytes + 3);
    ++lineNumber;
    if (text->isEmpty()) {
        fail("cannot read it: " + file.errorString().toLatin1());
        return Read::Failed;
    }
    const bool whole = text->endsWith('\n');
    if (whole)
        text->chop(text->endsWith("\r\n") ? 2 : 1);
    if (text->size() > MaxLineBytes || (!whole && !file.atEnd())) {
        fail("a line longer than " + QByteArray::number(MaxLineBytes) + " bytes");
        return Read::TooLong;
    }
    return whole ? Read::Line : Read::Cut;
}

SimRecording::Kind SimRecording::parse(const QByteArray &text, Record *record, QByteArray *reason)
{
    if (lineNumber == 1 && scanning)
        raw = !text.startsWith("# orvel-recording");
    if (hasControlCharacter(text)) {
        *reason = "a control character in the line";
        return Kind::Bad;
    }
    if (text.isEmpty())
        return Kind::Skip;
    if (raw)
        return parseRaw(text, record, reason);
    if (text.startsWith('#'))
        return parseHeader(text, reason);
    if (text.startsWith("D "))
        return parseData(text, record, reason);
    if (text.startsWith("C "))
        return parseCommand(text, reason);
    *reason = "not a record: each line begins with \"D \", \"C \" or \"#\"";
    return Kind::Bad;
}

// "D <ms> <type> <line>"
SimRecording::Kind SimRecording::parseData(const QByteArray &text, Record *record, QByteArray *reason)
{
    const int timeEnd = text.indexOf(' ', 2);
    const int typeEnd = timeEnd < 0 ? -1 : text.indexOf(' ', timeEnd + 1);
    if (typeEnd < 0 || typeEnd + 1 >= text.size()) {
        *reason = "a data record is \"D <ms> <type> <line>\"";
        return Kind::Bad;
    }
    const QByteArray time = text.mid(2, timeEnd - 2);
    const QByteArray type = text.mid(timeEnd + 1, typeEnd - timeEnd - 1);
    qint64 ms = 0;
    if (!readDigits(time, MostTimeDigits, &ms)) {
        *reason = "the time " + quoted(time) + " is no number of milliseconds";
        return Kind::Bad;
    }
    if (!isTypeWord(type)) {
        *reason = quoted(type) + " is no output type";
        return Kind::Bad;
    }
    if (ms < previousAt) {
        *reason = "the time goes back from " + QByteArray::number(previousAt) + " to " + QByteArray::number(ms) + " ms";
        return Kind::Bad;
    }
    previousAt = ms;
    record->at = ms;
    record->type = type;
    record->line = unescaped(text.mid(typeEnd + 1));
    return Kind::Data;
}

// "C <ms> <duration_ms> <result> <command>\t<reply>", "\xNN" escaped
SimRecording::Kind SimRecording::parseCommand(const QByteArray &text, QByteArray *reason)
{
    const int timeEnd = text.indexOf(' ', 2);
    const int durationEnd = timeEnd < 0 ? -1 : text.indexOf(' ', timeEnd + 1);
    const int resultEnd = durationEnd < 0 ? -1 : text.indexOf(' ', durationEnd + 1);
    const int tab = resultEnd < 0 ? -1 : text.indexOf('\t', resultEnd + 1);
    qint64 ms = 0;
    if (tab < 0 || !readDigits(text.mid(2, timeEnd - 2), MostTimeDigits, &ms)
        || !readDigits(text.mid(timeEnd + 1, durationEnd - timeEnd - 1), MostTimeDigits, &ms)
        || !readResult(text.mid(durationEnd + 1, resultEnd - durationEnd - 1))) {
        *reason = "a command record is \"C <ms> <duration_ms> <result> <command>\\t<reply>\"";
        return Kind::Bad;
    }
    if (scanning)
        facts.takeCommand(unescaped(text.mid(resultEnd + 1, tab - resultEnd - 1)), unescaped(text.mid(tab + 1)));
    return Kind::Skip;
}

// "# orvel-recording 1" first; "# tools <n>", "# references <n>", "# product
// <name> <M>.<m>.<p>", "# backend <M>.<m>.<p>" and "# reference_of_tool <bNN>
// <bNN|none>" are taken; others are comments (events, notes).
SimRecording::Kind SimRecording::parseHeader(const QByteArray &text, QByteArray *reason)
{
    const QByteArray format = "# orvel-recording " + QByteArray::number(FormatVersion);
    if (lineNumber == 1 && text != format) {
        *reason = "not a recording of format " + QByteArray::number(FormatVersion) + " (" + quoted(text) + ")";
        return Kind::Bad;
    }
    if (!scanning || lineNumber == 1)
        return Kind::Skip;
    const int keyEnd = text.indexOf(' ', 2);
    const QByteArray key = text.mid(2, keyEnd < 0 ? -1 : keyEnd - 2);
    const QByteArray value = keyEnd < 0 ? QByteArray() : text.mid(keyEnd + 1).trimmed();
    qint64 count = 0;
    if (key == "tools" || key == "references") {
        if (!readDigits(value, 4, &count) || count > MostCount) {
            *reason = "\"# " + key + "\" wants a number from 0 to " + QByteArray::number(MostCount);
            return Kind::Bad;
        }
        if (key == "tools")
            facts.setToolCount(int(count));
        else
            facts.setReferenceCount(int(count));
    } else if (key == "reference_of_tool") { // "# reference_of_tool b01 b02", as the controller answered
        facts.takeCommand(QByteArray(), "orvel2 set measurementtool " + text.mid(2));
    } else if (key == "product" || key == "backend") {
        const int split = value.lastIndexOf(' ');
        const QByteArray version = dottedVersion(value.mid(split + 1));
        if (version.isEmpty() || (key == "product" && split <= 0)) {
            *reason = "\"# " + key + "\" wants " + (key == "product" ? "a name and " : "") + "a version <M>.<m>.<p>";
            return Kind::Bad;
        }
        if (key == "product")
            facts.setProduct(unescaped(value.left(split).trimmed()), version);
        else
            facts.setBackend(version);
    }
    return Kind::Skip;
}

// A data line of a raw capture, its type its first word.
SimRecording::Kind SimRecording::parseRaw(const QByteArray &text, Record *record, QByteArray *reason)
{
    if (text.startsWith('#'))
        return Kind::Skip;
    const int space = text.indexOf(' ');
    const QByteArray type = text.left(space < 0 ? text.size() : space);
    if (!isDataType(type)) {
        *reason = "not a data line: " + quoted(type) + " is no data line type";
        return Kind::Bad;
    }
    if (!typesInFrame.isEmpty() && (type == "fr" || typesInFrame.contains(type))) {
        ++frame;
        typesInFrame.clear();
    }
    typesInFrame.append(type);
    record->at = frame;
    record->type = type;
    record->line = text;
    return Kind::Data;
}

QByteArray SimRecording::unescaped(const QByteArray &text)
{
    if (!text.contains('\\'))
        return text;
    QByteArray plain;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == '\\' && i + 3 < text.size() && text.at(i + 1) == 'x' && hexDigit(text.at(i + 2)) >= 0
            && hexDigit(text.at(i + 3)) >= 0) {
            plain += char(hexDigit(text.at(i + 2)) * 16 + hexDigit(text.at(i + 3)));
            i += 3;
        } else {
            plain += text.at(i);
        }
    }
    return plain;
}
