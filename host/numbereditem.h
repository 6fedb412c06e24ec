#ifndef NUMBEREDITEM_H
#define NUMBEREDITEM_H

// A numbered item of a command text: a letter and the 1-based number,
// two digits at least ("b01" for body index 0, "d03", "s02").
class NumberedItem
{
public:
    static NumberedItem body(int index) { return NumberedItem('b', index); }
    static NumberedItem device(int index) { return NumberedItem('d', index); }
    static NumberedItem step(int index) { return NumberedItem('s', index); }

    // The number shown to the operator and written into commands.
    static int number(int index);

    const char *c_str() const { return text; }

private:
    NumberedItem(char letter, int index);

    char text[16]; // a letter, a sign, ten digits and the NUL fit
};

#endif // NUMBEREDITEM_H
