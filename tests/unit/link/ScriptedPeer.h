#pragma once

#include "link/ByteChannel.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// A stand-in for the module at the other end of a ByteChannel: it answers from a script and
// keeps every byte the host sent. A read past the end of the script, or at a Silence() mark,
// gives up as the serial link does when no byte comes in time.
class ScriptedPeer : public ByteChannel
{
public:
    // Queues bytes the module sends, given as hex pairs: "46 33 46 46 20".
    ScriptedPeer &Send(const std::string &hexBytes)
    {
        for (std::size_t i = 0; i + 1 < hexBytes.size(); ++i) {
            if (hexBytes[i] != ' ') {
                m_incoming.push_back(
                    static_cast<std::uint8_t>(std::stoul(hexBytes.substr(i, 2), nullptr, 16)));
                ++i;
            }
        }
        return *this;
    }

    // One read that gives up: what follows is late.
    ScriptedPeer &Silence()
    {
        m_incoming.push_back(std::nullopt);
        return *this;
    }

    // Writes after the first count fail (the byte never leaves).
    void FailWritesAfter(std::size_t count) { m_writesAllowed = count; }

    bool WriteByte(std::uint8_t byte) override
    {
        if (m_writesAllowed && m_sent.size() >= *m_writesAllowed) {
            return false;
        }
        m_sent.push_back(byte);
        return true;
    }

    std::optional<std::uint8_t> ReadByte() override
    {
        ++m_reads;
        if (m_incoming.empty()) {
            return std::nullopt;
        }
        const std::optional<std::uint8_t> byte = m_incoming.front();
        m_incoming.pop_front();
        return byte;
    }

    // What the host sent so far, as hex pairs; clears the record.
    std::string TakeSent()
    {
        std::string text;
        for (const std::uint8_t byte : m_sent) {
            static const char digits[] = "0123456789ABCDEF";
            text += text.empty() ? "" : " ";
            text += digits[byte >> 4];
            text += digits[byte & 0xF];
        }
        m_sent.clear();
        return text;
    }

    std::size_t Reads() const { return m_reads; }
    std::size_t Unread() const { return m_incoming.size(); }

private:
    std::deque<std::optional<std::uint8_t>> m_incoming;
    std::vector<std::uint8_t> m_sent;
    std::optional<std::size_t> m_writesAllowed;
    std::size_t m_reads = 0;
};
