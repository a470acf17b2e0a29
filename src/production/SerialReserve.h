#pragma once

#include "production/SerialNumber.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// The serial numbers a bench took from the shared counter ahead of need, kept in a small file
// beside the local log so that the bench goes on numbering chips while the server is away.
// The counter moved past the whole block when it was taken, so no other bench can ever hand
// out these numbers; each one leaves the reserve under the same lock as the serial file, and
// the file is replaced atomically (mode 0600) before the number is handed out. The file names
// the database and the counter it came from: numbers of another database's counter are never
// used here.
class SerialReserve
{
public:
    SerialReserve(QString path, QString logIdentity, QString counterName);

    // What the reserve holds: the next number, the last and their step; nothing when it is
    // empty or does not exist yet. An error when the file cannot be used (another database's,
    // not a reserve, not a plain file).
    struct Held
    {
        std::uint64_t next = 0;
        std::uint64_t last = 0;
        std::uint64_t step = 1;
        int Count() const { return static_cast<int>((last - next) / step + 1); }
    };
    std::optional<Held> Peek(QString &error) const;

    // The numbers a refill brought: the first, how many and their step; or why there are
    // none.
    struct Block
    {
        std::optional<std::uint64_t> first;
        int count = 0;
        std::uint64_t step = 1;
        QString error;
        bool doesNotFit = false;
    };
    using Refill = std::function<Block()>;

    // Takes the next number, refilling an empty reserve first. None, with the reason, when
    // the reserve is empty and the refill brings nothing (the server is away), when the
    // number lies above `largest`, or when the file cannot be written.
    SerialTake Take(const Refill &refill, std::uint64_t largest);

private:
    QString m_path;
    QString m_logIdentity;
    QString m_counterName;
};
