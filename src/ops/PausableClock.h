#pragma once

#include <QtGlobal>
#include <functional>

// A clock for the time a run takes, that leaves out the time it was held: the user's pause,
// and a box waiting for the user's answer. Holds may nest (a box shown while paused).
class PausableClock
{
public:
    // The milliseconds of a monotonic clock; the default reads a steady clock.
    using Now = std::function<qint64()>;
    explicit PausableClock(Now now = {});

    void Start();
    void Hold();
    void Release();
    bool Started() const { return m_started; }
    bool Held() const { return m_holds > 0; }
    // Time since Start less the time held.
    qint64 ElapsedMs() const;

private:
    Now m_now;
    bool m_started = false;
    qint64 m_start = 0;
    qint64 m_heldMs = 0;
    qint64 m_heldSince = 0;
    int m_holds = 0;
};
