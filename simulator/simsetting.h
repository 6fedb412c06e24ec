#ifndef SIMSETTING_H
#define SIMSETTING_H

#include <QByteArray>
#include <QTypeInfo>

#include <type_traits>
#include <utility>

class SimState;

// One setting of "orvel2 simulate <setting> <value>": its name, the shape
// of its value with the range of a number, what it changes (for the help),
// the change itself and its value at power-on.
class SimSetting
{
public:
    enum Shape {
        Nothing,       // no value; one given makes a malformed command
        Text,          // printable text without '"', up to `most` characters
        MessageOrNone, // "none", or such a text, which may be quoted
        WordsOrNone,   // "none", or such a text
        Triple,        // "<major> <minor> <patch>", each from 0 to 1000, the patch from -1
        Integer,       // from least to most
        Decimal,       // from least to most
        YesNo,         // "yes" or "no"
        NumberedYesNo, // "<number> yes|no", the number from 1 to most
        Choice,        // one of the words of `choices`, separated by '|'
    };

    // A value as its shape reads it.
    struct Value
    {
        bool none = false; // "none" where the shape allows it
        QByteArray text;   // Text, MessageOrNone, WordsOrNone, Choice
        int number = 0;    // Integer, NumberedYesNo
        double decimal = 0.0;
        bool flag = false; // YesNo, NumberedYesNo
        int triple[3] = {0, 0, 0};
    };

    // What a value does to the state: a function that returns false when the
    // state cannot take the value after all, or, for one that always takes
    // it, returns nothing.
    class Change
    {
    public:
        // Implicit, so that a table row passes its lambda as it is.
        template <typename Function>
        Change(Function function)
        {
            if constexpr (std::is_void_v<decltype(function(std::declval<SimState &>(), std::declval<const Value &>()))>)
                set = function;
            else
                tryChange = function;
        }

        bool operator()(SimState &state, const Value &value) const
        {
            if (!set)
                return tryChange(state, value);
            set(state, value);
            return true;
        }

    private:
        bool (*tryChange)(SimState &, const Value &) = nullptr;
        void (*set)(SimState &, const Value &) = nullptr;
    };

    static constexpr int MostVersionNumber = 1000;
    // Patch -1 is the first build of a major.minor, as the version gates count.
    static constexpr int LeastPatch = -1;

    static SimSetting nothing(const char *name, const char *effect, Change change);
    static SimSetting text(const char *name, Shape shape, int maxLength, const char *effect, Change change);
    static SimSetting triple(const char *name, const char *effect, Change change);
    static SimSetting integer(const char *name, int least, int most, const char *effect, Change change);
    static SimSetting decimal(const char *name, double least, double most, const char *effect, Change change);
    static SimSetting yesNo(const char *name, const char *effect, Change change);
    static SimSetting numberedYesNo(const char *name, int most, const char *effect, Change change);
    static SimSetting choice(const char *name, const char *choices, const char *effect, Change change);

    // The same setting with a value at power-on, which SimState takes and
    // the help shows; or, where no single value says it, a note for the help.
    SimSetting byDefault(const char *value) const;
    SimSetting describedDefault(const char *note) const;

    QByteArray name() const { return settingName; }
    Shape shape() const { return valueShape; }
    double least() const { return lowest; }
    double most() const { return highest; }
    QByteArray effect() const { return effectText; }
    // The power-on value or the note; empty for none.
    QByteArray defaultText() const { return powerOnValue ? powerOnValue : defaultNote; }

    // Reads the value (its words joined by single blanks) and changes the
    // state: SimError::None, or an error with the state unchanged (BadValue;
    // Malformed for a value given to a setting without one).
    int apply(SimState &state, const QByteArray &value) const;
    // Gives the state the power-on value, where the setting has one.
    void applyDefault(SimState &state) const;

    // For the help: the value's form ("yes|no", "n"), and the range of a
    // number or the length of a text ("1 to 1000"; empty where the form
    // says it all).
    QByteArray valueName() const;
    QByteArray range() const;

private:
    SimSetting(const char *name, Shape shape, double least, double most, const char *choices, const char *effect,
               Change change);
    bool read(const QByteArray &text, Value *value) const;
    bool readChoice(const QByteArray &text) const;

    const char *settingName;
    Shape valueShape;
    double lowest;
    double highest;
    const char *choices;
    const char *effectText;
    Change change;
    const char *powerOnValue = nullptr;
    const char *defaultNote = "";
};

Q_DECLARE_TYPEINFO(SimSetting, Q_MOVABLE_TYPE);

#endif // SIMSETTING_H
