#pragma once

#include <QChar>
#include <QString>

// Rules for what the user may type into a data memory cell. Each cell is one EEPROM byte
// shown as two hex digits; nothing but hex digits may ever reach a cell, so that every
// reader of the image can parse what the editor leaves behind.

// True for "0"-"9", "A"-"F" and "a"-"f"; every other character (Backspace, Enter, Escape,
// control characters, letters beyond F) is discarded by the cell editor.
bool IsDataCellChar(QChar ch);

// Completes a half-typed byte: a blank stands where no digit was typed. A blank first place
// becomes "0"; a blank second place moves the lone digit down ("5 " and " 5" both give
// "05"), and two blanks give "00". A full two-digit text comes back unchanged. Missing
// characters count as blanks.
QString ShapeByte(const QString &text);
