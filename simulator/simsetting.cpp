#include "simulator/simsetting.h"

#include "simulator/simerror.h"
#include "simulator/simvalue.h"

#include <QList>

namespace {

// Printable text without double quotes (they delimit it in replies).
bool isQuotableText(const QByteArray &text, int maxLength)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || c == '"')
            return false;
    }
    return true;
}

QByteArray unquoted(const QByteArray &text)
{
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        return text.mid(1, text.size() - 2);
    return text;
}

bool readTriple(const QByteArray &text, int v[3])
{
    const QList<QByteArray> parts = text.split(' ');
    if (parts.size() != 3)
        return false;
    int read[3];
    for (int i = 0; i < 3; ++i) {
        const int least = i == 2 ? SimSetting::LeastPatch : 0;
        if (!SimValue::toInt(parts.at(i), &read[i]) || read[i] < least || read[i] > SimSetting::MostVersionNumber)
            return false;
    }
    for (int i = 0; i < 3; ++i)
        v[i] = read[i];
    return true;
}

bool readInteger(const QByteArray &text, double least, double most, int *number)
{
    return SimValue::toInt(text, number) && *number >= least && *number <= most;
}

} // namespace

SimSetting::SimSetting(const char *name, Shape shape, double least, double most, const char *choiceWords,
                       const char *effect, Change changeState)
    : settingName(name)
    , valueShape(shape)
    , lowest(least)
    , highest(most)
    , choices(choiceWords)
    , effectText(effect)
    , change(changeState)
{ }

SimSetting SimSetting::nothing(const char *name, const char *effect, Change change)
{
    return SimSetting(name, Nothing, 0, 0, nullptr, effect, change);
}

SimSetting SimSetting::text(const char *name, Shape shape, int maxLength, const char *effect, Change change)
{
    return SimSetting(name, shape, 1, maxLength, nullptr, effect, change);
}

SimSetting SimSetting::triple(const char *name, const char *effect, Change change)
{
    return SimSetting(name, Triple, LeastPatch, MostVersionNumber, nullptr, effect, change);
}

SimSetting SimSetting::integer(const char *name, int least, int most, const char *effect, Change change)
{
    return SimSetting(name, Integer, least, most, nullptr, effect, change);
}

SimSetting SimSetting::decimal(const char *name, double least, double most, const char *effect, Change change)
{
    return SimSetting(name, Decimal, least, most, nullptr, effect, change);
}

SimSetting SimSetting::yesNo(const char *name, const char *effect, Change change)
{
    return SimSetting(name, YesNo, 0, 0, nullptr, effect, change);
}

SimSetting SimSetting::numberedYesNo(const char *name, int most, const char *effect, Change change)
{
    return SimSetting(name, NumberedYesNo, 1, most, nullptr, effect, change);
}

SimSetting SimSetting::choice(const char *name, const char *choices, const char *effect, Change change)
{
    return SimSetting(name, Choice, 0, 0, choices, effect, change);
}

SimSetting SimSetting::byDefault(const char *value) const
{
    SimSetting setting = *this;
    setting.powerOnValue = value;
    return setting;
}

SimSetting SimSetting::describedDefault(const char *note) const
{
    SimSetting setting = *this;
    setting.defaultNote = note;
    return setting;
}

void SimSetting::applyDefault(SimState &state) const
{
    if (powerOnValue)
        apply(state, powerOnValue);
}

int SimSetting::apply(SimState &state, const QByteArray &value) const
{
    // As a get with a value: the command has words too many.
    if (valueShape == Nothing && !value.isEmpty())
        return SimError::Malformed;
    Value read;
    if (!this->read(value, &read) || !change(state, read))
        return SimError::BadValue;
    return SimError::None;
}

bool SimSetting::read(const QByteArray &text, Value *value) const
{
    const int maxLength = int(highest);
    switch (valueShape) {
    case Nothing: return true;
    case Text: value->text = text; return isQuotableText(text, maxLength);
    case MessageOrNone:
    case WordsOrNone:
        value->none = text == "none";
        value->text = valueShape == MessageOrNone ? unquoted(text) : text;
        return value->none || isQuotableText(value->text, maxLength);
    case Triple: return readTriple(text, value->triple);
    case Integer: return readInteger(text, lowest, highest, &value->number);
    case Decimal:
        return SimValue::toDouble(text, &value->decimal) && SimValue::inRange(value->decimal, lowest, highest);
    case YesNo: return SimValue::toBool(text, &value->flag);
    case NumberedYesNo: {
        const QList<QByteArray> words = text.split(' ');
        return words.size() == 2 && readInteger(words.at(0), lowest, highest, &value->number)
            && SimValue::toBool(words.at(1), &value->flag);
    }
    case Choice: value->text = text; return readChoice(text);
    }
    return false;
}

bool SimSetting::readChoice(const QByteArray &text) const
{
    const QList<QByteArray> words = QByteArray(choices).split('|');
    return words.contains(text);
}

QByteArray SimSetting::valueName() const
{
    switch (valueShape) {
    case Nothing: return QByteArray();
    case Text: return "text";
    case MessageOrNone: return "text|none";
    case WordsOrNone: return "words|none";
    case Triple: return "major minor patch";
    case Integer:
    case Decimal: return "n";
    case YesNo: return "yes|no";
    case NumberedYesNo: return "n yes|no";
    case Choice: return choices;
    }
    return QByteArray();
}

QByteArray SimSetting::range() const
{
    const bool whole = valueShape != Decimal;
    const QByteArray from = whole ? QByteArray::number(int(lowest)) : QByteArray::number(lowest);
    const QByteArray to = whole ? QByteArray::number(int(highest)) : QByteArray::number(highest);
    switch (valueShape) {
    case Integer:
    case Decimal: return from + " to " + to;
    case NumberedYesNo: return "n from " + from + " to " + to;
    case Text:
    case MessageOrNone:
    case WordsOrNone: return "up to " + to + " characters";
    case Triple: return "each 0 to " + to + ", the patch from " + from;
    default: return QByteArray();
    }
}
