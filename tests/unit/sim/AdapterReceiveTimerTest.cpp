// A USB serial adapter's receive side: bytes wait in its buffer until the latency timer that
// the first of them started runs out, or until a packet's worth has arrived.
#include "AdapterReceiveTimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using tolm::sim::AdapterReceiveTimer;

constexpr auto kByte = 1041us; // one byte at 9600 baud

struct Packet
{
    std::chrono::microseconds at; // when the host gets it
    std::string bytes;
};

// Feeds bytes that arrive at the given times (from a common start), polling the adapter
// every 10 us like a server that never sleeps too long, and collects what leaves.
std::vector<Packet> Feed(std::chrono::milliseconds latency,
                         const std::vector<std::chrono::microseconds> &arrivals)
{
    AdapterReceiveTimer adapter(latency);
    const AdapterReceiveTimer::TimePoint start{};
    std::vector<Packet> packets;
    std::size_t next = 0;
    for (auto t = 0us; t < 200ms; t += 10us) {
        while (next < arrivals.size() && arrivals[next] <= t) {
            adapter.Arrive(static_cast<std::uint8_t>('a' + next), start + arrivals[next]);
            ++next;
        }
        std::string due = adapter.TakeDue(start + t);
        if (!due.empty())
            packets.push_back({t, due});
    }
    return packets;
}

TEST(AdapterReceiveTimer, HoldsBytesUntilTheTimerRunsOutOrAPacketFills)
{
    struct Case
    {
        const char *name;
        std::chrono::milliseconds latency;
        std::vector<std::chrono::microseconds> arrivals;
        std::vector<Packet> expected;
    };
    std::vector<std::chrono::microseconds> burst;
    std::string burstBytes;
    for (int i = 0; i < 63; ++i) {
        burst.push_back(i * 10us);
        burstBytes.push_back(static_cast<char>('a' + i));
    }
    const Case cases[] = {
        {"one byte waits the whole timer", 16ms, {0us}, {{16000us, "a"}}},
        {"a five-byte reply leaves in one packet, 16 ms after its first byte",
         16ms,
         {kByte, 2 * kByte, 3 * kByte, 4 * kByte, 5 * kByte},
         {{kByte + 16ms, "abcde"}}},
        {"with 1 ms each byte of a 9600 baud reply leaves on its own",
         1ms,
         {kByte, 2 * kByte, 3 * kByte},
         {{kByte + 1ms, "a"}, {2 * kByte + 1ms, "b"}, {3 * kByte + 1ms, "c"}}},
        {"the timer starts again with the first byte after a packet",
         16ms,
         {0us, 20ms},
         {{16ms, "a"}, {36ms, "b"}}},
        {"62 bytes fill a packet, which leaves at once",
         16ms,
         burst,
         {{610us, burstBytes.substr(0, 62)}, {620us + 16ms, burstBytes.substr(62)}}},
    };
    for (const Case &c : cases) {
        const auto packets = Feed(c.latency, c.arrivals);
        ASSERT_EQ(packets.size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < packets.size(); ++i) {
            // The poll every 10 us rounds a release up to the next multiple of 10 us.
            EXPECT_GE(packets[i].at, c.expected[i].at) << c.name << ", packet " << i;
            EXPECT_LT(packets[i].at, c.expected[i].at + 10us) << c.name << ", packet " << i;
            EXPECT_EQ(packets[i].bytes, c.expected[i].bytes) << c.name << ", packet " << i;
        }
    }
}

} // namespace
