#ifndef CSVEXPORT_H
#define CSVEXPORT_H

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Turns a recording into CSV for analysis: one row per measurement tool and
// per reference of every recorded tool and reference line, read by the
// display's parser and angle calculation. Comma-separated, decimal point,
// nothing quoted (no field holds a comma), a header row first. Positions and
// angles are left empty while a body is not tracked.
class CsvExport
{
    Q_DECLARE_TR_FUNCTIONS(CsvExport)

public:
    static constexpr char HeaderRow[] = "time_ms,kind,number,reference,quality,tracked,buttons,x,y,z,rx,ry,rz\n";

    enum class Outcome { Written, BadRecording, CannotWrite };

    // message: what was done, or why not (a bad recording with its file and line number).
    static Outcome run(const QString &recordingPath, const QString &csvPath, QString *message);

    // For the command line: prints the message, returns the exit status
    // (0; 2 for a recording that cannot be read; 1 when the CSV cannot be written).
    static int runAndReport(const QString &recordingPath, const QString &csvPath);
};

#endif // CSVEXPORT_H
