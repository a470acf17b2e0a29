#pragma once

#include "link/ByteChannel.h"

#include <functional>
#include <string>

// Receives one finished exchange as a line of text.
using TranscriptSink = std::function<void(const std::string &line)>;

// Passes every byte through to another channel and, while a sink is set, writes down each byte
// both ways so that a whole exchange can be shown as one line:
//   "> 0B < 46 33 46 46 20"
// ">" starts bytes sent to the module, "<" bytes received from it. A write that failed is shown
// as "07(write failed)", a read that gave up as "(timeout)". This is how a user sees exactly
// what went over the wire when a chip will not program.
class TranscriptChannel : public ByteChannel
{
public:
    explicit TranscriptChannel(ByteChannel &inner);

    void SetSink(TranscriptSink sink);

    bool WriteByte(std::uint8_t byte) override;
    std::optional<std::uint8_t> ReadByte() override;

    // Hands the exchange written down so far to the sink and starts a new one.
    void EndExchange();

private:
    enum class Direction { None, Out, In };
    void Note(Direction direction, const std::string &token);

    ByteChannel &m_inner;
    TranscriptSink m_sink;
    std::string m_line;
    Direction m_direction = Direction::None;
};
