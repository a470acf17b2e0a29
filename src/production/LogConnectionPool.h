#pragma once

#include "production/LogConnection.h"
#include "production/LogPlace.h"

#include <QString>
#include <optional>

// Connections to a PostgreSQL log kept open for the rest of the thread's life: logging in
// costs a round trip or two and the password check, several milliseconds, while a row costs a
// fraction of one. Each thread keeps its own (Qt's connections may not cross threads), so a
// port's serial number, its row and the next chip's reuse one login.
class PooledLogConnection
{
public:
    // The thread's open connection to the place, made when there is none. Nothing, with the
    // reason, when it cannot be made; ServerAway() then says whether the server is out of reach.
    static LogConnection *Get(const LogPlace &place, QString &failure, bool &away);

    // Forgets the thread's connection to the place (it broke off, or the server went away),
    // so the next Get makes a new one.
    static void Drop(const LogPlace &place);

    // Whether the thread's connection to the place was made before this call to Get, so that a
    // failure on it may be a connection the server has since closed.
    static bool WasReused(const LogPlace &place);
};

// Runs `work` on the thread's connection to a PostgreSQL log; when it fails on a connection
// made earlier that the server has since closed (a restart), once more on a new one. The
// failure, or nothing.
template <typename Work>
std::optional<QString> WithPooledConnection(const LogPlace &place, Work &&work, bool &away)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        QString failure;
        away = false;
        LogConnection *connection = PooledLogConnection::Get(place, failure, away);
        if (!connection)
            return failure;
        const bool reused = PooledLogConnection::WasReused(place);
        const std::optional<QString> result = work(*connection);
        if (!result)
            return std::nullopt;
        PooledLogConnection::Drop(place);
        away = IsServerAwayText(*result);
        if (!(reused && away))
            return result;
    }
    return QStringLiteral("the connection to the server broke off twice");
}
