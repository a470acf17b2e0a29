#include "production/LogCounter.h"

#include "production/LogConnection.h"
#include "production/SerialNumber.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

// Runs one prepared statement with its values; false with the reason in `error`.
bool Run(QSqlQuery &query, const QString &text, const QVariantList &values, QString &error)
{
    if (!query.prepare(text)) {
        error = LogErrorText(query.lastError());
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        error = LogErrorText(query.lastError());
        return false;
    }
    return true;
}

// How many numbers from `next`, `step` apart, stay at or below `largest`.
int NumbersThatFit(std::uint64_t next, int count, std::uint64_t step, std::uint64_t largest)
{
    if (next > largest)
        return 0;
    const std::uint64_t room = (largest - next) / step + 1;
    return static_cast<int>(std::min<std::uint64_t>(room, static_cast<std::uint64_t>(count)));
}

// The counter's row, made when missing and locked for the rest of the transaction.
std::optional<std::uint64_t> LockedNext(QSqlDatabase &db, LogDialect dialect, const QString &name,
                                        std::uint64_t seed, QString &error)
{
    QSqlQuery query(db);
    if (!Run(query,
             QStringLiteral("INSERT INTO counters (name, next_number) VALUES (?, ?) "
                            "ON CONFLICT (name) DO NOTHING"),
             {name, static_cast<qlonglong>(seed)}, error))
        return std::nullopt;
    // SQLite holds the whole file under BEGIN IMMEDIATE; PostgreSQL locks the row.
    const QString select = dialect == LogDialect::Postgres
                               ? QStringLiteral("SELECT next_number FROM counters WHERE name = ? "
                                                "FOR UPDATE")
                               : QStringLiteral("SELECT next_number FROM counters WHERE name = ?");
    if (!Run(query, select, {name}, error))
        return std::nullopt;
    if (!query.next()) {
        error = QStringLiteral("the counter %1 could not be made").arg(name);
        return std::nullopt;
    }
    const qlonglong next = query.value(0).toLongLong();
    if (next < 0) {
        error = QStringLiteral("the counter %1 holds %2, which is no serial number")
                    .arg(name)
                    .arg(next);
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(next);
}

} // namespace

bool IsCounterName(const QString &name)
{
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9._-]{1,64}")));
    return form.match(name).hasMatch();
}

CounterTake TakeCounterNumbers(QSqlDatabase &db, LogDialect dialect, const QString &name,
                               std::uint64_t seed, int count, std::uint64_t step,
                               std::uint64_t largest)
{
    CounterTake take;
    QSqlQuery control(db);
    const QString begin = dialect == LogDialect::Postgres ? QStringLiteral("BEGIN")
                                                          : QStringLiteral("BEGIN IMMEDIATE");
    if (!control.exec(begin)) {
        take.error = LogErrorText(control.lastError());
        take.serverAway = IsServerAwayError(control.lastError());
        return take;
    }
    const auto fail = [&](const QString &error) {
        take.error = error;
        take.serverAway = !db.isOpen() || IsServerAwayError(control.lastError());
        control.exec(QStringLiteral("ROLLBACK"));
        return take;
    };
    QString error;
    const auto next = LockedNext(db, dialect, name, seed, error);
    if (!next)
        return fail(error);
    // As in the serial file: a number goes out only when the one after it can be stored.
    const std::uint64_t limit = std::min(largest, kMaxSerialNumber - step);
    const int fitting = NumbersThatFit(*next, count, step, limit);
    if (fitting == 0) {
        take.doesNotFit = true;
        return fail(QStringLiteral("the counter %1's next number, %2, does not fit (at most %3)")
                        .arg(name)
                        .arg(*next)
                        .arg(limit));
    }
    const std::uint64_t after = *next + step * static_cast<std::uint64_t>(fitting);
    QSqlQuery update(db);
    if (!Run(update, QStringLiteral("UPDATE counters SET next_number = ? WHERE name = ?"),
             {static_cast<qlonglong>(after), name}, error))
        return fail(error);
    if (!control.exec(QStringLiteral("COMMIT"))) {
        take.error = LogErrorText(control.lastError());
        take.serverAway = IsServerAwayError(control.lastError());
        return take;
    }
    take.first = *next;
    take.count = fitting;
    return take;
}

std::optional<std::uint64_t> PeekCounter(QSqlDatabase &db, const QString &name, QString &error)
{
    QSqlQuery query(db);
    if (!Run(query, QStringLiteral("SELECT next_number FROM counters WHERE name = ?"), {name},
             error) ||
        !query.next())
        return std::nullopt;
    return static_cast<std::uint64_t>(query.value(0).toLongLong());
}
