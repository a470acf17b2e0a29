#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Text from files, ports and USB descriptors as a terminal may show it: every control
// character (an escape sequence's ESC, a bell, a carriage return, a line break) written as
// \xHH, so nothing can recolour the screen or forge a line.
QString TerminalText(const QString &text);

// The widths of a table's columns, measured row by row, so that a long table can be printed
// as it is read: measure every row, then write each line.
class TableColumns
{
public:
    void Measure(const QStringList &row);
    // The row, its cells shown as TerminalText, padded to the widths; ends with a newline.
    QString Line(const QStringList &row) const;

private:
    std::vector<qsizetype> m_widths;
};

// Rows as text columns, each column as wide as its widest cell, two spaces apart; the last
// column is not padded. Every row ends with a newline; control characters are escaped.
QString AlignedTable(const std::vector<QStringList> &rows);

// A time in milliseconds as seconds with one decimal ("34.2"), as tables and summary lines
// show it.
QString SecondsText(qint64 milliseconds);

// One row as CSV (RFC 4180): a cell with a comma, a quote or a line break is quoted, its
// quotes doubled; a cell that starts with =, +, -, @, a tab or a carriage return gets a
// leading apostrophe, so a spreadsheet takes it as text. The line ends with CR LF.
QString CsvLine(const QStringList &row);

// Rows as CSV, each as CsvLine writes it.
QString CsvText(const std::vector<QStringList> &rows);
