#include "cli/output/TextTable.h"

#include <algorithm>

QString AlignedTable(const std::vector<QStringList> &rows)
{
    std::vector<qsizetype> widths;
    for (const QStringList &row : rows) {
        widths.resize(std::max(widths.size(), static_cast<std::size_t>(row.size())), 0);
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[static_cast<std::size_t>(i)] =
                std::max(widths[static_cast<std::size_t>(i)], row[i].size());
    }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i + 1 < row.size())
                line += row[i].leftJustified(widths[static_cast<std::size_t>(i)]) +
                        QStringLiteral("  ");
            else
                line += row[i];
        }
        text += line + QLatin1Char('\n');
    }
    return text;
}

QString SecondsText(qint64 milliseconds)
{
    return QString::number(static_cast<double>(milliseconds) / 1000.0, 'f', 1);
}

QString CsvText(const std::vector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (const QString &cell : row) {
            const bool quoted =
                cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"')) ||
                cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
            cells << (quoted
                          ? QLatin1Char('"') +
                                QString(cell).replace(QLatin1String("\""), QLatin1String("\"\"")) +
                                QLatin1Char('"')
                          : cell);
        }
        text += cells.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text;
}
