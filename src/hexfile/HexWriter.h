#pragma once

#include "hexfile/HexTargets.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

struct DeviceRecord;
class MemoryImage;

// The message the window shows when an address field does not convert.
inline constexpr char kAddressErrorText[] = "Min or Max Address Error!";

// The four address fields as the user typed them (ProgStartEdit, ProgEndEdit,
// DataStartEdit, DataEndEdit).
struct HexAddressTexts
{
    QString ProgStart;
    QString ProgEnd;
    QString DataStart;
    QString DataEnd;
};

struct HexAddressRanges
{
    uint32_t ProgStart = 0;
    uint32_t ProgEnd = 0;
    uint32_t DataStart = 0;
    uint32_t DataEnd = 0;
};

// Converts all four fields, whatever targets are ticked; nothing when any of them is not a
// hexadecimal number (a blank position included). The window checks this before it opens
// the save dialog and shows kAddressErrorText on failure.
std::optional<HexAddressRanges> ParseAddressRanges(const HexAddressTexts &texts);

// One record line from start mark to checksum, without the line end, or the conversion
// error of the first image text that is not hexadecimal.
struct BuiltRecord
{
    QString Line;
    QString Error;    // e.g. "'$GF' is not a valid integer value"; empty on success
    QString Location; // with an error: "program word 0013", "data byte 3F" or "ID code"

    bool Ok() const { return Error.isEmpty(); }
};

// Program words a .. a+n-1 (n at most 8): each cell's characters 3-4, then 1-2, as stored.
BuiltRecord BuildProgramRecord(const MemoryImage &image, int firstAddress, int wordCount);
// Data bytes a .. a+n-1 (n at most 8) at byte address 4200 + 2a, each byte followed by 00.
BuiltRecord BuildDataRecord(const MemoryImage &image, int firstAddress, int byteCount);
// The configuration word at twice the device's ConfigAddress, low byte first.
QString BuildConfigRecord(uint16_t configWord, const DeviceRecord &device);
// One word at twice the word address, low byte first (the second configuration word).
QString BuildWordRecord(uint16_t word, uint32_t wordAddress);
// The first four ID digits, one per ID location ("0", digit, "00"), at twice
// FileIdAddress(device); a text of fewer than four digits is completed with F.
BuiltRecord BuildIDCodeRecord(const QString &idCodeText, const DeviceRecord &device);

enum class HexSaveStatus {
    Ok,
    AddressError,    // an address field does not convert: kAddressErrorText
    ConversionError, // an image cell or ID digit is not hexadecimal
    FileError,       // the file could not be written
};

struct HexSaveResult
{
    HexSaveStatus Status = HexSaveStatus::Ok;
    // What the window shows; empty on success.
    QString Message;
    // For a conversion error, the text that failed: "program word 0013", "data byte 3F",
    // "ID code".
    QString Location;

    bool Ok() const { return Status == HexSaveStatus::Ok; }
};

// Builds the whole file as "Save To File" writes it: program records over the program
// range, data records over the data range, the configuration record (image.ConfigWord:
// the caller builds it from the controls first), the ID record, the end record; only the
// ticked targets; every line ends in CR LF. Ranges stop at the end of the image; a start
// above the end gives no record. Every cell and digit is checked before anything is built,
// so `text` is only set on success.
HexSaveResult BuildHexFileText(const MemoryImage &image, const DeviceRecord &device,
                               const HexTargets &targets, const HexAddressTexts &addresses,
                               QByteArray &text);

// Builds the file text and writes it in one go: nothing is touched when an address or a
// cell does not convert, and a failed write leaves any earlier file as it was.
HexSaveResult SaveHexFile(const QString &path, const MemoryImage &image, const DeviceRecord &device,
                          const HexTargets &targets, const HexAddressTexts &addresses);
