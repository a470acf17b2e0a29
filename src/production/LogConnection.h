#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

// One connection to the production log, owned by the thread that made it: Qt's database
// connections may not cross threads, so every port's thread opens its own and SQLite
// serialises their writes. Removed from Qt's registry when it goes.
class LogConnection
{
public:
    enum class Mode { ReadWrite, ReadOnly };

    LogConnection(const QString &path, Mode mode);
    ~LogConnection();
    LogConnection(const LogConnection &) = delete;
    LogConnection &operator=(const LogConnection &) = delete;

    // Opens the file; the reason when it cannot (no SQLite driver, no such folder).
    std::optional<QString> Open();
    QSqlDatabase &Db() { return m_db; }

private:
    QString m_name;
    QString m_path;
    Mode m_mode;
    QSqlDatabase m_db;
};

// Why the file at `path` is not one SQLite can work on (it exists, is not empty and lacks
// SQLite's header), or nothing. Such a file is never opened as a database, so it is never
// written to.
std::optional<QString> ForeignFileReason(const QString &path);

// Why an open log cannot be trusted (SQLite's quick check fails or cannot run), or nothing.
std::optional<QString> DamageReason(QSqlDatabase &db);
