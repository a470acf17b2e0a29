#include "production/ProductionRecorder.h"

#include "production/LogConnection.h"
#include "production/LogConnectionPool.h"
#include "production/LogQuery.h"
#include "production/LogSchema.h"
#include "production/ProductionLog.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

// Rows sent in one transaction: a whole page reaches the server, or none of it does.
constexpr int kSyncPageRows = 500;

// Sends the queue's rows page by page, each page in one transaction and then deleted from
// the queue. A row the server already holds (sent before the queue could forget it) is
// skipped by its id.
std::optional<QString> SendQueue(LogConnection &server, const QString &queuePath, int &sent)
{
    LogConnection queue(queuePath, LogConnection::Mode::ReadWrite);
    if (const auto failure = queue.Open())
        return failure;
    for (;;) {
        QString error;
        const std::vector<ProductionRow> rows =
            ReadRowPage(queue.Db(), kLogSchemaVersion, 0, kSyncPageRows, error);
        if (!error.isEmpty())
            return error;
        if (rows.empty())
            return std::nullopt;
        if (const auto failure = InsertRows(server, rows))
            return failure;
        QSqlQuery forget(queue.Db());
        if (!forget.prepare(QStringLiteral("DELETE FROM chips WHERE id <= ?")))
            return LogErrorText(forget.lastError());
        forget.addBindValue(rows.back().id);
        if (!forget.exec())
            return LogErrorText(forget.lastError());
        sent += static_cast<int>(rows.size());
    }
}

int CountRows(const QString &path)
{
    if (!QFileInfo::exists(path))
        return 0;
    LogConnection queue(path, LogConnection::Mode::ReadOnly);
    if (queue.Open())
        return 0;
    QSqlQuery query(queue.Db());
    if (!query.exec(QStringLiteral("SELECT count(*) FROM chips")) || !query.next())
        return 0;
    return query.value(0).toInt();
}

} // namespace

QString NewRowId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString KeptRowsText(int waiting)
{
    return QStringLiteral("logged on this bench; %1 %2 for the server")
        .arg(waiting)
        .arg(waiting == 1 ? QStringLiteral("row waits") : QStringLiteral("rows wait"));
}

ProductionRecorder::ProductionRecorder(LogPlace place, QString benchFolder)
    : m_place(std::move(place)), m_benchFolder(std::move(benchFolder))
{}

QString ProductionRecorder::QueuePath() const
{
    // One queue for each server and database: rows meant for one never reach another.
    const QByteArray identity = m_place.Shown().toUtf8();
    const QString tag = QString::fromLatin1(
        QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex().left(16));
    return m_benchFolder + QStringLiteral("/pending-%1.sqlite").arg(tag);
}

ProductionRecorder::Readiness ProductionRecorder::Prepare()
{
    Readiness readiness;
    if (!m_place.IsPostgres()) {
        readiness.refusal = PrepareProductionLog(m_place.path);
        return readiness;
    }
    bool away = false;
    const std::optional<QString> failure = WithPooledConnection(
        m_place, [](LogConnection &server) { return PrepareOpenLog(server); }, away);
    away = failure && (away || IsServerAwayText(*failure));
    // A refused login, no such database, a newer schema: waiting would not help.
    if (failure && !away) {
        readiness.refusal = *failure;
        return readiness;
    }
    if (failure) {
        // The bench goes on: its rows wait in the queue, which must be usable now.
        readiness.serverAway = true;
        readiness.awayReason = *failure;
        if (const auto queueFailure = PrepareProductionLog(QueuePath()))
            readiness.refusal = QStringLiteral("the server is away (%1) and the rows cannot be "
                                               "kept on this bench: %2")
                                    .arg(*failure, *queueFailure);
        readiness.waiting = Waiting();
        return readiness;
    }
    if (QFileInfo::exists(QueuePath())) {
        const auto sendFailure = WithPooledConnection(
            m_place,
            [&](LogConnection &server) { return SendQueue(server, QueuePath(), readiness.sent); },
            away);
        readiness.awayReason = sendFailure.value_or(QString());
    }
    readiness.waiting = Waiting();
    return readiness;
}

ProductionRecorder::Appended ProductionRecorder::Append(ProductionRow row)
{
    if (row.uid.isEmpty())
        row.uid = NewRowId();
    Appended appended;
    if (!m_place.IsPostgres()) {
        const auto failure = AppendProductionRow(m_place.path, row);
        appended.outcome = failure ? Outcome::Lost : Outcome::Logged;
        appended.reason = failure.value_or(QString());
        return appended;
    }
    bool away = false;
    const std::optional<QString> failure = WithPooledConnection(
        m_place, [&row](LogConnection &server) { return InsertRows(server, {row}); }, away);
    if (!failure) {
        appended.outcome = Outcome::Logged;
        return appended;
    }
    // Whatever kept the row from the server, the bench keeps it: nothing is lost.
    appended.reason = *failure;
    std::optional<QString> kept = PrepareProductionLog(QueuePath());
    if (!kept)
        kept = AppendProductionRow(QueuePath(), row);
    if (kept) {
        appended.outcome = Outcome::Lost;
        appended.reason =
            QStringLiteral("%1; nor can it be kept on this bench: %2").arg(*failure, *kept);
        return appended;
    }
    appended.outcome = Outcome::Kept;
    return appended;
}

int ProductionRecorder::Waiting() const
{
    return m_place.IsPostgres() ? CountRows(QueuePath()) : 0;
}

ProductionRecorder::Synced ProductionRecorder::Sync()
{
    Synced synced;
    if (!m_place.IsPostgres())
        return synced;
    bool away = false;
    std::optional<QString> failure = WithPooledConnection(
        m_place, [](LogConnection &server) { return PrepareOpenLog(server); }, away);
    if (!failure && QFileInfo::exists(QueuePath()))
        failure = WithPooledConnection(
            m_place,
            [&](LogConnection &server) { return SendQueue(server, QueuePath(), synced.sent); },
            away);
    synced.error = failure.value_or(QString());
    synced.waiting = Waiting();
    return synced;
}
