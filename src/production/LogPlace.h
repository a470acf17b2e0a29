#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Where the production log lives: an SQLite file on this bench, or a PostgreSQL database
// that several benches share, named by a URI:
//   postgresql://[user@]host[:port]/dbname[?sslmode=...&connect_timeout=...]
// A password never comes from the place itself: libpq takes it from PGPASSWORD, ~/.pgpass
// or PGPASSFILE, so it is never on a command line, in a settings file or on the screen.
struct LogPlace
{
    enum class Kind { File, Postgres };
    Kind kind = Kind::File;
    QString path; // File

    // Postgres: the URI's parts; an empty one leaves it to libpq (PGHOST, PGPORT, PGUSER,
    // PGDATABASE and their defaults).
    QString host;
    int port = -1;
    QString user;
    QString database;
    // libpq keywords from the URI's query, "key=value" each (sslmode, connect_timeout, ...).
    QStringList options;

    bool IsPostgres() const { return kind == Kind::Postgres; }
    // The place as the user may see it: the path, or the URI without any password.
    QString Shown() const;
};

// Whether the text names a PostgreSQL database rather than a file.
bool IsPostgresUri(const QString &text);

// Reads a file path or a PostgreSQL URI. Nothing, with the reason, for a URI that cannot be
// used: another scheme's parts, a password in it, a query keyword that is not libpq's or a
// value it cannot carry.
std::optional<LogPlace> ParseLogPlace(const QString &text, QString &error);

// Which text names the log: the command line's, else TOLM_LOG's, else the settings file's,
// else the default file. Empty texts count as not given.
QString ChooseLogPlaceText(const QString &option, const QString &environment,
                           const QString &settings, const QString &defaultPath);

// A URI or path for messages, any password in it replaced by "****" (also one that the
// parser would refuse, so that a refusal never repeats it).
QString MaskedLogPlaceText(const QString &text);
