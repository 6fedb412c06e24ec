#ifndef NUMBEREDITEM_H
#define NUMBEREDITEM_H

// A numbered item of a command text: a letter and the 1-based number,
// two digits at least ("b01" for body index 0, "d03", "s02").
class NumberedItem
{
public:
    static NumberedItem body(int index) { return NumberedItem("b%2.2d", number(index)); }
    static NumberedItem device(int index) { return NumberedItem("d%2.2d", number(index)); }
    // Calibration steps are counted by the controller's own step numbers.
    static NumberedItem step(int stepNumber) { return NumberedItem("s%02d", stepNumber); }

    // The number shown to the operator and written into commands.
    static int number(int index);

    // The number of an item as the controller replies it ("b02" gives 2):
    // its letter dropped, the rest read as a decimal. False, and 0 in
    // *number, when no int can be read.
    static bool readNumber(const char *reply, int *number);

    const char *c_str() const { return text; }

private:
    NumberedItem(const char *format, int number);

    char text[16]; // a letter, a sign, ten digits and the NUL fit
};

#endif // NUMBEREDITEM_H
