#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One line of a tolm-modsim transcript written with --transcript-chip-time:
//   "0F 41 30 ... -> 20; chip 400 us"  (host bytes, module bytes, the chip's own time)
struct TranscriptExchange
{
    std::vector<std::uint8_t> hostBytes;
    std::vector<std::uint8_t> moduleBytes;
    std::chrono::microseconds chipTime{0};
};

// Nothing when the line is not a transcript line.
std::optional<TranscriptExchange> ParseTranscriptLine(std::string_view line);

// The shortest time a run of exchanges can take on the line: every byte at the line's speed, back
// to back, plus what the chip needs to program, plus the pauses the host's chip algorithms must
// make (1 ms before reading a word, 20 ms after an erase). Nothing else counts as necessary.
struct IdealTime
{
    int exchanges = 0;
    long lineBytes = 0; // both directions
    std::chrono::microseconds chipTime{0};
    std::chrono::microseconds hostPauses{0};

    std::chrono::microseconds LineTime(int baud) const;
    std::chrono::microseconds Total(int baud) const
    {
        return LineTime(baud) + chipTime + hostPauses;
    }
};

// Adds up a whole transcript, one exchange a line; error names the first line that is not one.
std::optional<IdealTime> IdealTimeOfTranscript(const std::vector<std::string> &lines,
                                               std::string &error);

// The pause the host makes around one exchange, given the exchanges before it (oldest first).
std::chrono::microseconds HostPauseAround(const std::vector<TranscriptExchange> &before,
                                          const TranscriptExchange &exchange);
