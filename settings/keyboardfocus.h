#ifndef KEYBOARDFOCUS_H
#define KEYBOARDFOCUS_H

#include <initializer_list>

class QTabWidget;
class QTableWidget;
class QWidget;

// Keyboard use of the settings dialog beyond its form's Tab order, which
// leaves the tables and the page tabs to the end of the round, after Cancel.
class KeyboardFocus
{
public:
    // A single page has nothing to switch to: Tab passes its tab by. Moving
    // the cursor in a table picks nothing; Space on a cell picks it as a
    // click would.
    static void setUp(QTabWidget *singlePage, std::initializer_list<QTableWidget *> tables);

    // The dialog is kept between openings; each one starts at the first
    // control of the round that is enabled, not where the last one was closed.
    static void focusFirstControl(QWidget *dialog);
};

#endif // KEYBOARDFOCUS_H
