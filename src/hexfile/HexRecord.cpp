#include "HexRecord.h"

#include "device/HexText.h"

namespace {

// The value of the hex field at 1-based character position `first`, `length` characters.
std::optional<uint32_t> FieldValue(QStringView line, int first, int length)
{
    if (first - 1 + length > line.size())
        return std::nullopt;
    return ParseHexText(line.mid(first - 1, length));
}

} // namespace

std::optional<HexRecord> ParseHexRecord(QStringView line)
{
    const auto byteCount = FieldValue(line, 2, 2);
    if (!byteCount || line.size() != 11 + 2 * static_cast<qsizetype>(*byteCount))
        return std::nullopt;
    const auto byteAddress = FieldValue(line, 4, 4);
    const auto type = FieldValue(line, 8, 2);
    if (!byteAddress || !type)
        return std::nullopt;

    HexRecord record;
    record.WordAddress = static_cast<uint16_t>(*byteAddress >> 1);
    record.RecordType = static_cast<uint16_t>(*type);
    uint32_t sum = *byteCount + (*byteAddress >> 8) + (*byteAddress & 0xFF) + *type;

    // Words come in byte pairs, low byte first. With an odd count the last pair's high byte
    // is the checksum field, exactly as a word-oriented reader sees such a line.
    for (int k = 0; 2 * k < static_cast<int>(*byteCount); ++k) {
        const int lowAt = 10 + 4 * k;
        const auto low = FieldValue(line, lowAt, 2);
        const auto high = FieldValue(line, lowAt + 2, 2);
        if (!low || !high)
            return std::nullopt;
        sum += *low + *high;
        record.DataText += line.mid(lowAt + 1, 2);
        record.DataText += line.mid(lowAt - 1, 2);
    }

    const auto checksum = ParseHexText(line.right(2));
    if (!checksum || ((sum + *checksum) & 0xFF) != 0)
        return std::nullopt;
    record.WordCount = static_cast<uint16_t>(*byteCount / 2);
    // An odd count's last byte had no partner inside the data field: it is dropped.
    record.DataText.truncate(4 * record.WordCount);
    return record;
}
