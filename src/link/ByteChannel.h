#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Every byte the module receives or sends travels as its own single-byte transfer, and each
// transfer gives up after this long: the module answers within a few byte times, so a quarter
// of a second without a byte means it is not there (or not listening).
constexpr int kByteTimeoutMs = 250;

// The module ends every reply with this byte (an ASCII space).
constexpr std::uint8_t kAckByte = 0x20;

// One byte at a time to and from the programmer module. The serial port implements it; tests
// put a scripted peer or the in-process simulator behind it.
class ByteChannel
{
public:
    virtual ~ByteChannel() = default;

    // Sends one byte; false when it could not leave within the channel's time limit.
    virtual bool WriteByte(std::uint8_t byte) = 0;

    // Takes the next byte; nothing when none arrived within the channel's time limit. A byte
    // that arrives later stays queued and is the next one read.
    virtual std::optional<std::uint8_t> ReadByte() = 0;

    // Writes the characters one byte per transfer, in order, and stops at the first write that
    // fails so that the remaining characters are not sent.
    bool SendChars(std::string_view chars);

    // Reads count bytes one per transfer into chars (cleared first); stops at the first read
    // that gives up, leaving the bytes that did arrive. True when all arrived.
    bool ReceiveChars(std::size_t count, std::string &chars);

    // Reads one byte; true only when it arrived and is the acknowledge byte.
    bool ReadAck();
};
