#pragma once

#include <QString>
#include <initializer_list>

class QCheckBox;
class QIcon;
class QKeySequence;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QRadioButton;
class QToolButton;
class QWidget;

// Small factories for the main window's controls; each control gets its objectName, so
// that tests and accessibility tools find it by the name the program uses for it.
template <typename T> T *Named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A speed button: the glyph (assets/glyphs/<glyph>.svg) is all it shows; the caption is
// its hint, its tooltip and the name screen readers announce.
QToolButton *GlyphButton(const char *name, const QString &hint, const QString &glyph);
// A glyph (assets/glyphs/<glyph>.svg) as an icon, for list items and labels.
QIcon GlyphIcon(const QString &glyph);
// The program's own icon (assets/tolm.svg), for the window frame and the task bar.
QIcon ProgramIcon();
// Gives a speed button a key that works from anywhere in `window` (whichever page shows), and
// names the key in its hint: "Read From PIC (F5)". A disabled button ignores its key.
void GiveShortcut(QWidget &window, QToolButton *button, const QKeySequence &keys);
QCheckBox *CheckBox(const char *name, const QString &caption);
QRadioButton *RadioButton(const char *name, const QString &caption);
QGroupBox *Group(const char *name, const QString &title);
// A hexadecimal field of a fixed number of digits (see HexEditFilter.h).
QLineEdit *HexEdit(const char *name, int digits, bool upperCase);
// The widgets side by side, packed to the left.
QHBoxLayout *Row(std::initializer_list<QWidget *> widgets);
