#include "cli/output/TextTable.h"

#include <algorithm>

namespace {

// What a spreadsheet would take for a formula or a command when a cell starts with it.
bool StartsLikeAFormula(const QString &cell)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    return !cell.isEmpty() && kFormulaStarts.contains(cell.front());
}

} // namespace

QString TerminalText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        // C0 and C1 controls and DEL: an escape sequence, a bell, a carriage return or a
        // line break from a file or port name must not reach the terminal as such.
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

void TableColumns::Measure(const QStringList &row)
{
    m_widths.resize(std::max(m_widths.size(), static_cast<std::size_t>(row.size())), 0);
    for (qsizetype i = 0; i < row.size(); ++i)
        m_widths[static_cast<std::size_t>(i)] =
            std::max(m_widths[static_cast<std::size_t>(i)], TerminalText(row[i]).size());
}

QString TableColumns::Line(const QStringList &row) const
{
    QString line;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QString cell = TerminalText(row[i]);
        const auto column = static_cast<std::size_t>(i);
        if (i + 1 < row.size())
            line += cell.leftJustified(column < m_widths.size() ? m_widths[column] : 0) +
                    QStringLiteral("  ");
        else
            line += cell;
    }
    return line + QLatin1Char('\n');
}

QString AlignedTable(const std::vector<QStringList> &rows)
{
    TableColumns columns;
    for (const QStringList &row : rows)
        columns.Measure(row);
    QString text;
    for (const QStringList &row : rows)
        text += columns.Line(row);
    return text;
}

QString SecondsText(qint64 milliseconds)
{
    return QString::number(static_cast<double>(milliseconds) / 1000.0, 'f', 1);
}

QString CsvLine(const QStringList &row)
{
    QStringList cells;
    for (const QString &cell : row) {
        // The usual defence: a leading apostrophe makes a spreadsheet show the cell as text
        // instead of running it.
        const QString text = StartsLikeAFormula(cell) ? QLatin1Char('\'') + cell : cell;
        const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                            text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
        cells << (quoted ? QLatin1Char('"') +
                               QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) +
                               QLatin1Char('"')
                         : text);
    }
    return cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString CsvText(const std::vector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows)
        text += CsvLine(row);
    return text;
}
