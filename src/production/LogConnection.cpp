#include "production/LogConnection.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

namespace {

// Writers wait this long for one another: sixteen ports ending at once each append a row.
constexpr int kBusyTimeoutMs = 15000;

QString UniqueConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tolm-production-%1").arg(++counter);
}

} // namespace

LogConnection::LogConnection(const QString &path, Mode mode)
    : m_name(UniqueConnectionName()), m_path(path), m_mode(mode)
{}

LogConnection::~LogConnection()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase(); // the registry refuses to remove a connection still in use
    QSqlDatabase::removeDatabase(m_name);
}

std::optional<QString> LogConnection::Open()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return QStringLiteral("the Qt SQLite driver is not installed (libqt6sql6-sqlite)");
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(m_path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (m_mode == Mode::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(options);
    if (!m_db.open())
        return m_db.lastError().text();
    return std::nullopt;
}

std::optional<QString> ForeignFileReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.size() == 0)
        return std::nullopt;
    if (!info.isFile())
        return QStringLiteral("it is not a regular file");
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
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return QStringLiteral("it is damaged or cannot be read (%1)").arg(query.lastError().text());
    if (!query.next())
        return QStringLiteral("SQLite's check gave no answer");
    const QString verdict = query.value(0).toString();
    if (verdict != QLatin1String("ok"))
        return QStringLiteral("the database is damaged (%1)").arg(verdict);
    return std::nullopt;
}
