#pragma once

#include <QByteArray>
#include <cstdint>
#include <initializer_list>

// Intel HEX lines written independently of the program's writer, with correct checksums, for
// tests that need a file of a particular shape (records outside a device, odd record types).

inline QByteArray HexBytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

// One record line, LF-ended: `bytes` as they stand in the data field.
inline QByteArray HexLine(std::uint32_t byteAddress, int type, const QByteArray &bytes)
{
    QByteArray record;
    record.append(static_cast<char>(bytes.size()));
    record.append(static_cast<char>(byteAddress >> 8));
    record.append(static_cast<char>(byteAddress & 0xFF));
    record.append(static_cast<char>(type));
    record.append(bytes);
    int sum = 0;
    for (char c : record)
        sum += static_cast<unsigned char>(c);
    record.append(static_cast<char>(-sum & 0xFF));
    return ':' + record.toHex().toUpper() + '\n';
}

// A data record of words at a word address, each low byte first.
inline QByteArray HexWords(std::uint32_t wordAddress, std::initializer_list<std::uint16_t> words)
{
    QByteArray bytes;
    for (std::uint16_t w : words) {
        bytes.append(static_cast<char>(w & 0xFF));
        bytes.append(static_cast<char>(w >> 8));
    }
    return HexLine(2 * wordAddress, 0, bytes);
}

inline const QByteArray kHexEndLine = ":00000001FF\n";
