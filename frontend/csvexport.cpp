#include "frontend/csvexport.h"

#include <cstdio>
#include <vector>

#include <QFile>
#include <QSaveFile>

#include "data/orvelparser.h"
#include "data/rotationangles.h"
#include "frontend/recordformat.h"
#include "frontend/toolfacts.h"
#include "host/cnumber.h"

namespace {

// Rows are gathered and written in blocks of about this size.
constexpr int BlockBytes = 1024 * 1024;
constexpr double NotTracked = -1.0;

void appendNumber(QByteArray *row, double value)
{
    *row += ',';
    *row += CNumber::fixed3(value).c_str();
}

// x, y, z, rx, ry, rz; empty while not tracked, as the display keeps no numbers for it.
void appendPose(QByteArray *row, double quality, const double (&pos)[3], const double (&rot)[9])
{
    if (quality == NotTracked) {
        *row += ",,,,,,";
        return;
    }
    const RotationAngles angles(rot);
    for (double value : {pos[0], pos[1], pos[2], angles.rx, angles.ry, angles.rz})
        appendNumber(row, value);
}

// Returns the number of rows.
int appendRows(QByteArray *out, const QByteArray &time, const OrvelParser &parser, bool tools, const ToolFacts &facts)
{
    if (tools) {
        for (int i = 0; i < parser.toolCount(); ++i) {
            const MeaToolRecord *tool = parser.toolAt(i);
            const int reference = facts.referenceOf(i + 1);
            unsigned buttons = 0;
            for (int b = 0; b < tool->buttonCount && b < 16; ++b)
                buttons |= tool->buttons[b] == 1 ? 1u << b : 0u;
            *out += time + ",tool," + QByteArray::number(i + 1) + ','
                + (reference > 0 ? QByteArray::number(reference) : QByteArray());
            appendNumber(out, tool->quality);
            *out += tool->quality == NotTracked ? ",0," : ",1,";
            *out += QByteArray::number(buttons);
            appendPose(out, tool->quality, tool->pos, tool->rot);
            *out += '\n';
        }
        return parser.toolCount();
    }
    for (int i = 0; i < parser.toolRefCount(); ++i) {
        const BodyRecord *reference = parser.toolRefAt(i);
        *out += time + ",reference," + QByteArray::number(i + 1) + ',';
        appendNumber(out, reference->quality);
        *out += reference->quality == NotTracked ? ",0," : ",1,";
        appendPose(out, reference->quality, reference->pos, reference->rot);
        *out += '\n';
    }
    return parser.toolRefCount();
}

} // namespace

CsvExport::Outcome CsvExport::run(const QString &recordingPath, const QString &csvPath, QString *message)
{
    QFile recording(recordingPath);
    if (!recording.open(QIODevice::ReadOnly)) {
        *message = tr("cannot read %1: %2").arg(recordingPath, recording.errorString());
        return Outcome::BadRecording;
    }
    QSaveFile csv(csvPath);
    if (!csv.open(QIODevice::WriteOnly)) {
        *message = tr("cannot write %1: %2").arg(csvPath, csv.errorString());
        return Outcome::CannotWrite;
    }

    OrvelParser parser;
    ToolFacts facts;
    std::vector<char> buffer;
    QByteArray out(HeaderRow);
    if (recording.readLine() != QByteArray(RecordFormat::FirstLine) + '\n') {
        *message = tr("%1:1: not a recording: the first line is not \"%2\"")
                       .arg(recordingPath, QLatin1String(RecordFormat::FirstLine));
        return Outcome::BadRecording;
    }
    qint64 lineNumber = 1, rows = 0, refused = 0, dataLines = 0;
    bool truncated = false;
    while (!recording.atEnd()) {
        QByteArray line = recording.readLine();
        ++lineNumber;
        if (!line.endsWith('\n')) {
            truncated = true; // a recording cut short: its last line is not a record
            break;
        }
        line.chop(1);
        RecordFormat::Record record;
        QString reason;
        if (!RecordFormat::parse(line, &record, &reason)) {
            *message = QStringLiteral("%1:%2: %3").arg(recordingPath).arg(lineNumber).arg(reason);
            return Outcome::BadRecording;
        }
        if (record.kind == RecordFormat::Record::Command) {
            facts.noteCommand(record.text, record.reply, record.result);
        } else if (record.kind == RecordFormat::Record::Comment) {
            const QList<QByteArray> words = record.text.split(' ');
            if (words.size() == 3 && words.at(0) == "reference_of_tool")
                facts.noteReference(words.at(1), words.at(2));
        } else if (record.type == "6dmt" || record.type == "6dmt2" || record.type == "6dmtr") {
            ++dataLines;
            // The parser reads in place and wants the NUL.
            buffer.assign(record.text.constData(), record.text.constData() + record.text.size() + 1);
            char *cursor = buffer.data();
            if (!parser.parseDataLine(&cursor)) {
                ++refused;
                continue;
            }
            rows += appendRows(&out, QByteArray::number(record.ms), parser, record.type != "6dmtr", facts);
        }
        if (out.size() >= BlockBytes) {
            csv.write(out);
            out.clear();
        }
    }
    csv.write(out);
    if (!csv.commit()) {
        *message = tr("cannot write %1: %2").arg(csvPath, csv.errorString());
        return Outcome::CannotWrite;
    }
    *message = tr("%1 rows from %2 tool and reference lines written to %3").arg(rows).arg(dataLines).arg(csvPath);
    if (refused > 0)
        *message += QLatin1Char('\n') + tr("%1 lines refused by the parser, left out").arg(refused);
    if (truncated)
        *message
            += QLatin1Char('\n') + tr("%1:%2: the last line is cut short, left out").arg(recordingPath).arg(lineNumber);
    return Outcome::Written;
}

int CsvExport::runAndReport(const QString &recordingPath, const QString &csvPath)
{
    QString message;
    const Outcome outcome = run(recordingPath, csvPath, &message);
    const QString program = QCoreApplication::applicationName();
    std::fprintf(outcome == Outcome::Written ? stdout : stderr, "%s: %s\n", qPrintable(program), qPrintable(message));
    switch (outcome) {
    case Outcome::Written: return 0;
    case Outcome::BadRecording: return 2;
    case Outcome::CannotWrite: return 1;
    }
    return 1;
}
