#pragma once

#include <QString>
#include <cstdint>
#include <optional>

struct DeviceRecord;
class MemoryImage;

// Where a chip's serial number goes, as --serial-at names it:
//   id            the ID code, four hexadecimal digits (one per ID location);
//   data:AA[:N]   N bytes of data EEPROM from AA (default 2), least significant byte first;
//   prog:AAAA[:N] N program words from AAAA (default 2), each a RETLW of one byte, least
//                 significant byte first, so the firmware reads byte k with a CALL to AAAA+k.
enum class SerialPlace { IdCode, DataMemory, ProgramMemory };

struct SerialLocation
{
    SerialPlace place = SerialPlace::IdCode;
    std::uint16_t address = 0;
    int count = 4; // bytes, words, or the ID code's four digits

    bool operator==(const SerialLocation &) const = default;
};

// Bytes a data or program location may take: a 64-bit number.
constexpr int kMaxSerialBytes = 8;

// Parses WHERE (any case); nothing, with `error` saying what is expected, otherwise.
std::optional<SerialLocation> ParseSerialLocation(const QString &text, QString &error);

// Why the location does not fit the device (memory it lacks, addresses beyond its memory, the
// factory's calibration word), or nothing when it fits.
std::optional<QString> SerialLocationRefusal(const SerialLocation &location,
                                             const DeviceRecord &device);

// The largest number the location holds: FFFF for the ID code, 2^(8N) - 1 for N bytes.
std::uint64_t SerialCapacity(const SerialLocation &location);

// Puts `number` into the image at the location: bytes in data cells, RETLW words in program
// cells (0x34kk on 14-bit cores, 0x08kk on 12-bit ones), or the ID code's four digits.
void PlaceSerial(MemoryImage &image, const SerialLocation &location, const DeviceRecord &device,
                 std::uint64_t number);

// Whether the image holds something other than the blank value anywhere in the location: the
// loaded file had data there, which the serial number will replace.
bool ImageHasDataAt(const MemoryImage &image, const SerialLocation &location,
                    const DeviceRecord &device);

// The location for messages: "the ID code", "data 10-11", "prog 0300-0301".
QString SerialLocationText(const SerialLocation &location);
