#include "LinePacer.h"

#include <algorithm>

namespace tolm::sim {

void LinePacer::NoteWaiting(TimePoint seen)
{
    if (!m_waitingSince) {
        m_waitingSince = seen;
    }
}

LinePacer::TimePoint LinePacer::Take(TimePoint now)
{
    // A byte that was already waiting when the line fell free started at that very moment.
    const TimePoint start = std::max(m_waitingSince.value_or(now), m_freeAt);
    m_freeAt = start + m_byteTime;
    m_waitingSince.reset();
    return start;
}

} // namespace tolm::sim
