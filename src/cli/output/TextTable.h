#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Rows as text columns, each column as wide as its widest cell, two spaces apart; the last
// column is not padded. Every row ends with a newline.
QString AlignedTable(const std::vector<QStringList> &rows);

// A time in milliseconds as seconds with one decimal ("34.2"), as tables and summary lines
// show it.
QString SecondsText(qint64 milliseconds);

// Rows as CSV (RFC 4180): a cell with a comma, a quote or a line break is quoted, its quotes
// doubled; lines end with CR LF.
QString CsvText(const std::vector<QStringList> &rows);
