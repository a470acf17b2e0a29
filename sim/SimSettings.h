#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolm::sim {

// Misbehaviour of the module on request, to exercise the host's failure handling. Exchanges
// are numbered from 1: each command byte the module receives starts the next exchange.
struct FaultSettings
{
    // From this exchange on, replies end without their acknowledge byte.
    std::optional<int> noAckFromExchange;
    // At this exchange, the acknowledge byte is replaced by wrongAckByte.
    std::optional<int> wrongAckAtExchange;
    uint8_t wrongAckByte = 0x21;
    // The reply of exchange lateReplyAtExchange (of every exchange when unset) leaves
    // lateReplyMs milliseconds late.
    int lateReplyMs = 0;
    std::optional<int> lateReplyAtExchange;
    // At this exchange, the first reply digit is replaced by badDigit (not a hex digit).
    std::optional<int> badDigitAtExchange;
    uint8_t badDigit = 'G';
    // The line carries this many bytes (both directions, counted in the order they travel)
    // and then nothing more: later host bytes are lost and the module sends nothing.
    std::optional<long> deadAfterBytes;
};

// Timing of the wire and the chip. Off by default so that tests run at full speed.
struct TimingSettings
{
    bool realtime = false;
    int baud = 9600; // every byte takes 10 bit times

    // One byte on the line: start bit, 8 data bits, stop bit.
    std::chrono::microseconds ByteTime() const
    {
        constexpr long long kBitsPerByte = 10;
        return std::chrono::microseconds(kBitsPerByte * 1'000'000LL / std::max(1, baud));
    }
};

// A host mistake the module noticed: tests assert that a correct host causes none.
struct ProtocolFault
{
    int exchange = 0;    // exchange number, from 1
    uint8_t command = 0; // the command byte of that exchange
    std::string text;
};

// Collects protocol faults, stamped with the exchange in progress.
class FaultLog
{
public:
    void BeginExchange(int exchange, uint8_t command)
    {
        m_exchange = exchange;
        m_command = command;
    }
    void Record(std::string text) { m_faults.push_back({m_exchange, m_command, std::move(text)}); }
    const std::vector<ProtocolFault> &Faults() const { return m_faults; }
    void Clear() { m_faults.clear(); }

private:
    std::vector<ProtocolFault> m_faults;
    int m_exchange = 0;
    uint8_t m_command = 0;
};

} // namespace tolm::sim
