#include "link/LowLatency.h"

#include <cerrno>
#include <cstring>
#include <linux/serial.h>
#include <sys/ioctl.h>

namespace {

QString SystemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

LowLatencyResult RequestLowLatency(int fd)
{
    using State = LowLatencyResult::State;
    serial_struct info{};
    if (::ioctl(fd, TIOCGSERIAL, &info) != 0)
        return {State::Unsupported, SystemReason()};
    if ((info.flags & ASYNC_LOW_LATENCY) != 0)
        return {State::AlreadyOn, {}};
    info.flags |= ASYNC_LOW_LATENCY;
    if (::ioctl(fd, TIOCSSERIAL, &info) != 0)
        return {State::Refused, SystemReason()};
    // Some drivers accept the call and drop flags they do not keep: only a read-back tells.
    serial_struct check{};
    if (::ioctl(fd, TIOCGSERIAL, &check) != 0)
        return {State::Refused, SystemReason()};
    if ((check.flags & ASYNC_LOW_LATENCY) == 0)
        return {State::Refused, QStringLiteral("the driver did not keep the flag")};
    return {State::TurnedOn, {}};
}

QString LowLatencyNote(const LowLatencyResult &result)
{
    using State = LowLatencyResult::State;
    switch (result.state) {
    case State::NotAsked:
        return QStringLiteral("low latency: not asked (the port is not open)");
    case State::TurnedOn:
        return QStringLiteral("low latency: on");
    case State::AlreadyOn:
        return QStringLiteral("low latency: on (it was already)");
    case State::Unsupported:
        return QStringLiteral("low latency: not available on this port (%1)").arg(result.reason);
    case State::Refused:
        return QStringLiteral("low latency: refused by the driver (%1)").arg(result.reason);
    }
    return {};
}
