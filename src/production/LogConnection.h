#pragma once

#include <QSqlDatabase>
#include <QSqlError>
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

    // Opens the file; the reason when it cannot (no SQLite driver, no such folder). A reader
    // also opens a log it may not write (another user's, on a read-only mount).
    std::optional<QString> Open();
    QSqlDatabase &Db() { return m_db; }

private:
    bool OpenWith(const QString &databaseName, const QString &extraOptions);
    void Close();

    QString m_name;
    QString m_path;
    Mode m_mode;
    QSqlDatabase m_db;
};

// Why the file at `path` is not one SQLite can work on (a link, a FIFO or another special
// file; or it is not empty and lacks SQLite's header), or nothing. Such a file is never
// opened as a database, so it is never written to, nor made through a dangling link.
std::optional<QString> ForeignFileReason(const QString &path);

// Why an open log cannot be trusted (SQLite's quick check fails or cannot run), or nothing.
// A log another program holds locked is said to be locked, not damaged.
std::optional<QString> DamageReason(QSqlDatabase &db);

// An SQLite error in words a user can act on: the disk is full, another program holds the
// file locked, it may not be written, it is damaged; SQLite's own text in brackets.
QString LogErrorText(const QSqlError &error);
