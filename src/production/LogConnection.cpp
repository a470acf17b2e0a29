#include "production/LogConnection.h"

#include "fileio/PlainFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <atomic>

namespace {

// Writers wait this long for one another: sixteen ports ending at once each append a row.
constexpr int kBusyTimeoutMs = 15000;

// How long a connection to a PostgreSQL server may take before the server counts as away.
constexpr int kConnectTimeoutSeconds = 5;

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

// SQLite's result code; PostgreSQL's five-character SQL states never read as one.
// libpq's message on one line: it breaks its hints onto lines of their own.
QString OneLine(const QString &text)
{
    return text.simplified();
}

int PrimaryCode(const QSqlError &error)
{
    bool ok = false;
    const QString code = error.nativeErrorCode();
    const int value = code.toInt(&ok);
    return ok && code.size() < 5 ? value & 0xFF : -1;
}

} // namespace

LogConnection::LogConnection(const QString &path, Mode mode)
    : LogConnection(LogPlace{LogPlace::Kind::File, path, {}, -1, {}, {}, {}}, mode)
{}

LogConnection::LogConnection(const LogPlace &place, Mode mode)
    : m_name(UniqueConnectionName()), m_place(place), m_mode(mode),
      m_dialect(place.IsPostgres() ? LogDialect::Postgres : LogDialect::Sqlite)
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
    return m_dialect == LogDialect::Postgres ? OpenPostgres() : OpenFile();
}

std::optional<QString> LogConnection::OpenPostgres()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return QStringLiteral("the Qt PostgreSQL driver is not installed (libqt6sql6-psql)");
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    m_db.setHostName(m_place.host);
    m_db.setPort(m_place.port);
    m_db.setDatabaseName(m_place.database);
    m_db.setUserName(m_place.user);
    QStringList options = m_place.options;
    // A server that is away must cost a bench seconds, not the minutes TCP would wait.
    if (options.filter(QRegularExpression(QStringLiteral("^connect_timeout="))).isEmpty())
        options << QStringLiteral("connect_timeout=%1").arg(kConnectTimeoutSeconds);
    m_db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!m_db.open()) {
        m_serverAway = IsServerAwayError(m_db.lastError());
        return OneLine(m_db.lastError().databaseText());
    }
    QSqlQuery session(m_db);
    if (m_mode == Mode::ReadOnly &&
        !session.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")))
        return LogErrorText(session.lastError());
    return std::nullopt;
}

std::optional<QString> LogConnection::OpenFile()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return QStringLiteral("the Qt SQLite driver is not installed (libqt6sql6-sqlite)");
    const QString path = m_place.path;
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

bool IsServerAwayError(const QSqlError &error)
{
    static const QStringList kAwayStates = {QStringLiteral("57P01"), QStringLiteral("57P02"),
                                            QStringLiteral("57P03"), QStringLiteral("08006"),
                                            QStringLiteral("08001"), QStringLiteral("08004")};
    return kAwayStates.contains(error.nativeErrorCode()) || IsServerAwayText(error.text());
}

bool IsServerAwayText(const QString &text)
{
    // libpq's own words for a server out of reach, and the SQL states of one going down.
    static const QStringList kAway = {
        QStringLiteral("could not connect"),
        QStringLiteral("Connection refused"),
        QStringLiteral("timeout expired"),
        QStringLiteral("could not translate host name"),
        QStringLiteral("No route to host"),
        QStringLiteral("Network is unreachable"),
        QStringLiteral("No such file or directory"),
        QStringLiteral("server closed the connection unexpectedly"),
        QStringLiteral("no connection to the server"),
        QStringLiteral("terminating connection"),
        QStringLiteral("the database system is"),
        QStringLiteral("could not receive data from server"),
        QStringLiteral("could not send data to server"),
        QStringLiteral("SSL SYSCALL error"),
        QStringLiteral("connection to server was lost"),
    };
    for (const QString &away : kAway) {
        if (text.contains(away, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString LogErrorText(const QSqlError &error)
{
    // PostgreSQL's SQL states for what a user can act on.
    const QString state = error.nativeErrorCode();
    if (state == QLatin1String("53100"))
        return QStringLiteral("the server's disk is full (%1)").arg(OneLine(error.text()));
    if (state == QLatin1String("42501"))
        return QStringLiteral("the log's role may not do this (%1)").arg(OneLine(error.text()));
    switch (PrimaryCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return QStringLiteral("another program holds it locked (%1)").arg(OneLine(error.text()));
    case kSqliteReadOnly:
        return QStringLiteral("it may not be written here (%1)").arg(OneLine(error.text()));
    case kSqliteIoError:
        return QStringLiteral("the disk refused the write (%1)").arg(OneLine(error.text()));
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return QStringLiteral("the database is damaged (%1)").arg(OneLine(error.text()));
    case kSqliteFull:
        return QStringLiteral("the disk is full (%1)").arg(OneLine(error.text()));
    case kSqliteCantOpen:
        return QStringLiteral("it cannot be opened (%1)").arg(OneLine(error.text()));
    default:
        return OneLine(error.text());
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
