#include "AdapterReceiveTimer.h"

#include <algorithm>

namespace tolm::sim {

void AdapterReceiveTimer::Arrive(std::uint8_t byte, TimePoint arrived)
{
    if (m_buffer.empty()) {
        m_releaseAt = arrived + m_latency;
    }
    m_buffer.push_back(static_cast<char>(byte));
    if (m_buffer.size() >= kPacketBytes) {
        // A full packet goes at once, with the bytes it holds.
        m_releaseAt = std::min(m_releaseAt, arrived);
    }
}

std::optional<AdapterReceiveTimer::TimePoint> AdapterReceiveTimer::ReleaseAt() const
{
    if (m_buffer.empty()) {
        return std::nullopt;
    }
    return m_releaseAt;
}

std::string AdapterReceiveTimer::TakeDue(TimePoint now)
{
    if (m_buffer.empty() || now < m_releaseAt) {
        return {};
    }
    std::string packet;
    packet.swap(m_buffer);
    return packet;
}

} // namespace tolm::sim
