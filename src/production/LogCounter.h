#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QSqlDatabase;
enum class LogDialect;

// Serial numbers kept in the log's own database, one counter a name, so that every bench
// writing to the same database takes from the same sequence. A take is one transaction: the
// counter's row is locked, read and moved on, so two benches (or two processes, or two
// computers) never get the same number.
struct CounterTake
{
    std::optional<std::uint64_t> first; // the first number taken
    int count = 0;                      // how many, `step` apart
    QString error;
    bool doesNotFit = false; // the next number lies above the largest allowed
    bool serverAway = false; // the connection broke off: the server may come back
};

// Whether NAME may name a counter: letters, digits, '.', '_' and '-', 1 to 64 of them.
bool IsCounterName(const QString &name);

// Takes up to `count` numbers `step` apart from the counter `name` (made with `seed` as its
// next number when it does not exist yet), none above `largest`. Fewer than asked when the
// rest would not fit; none, with doesNotFit, when not even one does.
CounterTake TakeCounterNumbers(QSqlDatabase &db, LogDialect dialect, const QString &name,
                               std::uint64_t seed, int count, std::uint64_t step,
                               std::uint64_t largest);

// The counter's next number without taking it; nothing when it does not exist yet.
std::optional<std::uint64_t> PeekCounter(QSqlDatabase &db, const QString &name, QString &error);
