#include "production/LogConnectionPool.h"

#include <map>
#include <memory>

namespace {

struct Pooled
{
    std::unique_ptr<LogConnection> connection;
    bool reused = false;
};

// This thread's connections, by the place as shown (which names server, database and user).
std::map<QString, Pooled> &ThreadPool()
{
    thread_local std::map<QString, Pooled> pool;
    return pool;
}

} // namespace

LogConnection *PooledLogConnection::Get(const LogPlace &place, QString &failure, bool &away)
{
    Pooled &pooled = ThreadPool()[place.Shown()];
    if (pooled.connection && pooled.connection->Db().isOpen()) {
        pooled.reused = true;
        return pooled.connection.get();
    }
    pooled.connection = std::make_unique<LogConnection>(place, LogConnection::Mode::ReadWrite);
    pooled.reused = false;
    if (const auto opened = pooled.connection->Open()) {
        failure = *opened;
        away = pooled.connection->ServerAway();
        pooled.connection.reset();
        return nullptr;
    }
    return pooled.connection.get();
}

void PooledLogConnection::Drop(const LogPlace &place)
{
    ThreadPool().erase(place.Shown());
}

bool PooledLogConnection::WasReused(const LogPlace &place)
{
    const auto found = ThreadPool().find(place.Shown());
    return found != ThreadPool().end() && found->second.reused;
}
