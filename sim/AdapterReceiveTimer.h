#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tolm::sim {

// The receive side of a USB serial adapter between the module and the host. The adapter does
// not pass each byte on as it arrives: it collects them in a buffer and sends the buffer as one
// USB packet when its latency timer, started by the first byte into an empty buffer, runs out,
// or at once when the buffer is full. Every reply therefore reaches the host up to one timer
// period late (16 ms by default on FTDI chips, 1 ms when the driver asks for low latency).
class AdapterReceiveTimer
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    // A full-speed FTDI packet is 64 bytes, two of them modem status.
    static constexpr std::size_t kPacketBytes = 62;

    explicit AdapterReceiveTimer(Clock::duration latency) : m_latency(latency) {}

    // A byte from the module arrived (its stop bit ended) at `arrived`.
    void Arrive(std::uint8_t byte, TimePoint arrived);

    // When the buffer leaves for the host, or nothing while it is empty.
    std::optional<TimePoint> ReleaseAt() const;

    // The buffer's bytes if it is due to leave by `now` (then empty), else nothing.
    std::string TakeDue(TimePoint now);

private:
    Clock::duration m_latency;
    std::string m_buffer;
    TimePoint m_releaseAt{};
};

} // namespace tolm::sim
