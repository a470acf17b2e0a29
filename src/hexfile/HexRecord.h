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
// Where an x86 program starts; carries no memory.
constexpr uint16_t kStartSegmentAddress = 0x03;
// Written first by today's assemblers (INHX32): the upper 16 bits of the byte addresses of
// the data records that follow.
constexpr uint16_t kExtendedLinearAddress = 0x04;
// Where a 32-bit program starts; carries no memory.
constexpr uint16_t kStartLinearAddress = 0x05;
// The first type that no dialect of the format defines.
constexpr uint16_t kFirstUndefined = 0x06;
} // namespace HexRecordType

inline constexpr char kHexEndOfFileRecord[] = ":00000001FF";
// 11 characters of frame around at most 255 data bytes.
inline constexpr int kLongestHexRecord = 11 + 2 * 255;

// One parsed line.
struct HexRecord
{
    uint16_t WordAddress = 0; // byte address shifted right by one
    uint16_t WordCount = 0;   // LL div 2
    // Four characters a word: the high byte's two digits, then the low byte's, in upper case
    // (a word written as ff3f reads "3FFF"), the form every other way into the image uses.
    QString DataText;
    uint16_t RecordType = 0;

    QString Word(int index) const { return DataText.mid(4 * index, 4); }
};

// Why a line is not a record, with the facts a user needs to find and mend it.
struct HexLineFault
{
    enum class Kind {
        EmptyLine,
        TooLong,     // longer than any record can be
        NotHexDigit, // Column and Character say where and what
        WrongLength, // Length does not fit the byte count: ExpectedLength would
        Checksum,    // Sum is the 8-bit sum the line gives, 00 when it adds up
    };
    Kind kind = Kind::EmptyLine;
    int Column = 0;         // 1-based, counted on the line as the file has it
    char16_t Character = 0; // NotHexDigit
    int Length = 0;         // WrongLength: characters of the record, blanks around it aside
    int ExpectedLength = 0; // WrongLength: 11 + 2 x LL
    int ByteCount = 0;      // WrongLength: LL
    uint8_t Sum = 0;        // Checksum
    // Checksum: the checksum field as written and the value that would make the line add
    // up; only for an even byte count (with an odd one the field also pairs up as a data
    // byte, and only 00 can add up).
    std::optional<uint8_t> Written;
    std::optional<uint8_t> Expected;
};

// What ParseHexLine makes of a line: a record, or why there is none.
struct HexLineResult
{
    std::optional<HexRecord> Record;
    HexLineFault Fault; // meaningful only without a record
};

// Parses one line without its line end. Spaces and tabs before and after the record carry no
// meaning and are passed over. The start mark is not checked. The line is no record when it
// is empty, longer than any record, holds a character that is not a hex digit, its length is
// not 11 + 2 x LL, or its checksum does not add up. With an odd LL the last byte pairs up
// with the checksum field itself: such a line passes only with checksum 00 and loses its
// last byte.
HexLineResult ParseHexLine(QStringView line);

// The record of a line, or nothing when it is not one (ParseHexLine tells why).
std::optional<HexRecord> ParseHexRecord(QStringView line);
