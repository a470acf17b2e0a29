#include "production/SerialSource.h"

#include "production/LogConnection.h"
#include "production/LogConnectionPool.h"
#include "production/LogCounter.h"
#include "production/ProductionLog.h"
#include "production/SerialCounter.h"
#include "production/SerialReserve.h"

#include <QCryptographicHash>

namespace {

// Opens the counter's database and makes it ready (an SQLite log is made, an older schema
// brought up to date); the reason when it cannot be used, and whether its server is away.
std::optional<QString> OpenCounterDatabase(LogConnection &connection, const SerialSourcePlan &plan,
                                           bool &away)
{
    const LogPlace &log = plan.log;
    std::optional<QString> failure;
    if (!log.IsPostgres())
        failure = PrepareProductionLog(log.path);
    if (!failure)
        failure = connection.Open();
    if (!failure && log.IsPostgres())
        failure = PrepareOpenLog(connection);
    if (!failure)
        return std::nullopt;
    away = connection.ServerAway() || (log.IsPostgres() && IsServerAwayText(*failure));
    return QStringLiteral("%1 the counter %2 in %3: %4")
        .arg(away ? QStringLiteral("cannot reach") : QStringLiteral("cannot use"), plan.counterName,
             log.Shown(), *failure);
}

// The counter on the thread's connection to a PostgreSQL log, kept for the port's row and the
// next chip; the schema is checked once a connection.
CounterTake TakeFromServerCounter(const SerialSourcePlan &plan, int count, std::uint64_t largest)
{
    CounterTake take;
    bool away = false;
    const auto failure = WithPooledConnection(
        plan.log,
        [&](LogConnection &connection) -> std::optional<QString> {
            if (!PooledLogConnection::WasReused(plan.log)) {
                if (const auto notReady = PrepareOpenLog(connection))
                    return notReady;
            }
            take = TakeCounterNumbers(connection.Db(), connection.Dialect(), plan.counterName,
                                      plan.seed, count, plan.step, largest);
            if (take.first || take.doesNotFit)
                return std::nullopt;
            return take.error;
        },
        away);
    if (failure) {
        take = CounterTake();
        take.error = QStringLiteral("%1 the counter %2 in %3: %4")
                         .arg(away ? QStringLiteral("cannot reach") : QStringLiteral("cannot use"),
                              plan.counterName, plan.log.Shown(), *failure);
        take.serverAway = away;
    }
    return take;
}

CounterTake TakeFromCounter(const SerialSourcePlan &plan, int count, std::uint64_t largest)
{
    if (plan.log.IsPostgres())
        return TakeFromServerCounter(plan, count, largest);
    LogConnection connection(plan.log, LogConnection::Mode::ReadWrite);
    bool away = false;
    if (const auto failure = OpenCounterDatabase(connection, plan, away)) {
        CounterTake take;
        take.error = *failure;
        take.serverAway = away;
        return take;
    }
    return TakeCounterNumbers(connection.Db(), connection.Dialect(), plan.counterName, plan.seed,
                              count, plan.step, largest);
}

SerialOutlook LookAtCounter(const SerialSourcePlan &plan, bool &away)
{
    SerialOutlook outlook;
    LogConnection connection(plan.log, LogConnection::Mode::ReadWrite);
    if (const auto failure = OpenCounterDatabase(connection, plan, away)) {
        outlook.error = *failure;
        return outlook;
    }
    QString error;
    outlook.next = PeekCounter(connection.Db(), plan.counterName, error);
    if (!error.isEmpty()) {
        outlook.error = error;
        return outlook;
    }
    outlook.continues = outlook.next.has_value();
    if (!outlook.next)
        outlook.next = plan.seed;
    return outlook;
}

} // namespace

QString SerialSourcePlan::ReservePath() const
{
    const QString tag = QString::fromLatin1(
        QCryptographicHash::hash(log.Shown().toUtf8(), QCryptographicHash::Sha256).toHex().left(8));
    return benchFolder + QStringLiteral("/serial-reserve-%1-%2").arg(counterName, tag);
}

SerialOutlook LookAheadSerial(const SerialSourcePlan &plan)
{
    SerialOutlook outlook;
    if (!plan.UsesCounter()) {
        bool fromFile = false;
        outlook.next = SerialCounter(plan.filePath).Next(plan.seed, fromFile, outlook.error);
        outlook.continues = fromFile;
        return outlook;
    }
    if (plan.block > 1) {
        const SerialReserve reserve(plan.ReservePath(), plan.log.Shown(), plan.counterName);
        const auto held = reserve.Peek(outlook.error);
        if (!outlook.error.isEmpty())
            return outlook;
        if (held) {
            outlook.next = held->next;
            outlook.continues = true;
            return outlook;
        }
    }
    bool away = false;
    outlook = LookAtCounter(plan, away);
    if (away)
        outlook.error += plan.block > 1 ? QStringLiteral("; the bench's reserve is empty")
                                        : QStringLiteral("; the bench keeps no reserve "
                                                         "(--serial-block)");
    return outlook;
}

SerialTake TakeSerial(const SerialSourcePlan &plan, std::uint64_t largest)
{
    if (!plan.UsesCounter())
        return SerialCounter(plan.filePath).Take(plan.seed, plan.step, largest);
    if (plan.block <= 1) {
        const CounterTake take = TakeFromCounter(plan, 1, largest);
        return {take.first, take.error, take.doesNotFit};
    }
    SerialReserve reserve(plan.ReservePath(), plan.log.Shown(), plan.counterName);
    return reserve.Take(
        [&] {
            const CounterTake take = TakeFromCounter(plan, plan.block, largest);
            return SerialReserve::Block{take.first, take.count, plan.step, take.error,
                                        take.doesNotFit};
        },
        largest);
}
