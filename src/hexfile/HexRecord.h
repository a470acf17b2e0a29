#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Intel HEX, 8-bit merged form: one record a line, ":LLAAAATTdd...ddCC". Every program,
// configuration and ID word takes two bytes, low byte first, at twice its word address.
namespace HexRecordType {
constexpr uint16_t kData = 0x00;
constexpr uint16_t kEndOfFile = 0x01;
// Written by older tools (INHX86): a segment whose value times 16 is added to the byte
// addresses of the data records that follow.
constexpr uint16_t kExtendedSegmentAddress = 0x02;
// Written first by today's assemblers (INHX32): the upper 16 bits of the byte addresses of
// the data records that follow.
constexpr uint16_t kExtendedLinearAddress = 0x04;
} // namespace HexRecordType

inline constexpr char kHexEndOfFileRecord[] = ":00000001FF";

// One parsed line.
struct HexRecord
{
    uint16_t WordAddress = 0; // byte address shifted right by one
    uint16_t WordCount = 0;   // LL div 2
    // Four characters a word: the high byte's two digits, then the low byte's, copied from the
    // line as they stand (a word written as ff3f reads "3fff").
    QString DataText;
    uint16_t RecordType = 0;

    QString Word(int index) const { return DataText.mid(4 * index, 4); }
};

// Parses one line without its line end. Gives nothing when the length is not 11 + 2 x LL,
// the checksum does not add up, or a field is not hexadecimal (an empty line or blanks
// included). The start mark is not checked. With an odd LL the last byte pairs up with the
// checksum field itself: such a line passes only with checksum 00 and loses its last byte.
std::optional<HexRecord> ParseHexRecord(QStringView line);
