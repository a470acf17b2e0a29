#include "link/ByteChannel.h"

bool ByteChannel::SendChars(std::string_view chars)
{
    for (const char c : chars) {
        if (!WriteByte(static_cast<std::uint8_t>(c))) {
            return false;
        }
    }
    return true;
}

bool ByteChannel::ReceiveChars(std::size_t count, std::string &chars)
{
    chars.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<std::uint8_t> byte = ReadByte();
        if (!byte) {
            return false;
        }
        chars.push_back(static_cast<char>(*byte));
    }
    return true;
}

bool ByteChannel::ReadAck()
{
    const std::optional<std::uint8_t> byte = ReadByte();
    return byte && *byte == kAckByte;
}
