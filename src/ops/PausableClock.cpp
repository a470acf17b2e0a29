#include "ops/PausableClock.h"

#include <chrono>

PausableClock::PausableClock(Now now) : m_now(std::move(now))
{
    if (!m_now)
        m_now = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
}

void PausableClock::Start()
{
    m_started = true;
    m_start = m_now();
    m_heldMs = 0;
    m_holds = 0;
}

void PausableClock::Hold()
{
    if (m_holds++ == 0)
        m_heldSince = m_now();
}

void PausableClock::Release()
{
    if (m_holds == 0)
        return;
    if (--m_holds == 0)
        m_heldMs += m_now() - m_heldSince;
}

qint64 PausableClock::ElapsedMs() const
{
    if (!m_started)
        return 0;
    const qint64 now = m_now();
    const qint64 held = m_heldMs + (m_holds > 0 ? now - m_heldSince : 0);
    return now - m_start - held;
}
