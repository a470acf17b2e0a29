#include "link/TranscriptChannel.h"

#include "link/ModuleEncoding.h"

#include <utility>

namespace {

std::string HexByte(std::uint8_t byte)
{
    return {HexDigit(byte >> 4), HexDigit(byte)};
}

} // namespace

TranscriptChannel::TranscriptChannel(ByteChannel &inner) : m_inner(inner) {}

void TranscriptChannel::SetSink(TranscriptSink sink)
{
    m_sink = std::move(sink);
    m_line.clear();
    m_direction = Direction::None;
}

bool TranscriptChannel::WriteByte(std::uint8_t byte)
{
    const bool written = m_inner.WriteByte(byte);
    if (m_sink) {
        Note(Direction::Out, written ? HexByte(byte) : HexByte(byte) + "(write failed)");
    }
    return written;
}

std::optional<std::uint8_t> TranscriptChannel::ReadByte()
{
    const std::optional<std::uint8_t> byte = m_inner.ReadByte();
    if (m_sink) {
        Note(Direction::In, byte ? HexByte(*byte) : std::string("(timeout)"));
    }
    return byte;
}

void TranscriptChannel::EndExchange()
{
    if (m_sink && !m_line.empty()) {
        m_sink(m_line);
    }
    m_line.clear();
    m_direction = Direction::None;
}

void TranscriptChannel::Note(Direction direction, const std::string &token)
{
    if (direction != m_direction) {
        if (!m_line.empty()) {
            m_line += ' ';
        }
        m_line += direction == Direction::Out ? '>' : '<';
        m_direction = direction;
    }
    m_line += ' ';
    m_line += token;
}
