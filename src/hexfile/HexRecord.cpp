#include "HexRecord.h"

#include "device/HexText.h"

namespace {

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The value of the two-digit field at 1-based character position `first`; the caller has
// made sure the line holds it and that it is made of hex digits.
uint32_t ByteAt(QStringView record, int first)
{
    return ParseHexText(record.mid(first - 1, 2)).value_or(0);
}

// The record without the blanks around it; `offset` is where it starts on the line.
QStringView WithoutBlanks(QStringView line, qsizetype &offset)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && IsBlank(line[begin]))
        ++begin;
    while (end > begin && IsBlank(line[end - 1]))
        --end;
    offset = begin;
    return line.sliced(begin, end - begin);
}

// The first fault of the record's shape (length and characters), if any.
std::optional<HexLineFault> ShapeFault(QStringView record, qsizetype offset)
{
    HexLineFault fault;
    if (record.isEmpty())
        return fault; // EmptyLine
    if (record.size() > kLongestHexRecord) {
        fault.kind = HexLineFault::Kind::TooLong;
        fault.Length = static_cast<int>(record.size());
        return fault;
    }
    // The start mark is not checked; every character after it belongs to a hex field.
    for (qsizetype i = 1; i < record.size(); ++i) {
        if (!ParseHexText(record.sliced(i, 1))) {
            fault.kind = HexLineFault::Kind::NotHexDigit;
            fault.Column = static_cast<int>(offset + i + 1);
            fault.Character = record[i].unicode();
            return fault;
        }
    }
    const int byteCount = record.size() >= 3 ? static_cast<int>(ByteAt(record, 2)) : 0;
    if (record.size() != 11 + 2 * byteCount) {
        fault.kind = HexLineFault::Kind::WrongLength;
        fault.Length = static_cast<int>(record.size());
        fault.ExpectedLength = 11 + 2 * byteCount;
        fault.ByteCount = byteCount;
        return fault;
    }
    return std::nullopt;
}

} // namespace

HexLineResult ParseHexLine(QStringView line)
{
    HexLineResult result;
    qsizetype offset = 0;
    const QStringView text = WithoutBlanks(line, offset);
    if (const auto fault = ShapeFault(text, offset)) {
        result.Fault = *fault;
        return result;
    }
    const uint32_t byteCount = ByteAt(text, 2);
    const uint32_t byteAddress = (ByteAt(text, 4) << 8) | ByteAt(text, 6);
    const uint32_t type = ByteAt(text, 8);

    HexRecord record;
    record.WordAddress = static_cast<uint16_t>(byteAddress >> 1);
    record.RecordType = static_cast<uint16_t>(type);
    uint32_t sum = byteCount + (byteAddress >> 8) + (byteAddress & 0xFF) + type;

    // Words come in byte pairs, low byte first. With an odd count the last pair's high byte
    // is the checksum field, exactly as a word-oriented reader sees such a line.
    for (int k = 0; 2 * k < static_cast<int>(byteCount); ++k) {
        const int lowAt = 10 + 4 * k;
        sum += ByteAt(text, lowAt) + ByteAt(text, lowAt + 2);
        record.DataText += text.mid(lowAt + 1, 2);
        record.DataText += text.mid(lowAt - 1, 2);
    }
    const uint32_t checksum = ByteAt(text, static_cast<int>(text.size()) - 1);
    if (((sum + checksum) & 0xFF) != 0) {
        HexLineFault &fault = result.Fault;
        fault.kind = HexLineFault::Kind::Checksum;
        fault.Sum = static_cast<uint8_t>(sum + checksum);
        if (byteCount % 2 == 0) {
            fault.Written = static_cast<uint8_t>(checksum);
            fault.Expected = static_cast<uint8_t>(0x100 - (sum & 0xFF));
        }
        return result;
    }
    record.WordCount = static_cast<uint16_t>(byteCount / 2);
    // An odd count's last byte had no partner inside the data field: it is dropped.
    record.DataText.truncate(4 * record.WordCount);
    // Every other way into the image writes upper-case digits; a lower-case file must not
    // read back as different words.
    record.DataText = record.DataText.toUpper();
    result.Record = std::move(record);
    return result;
}

std::optional<HexRecord> ParseHexRecord(QStringView line)
{
    return ParseHexLine(line).Record;
}
