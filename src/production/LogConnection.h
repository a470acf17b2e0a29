#pragma once

#include "production/LogPlace.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <optional>

// The two kinds of database a log lives in; their SQL differs in a few words only.
enum class LogDialect { Sqlite, Postgres };

// One connection to the production log, owned by the thread that made it: Qt's database
// connections may not cross threads, so every port's thread opens its own and the database
// serialises their writes. Removed from Qt's registry when it goes.
class LogConnection
{
public:
    enum class Mode { ReadWrite, ReadOnly };

    LogConnection(const QString &path, Mode mode);
    LogConnection(const LogPlace &place, Mode mode);
    ~LogConnection();
    LogConnection(const LogConnection &) = delete;
    LogConnection &operator=(const LogConnection &) = delete;

    // Opens the file or connects to the server; the reason when it cannot (no driver, no
    // such folder, the server refused the login). A reader also opens a file log it may not
    // write (another user's, on a read-only mount); a reader's PostgreSQL session is
    // read-only.
    std::optional<QString> Open();
    QSqlDatabase &Db() { return m_db; }
    LogDialect Dialect() const { return m_dialect; }
    // After Open failed: the server could not be reached at all (down, restarting, no
    // network), which a bench rides out; any other failure (a refused login, no such
    // database) needs a person.
    bool ServerAway() const { return m_serverAway; }

private:
    bool OpenWith(const QString &databaseName, const QString &extraOptions);
    std::optional<QString> OpenFile();
    std::optional<QString> OpenPostgres();
    void Close();

    QString m_name;
    LogPlace m_place;
    Mode m_mode;
    LogDialect m_dialect;
    QSqlDatabase m_db;
    bool m_serverAway = false;
};

// Whether a PostgreSQL error says the server is out of reach rather than refusing: the
// connection could not be made or broke off, the server is shutting down or starting up.
bool IsServerAwayError(const QSqlError &error);
// The same judged on an error's text, as the log's functions pass it on.
bool IsServerAwayText(const QString &text);

// Why the file at `path` is not one SQLite can work on (a link, a FIFO or another special
// file; or it is not empty and lacks SQLite's header), or nothing. Such a file is never
// opened as a database, so it is never written to, nor made through a dangling link.
std::optional<QString> ForeignFileReason(const QString &path);

// Why an open log cannot be trusted (SQLite's quick check fails or cannot run), or nothing.
// A log another program holds locked is said to be locked, not damaged.
std::optional<QString> DamageReason(QSqlDatabase &db);

// A database error in words a user can act on: the disk is full, another program holds the
// file locked, it may not be written, it is damaged; the database's own text in brackets.
QString LogErrorText(const QSqlError &error);
