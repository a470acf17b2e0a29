#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Rows as text columns, each column as wide as its widest cell, two spaces apart; the last
// column is not padded. Every row ends with a newline.
QString AlignedTable(const std::vector<QStringList> &rows);

// Rows as CSV (RFC 4180): a cell with a comma, a quote or a line break is quoted, its quotes
// doubled; lines end with CR LF.
QString CsvText(const std::vector<QStringList> &rows);
