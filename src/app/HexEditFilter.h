#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;

// The six hexadecimal fields of the main window hold exactly four or two digits. The input
// mask blanks a position with "_" and types over in place; these filters take away what
// would shorten or corrupt the text.

// Only the hexadecimal digits pass as characters; every other character (Backspace,
// Enter, control characters, letters past F, blanks) is discarded. True: discard.
bool FilterKeyPress(const QKeyEvent &event);
// Backspace would move the digits; it is discarded. Delete, arrows and the rest pass.
bool FilterKeyDown(const QKeyEvent &event);
// The two selector boxes change only by picking an item; every typed character is
// discarded (arrows, Tab and the drop-down keys still work).
bool SelectorKeyPress(const QKeyEvent &event);

// Gives a line edit its mask, initial text and a fixed width for its number of digits.
// Address fields turn letters to upper case; the direct-access fields keep the case typed.
void SetupHexEdit(QLineEdit *edit, int digits, bool upperCase);

// Event filter for the hex fields and the selector boxes. A hex field with a blank
// position keeps the focus until it is filled, as a masked edit refuses to lose it.
class HexEditFilter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    void WatchHexEdit(QLineEdit *edit);
    void WatchSelector(QWidget *selector);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool HexEditEvent(QLineEdit *edit, QEvent *event);
};
