#ifndef SIMVALUE_H
#define SIMVALUE_H

#include <QByteArray>

// Reading and writing the values of command texts, in the "C" locale
// whatever the process locale is. Readers accept the whole word or nothing.
class SimValue
{
public:
    static bool toInt(const QByteArray &text, int *value);
    static bool toDouble(const QByteArray &text, double *value); // finite values only; -0 read as 0
    static bool toBool(const QByteArray &text, bool *value);     // "yes" / "no"
    // A numbered item "b01", "d3", "s02": the letter and 1 to 3 digits.
    static bool toItem(char letter, const QByteArray &text, int *number);
    // From low to high, both included. Exact: a decimal text read gives the
    // same double as the limit written alike, and a controller refuses a
    // value beyond its limit by however little.
    static bool inRange(double value, double low, double high);

    static QByteArray fixed(double value, int decimals);
    static QByteArray yesNo(bool value) { return value ? "yes" : "no"; }
    static QByteArray item(char letter, int number); // "b%2.2d"
    // A word of safe characters only (letters, digits, '-', '_', '.'),
    // 1 to maxLength long: radio device vendors, models and serials.
    static bool isPlainWord(const QByteArray &text, int maxLength);
};

#endif // SIMVALUE_H
