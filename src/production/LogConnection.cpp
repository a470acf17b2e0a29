#include "production/LogConnection.h"

#include "fileio/PlainFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <atomic>

namespace {

// Writers wait this long for one another: sixteen ports ending at once each append a row.
constexpr int kBusyTimeoutMs = 15000;

// SQLite's primary result codes that a user can act on.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoError = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

QString UniqueConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tolm-production-%1").arg(++counter);
}

int PrimaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xFF : -1;
}

} // namespace

LogConnection::LogConnection(const QString &path, Mode mode)
    : m_name(UniqueConnectionName()), m_path(path), m_mode(mode)
{}

LogConnection::~LogConnection()
{
    Close();
}

void LogConnection::Close()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase(); // the registry refuses to remove a connection still in use
    QSqlDatabase::removeDatabase(m_name);
}

bool LogConnection::OpenWith(const QString &databaseName, const QString &extraOptions)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(databaseName);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (m_mode == Mode::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(options + extraOptions);
    return m_db.open();
}

std::optional<QString> LogConnection::Open()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return QStringLiteral("the Qt SQLite driver is not installed (libqt6sql6-sqlite)");
    const QString &path = m_path;
    if (!OpenWith(path, {}))
        return LogErrorText(m_db.lastError());
    if (m_mode == Mode::ReadWrite)
        return std::nullopt;
    QSqlQuery probe(m_db);
    if (probe.exec(QStringLiteral("SELECT 1 FROM sqlite_master")))
        return std::nullopt;
    const QString failure = LogErrorText(probe.lastError());
    // A log that an older tolm-cli left in WAL mode needs its -shm file, which a reader in a
    // folder it may not write cannot make. With no -wal file beside it, every row is in the
    // main file, which can then be read as it stands.
    if (QFileInfo::exists(path + QStringLiteral("-wal")))
        return failure;
    probe = QSqlQuery();
    Close();
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("immutable=1"));
    if (!OpenWith(url.toString(QUrl::FullyEncoded), QStringLiteral(";QSQLITE_OPEN_URI")))
        return failure;
    return std::nullopt;
}

QString LogErrorText(const QSqlError &error)
{
    switch (PrimaryCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return QStringLiteral("another program holds it locked (%1)").arg(error.text());
    case kSqliteReadOnly:
        return QStringLiteral("it may not be written here (%1)").arg(error.text());
    case kSqliteIoError:
        return QStringLiteral("the disk refused the write (%1)").arg(error.text());
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return QStringLiteral("the database is damaged (%1)").arg(error.text());
    case kSqliteFull:
        return QStringLiteral("the disk is full (%1)").arg(error.text());
    case kSqliteCantOpen:
        return QStringLiteral("it cannot be opened (%1)").arg(error.text());
    default:
        return error.text();
    }
}

std::optional<QString> ForeignFileReason(const QString &path)
{
    // Before anything else: a FIFO would hang the reader, a link would lead the log elsewhere
    // (and a dangling one would make its target).
    if (const auto reason = NotPlainFileReason(path))
        return *reason;
    const QFileInfo info(path);
    if (!info.exists() || info.size() == 0)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    static const QByteArray kHeader("SQLite format 3\0", 16);
    if (file.read(kHeader.size()) != kHeader)
        return QStringLiteral("it is not an SQLite database (damaged, or another kind of file)");
    return std::nullopt;
}

std::optional<QString> DamageReason(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
        const int code = PrimaryCode(query.lastError());
        if (code == kSqliteBusy || code == kSqliteLocked)
            return LogErrorText(query.lastError());
        return QStringLiteral("it is damaged or cannot be read (%1)").arg(query.lastError().text());
    }
    if (!query.next())
        return QStringLiteral("SQLite's check gave no answer");
    const QString verdict = query.value(0).toString();
    if (verdict != QLatin1String("ok"))
        return QStringLiteral("the database is damaged (%1)").arg(verdict);
    return std::nullopt;
}
