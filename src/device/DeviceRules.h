#pragma once

#include <QString>
#include <cstdint>
#include <optional>

struct DeviceRecord;
class MemoryImage;

// Facts about a device that several layers need, each decided here once.

// A word read from a chip has at most 14 bits: the serial data format carries 14 and the widest
// core has 14. A 12-bit part's word comes back in the same form, so values read and read back
// are kept to these bits on every family, the 12-bit ones included.
constexpr std::uint16_t kChipWordBits = 0x3FFF;

// The EEPROM and flash parts erase in bulk; an EPROM part is erased only by ultraviolet light.
bool HasBulkErase(const DeviceRecord &device);

// The part's configuration word programs only by the Serial method: its write switches the
// method over for its duration (16f628, 16F627).
bool ConfigSerialOnly(const DeviceRecord &device);

// The part's Begin Programming only clears bits (16f628a, 12F629, 12F683, 16F88X ...): its chip
// is erased by the bulk erase commands of program and data memory, not by the code-protect
// disable sequence, and not at all by the Parallel method.
bool ErasesByBulkCommands(const DeviceRecord &device);

// The part programs its program memory in aligned blocks of eight words (16F87XA): every block
// is loaded whole before one Begin Programming erases and writes it. 1 on every other part.
int BlockWords(const DeviceRecord &device);

// A code- or data-protected chip of this part can only be erased with Chip Erase (PIC command
// 1F), which the module cannot send: such a chip is neither erased nor written (16F87XA).
bool ProtectionNeedsChipErase(const DeviceRecord &device);

// Whether the chip's configuration word has code or data protection on, by the part's fields.
bool ChipProtected(const DeviceRecord &device, std::uint16_t configWord);

// The factory's band-gap bits in the configuration word (12F629 family: 13:12); 0 on other
// parts. A bulk erase takes them, so they are read first and written back; a file's bits never
// replace the chip's.
std::uint16_t BandGapMask(const DeviceRecord &device);

// The factory's oscillator calibration word at the last program word is a RETLW that the bulk
// erase takes (12F629 family): it is read before the erase and written back after it.
bool CalibrationSavedAcrossErase(const DeviceRecord &device);

// The second configuration word (16F88X: 2008), if the part has one, and its implemented bits.
std::optional<std::uint16_t> SecondConfigAddress(const DeviceRecord &device);
std::uint16_t SecondConfigImplemented(const DeviceRecord &device);
std::uint16_t SecondConfigBlank(const DeviceRecord &device);

// What an erased chip's configuration word reads (3FFF or 0FFF on most parts; unimplemented bits
// may read as 0 and band-gap bits are the factory's).
std::uint16_t ConfigBlankWord(const DeviceRecord &device);

// The bits of the configuration word that a read-back or a verify compares: on the parts driven
// by the bulk-erase and 8-word-block drivers, the implemented ones without the band-gap bits
// (the others read as the chip has them whatever was written); every bit elsewhere.
std::uint16_t ConfigCompareMask(const DeviceRecord &device);

// Not yet written and verified on a real chip through the module: marked, and warned about
// once before the first write.
bool ConfirmedOnHardware(const DeviceRecord &device);

// The part's programming guide asks for Vpp before Vdd for this configuration word,
// which the module's fixed power-up order does not give: the user is warned before writing it.
// A part confirmed on hardware whose programming guide always asks for it (16f628, 16f628a) has
// shown that the module's order works for it.
bool NeedsVppBeforeVdd(const DeviceRecord &device, std::uint16_t configWord);

// The 16C5x and the 12C508/509 have a 12-bit core; every other part a 14-bit one.
bool HasTwelveBitCore(const DeviceRecord &device);

// The bits of a program word; an erased (blank) word has all of them set: 0FFF on the 12-bit
// parts, 3FFF on the others. The text is what a fresh program image holds.
std::uint16_t WordMask(const DeviceRecord &device);
std::uint16_t BlankWord(const DeviceRecord &device);
QString BlankWordText(const DeviceRecord &device);

// The configuration word is as wide as the core: 12 bits or 14 bits. A bit beyond it does
// not exist in the chip; asking the module to program one makes the read-back fail on
// flash parts and, on EPROM parts, pulses bits the word cannot hold.
int ConfigWidthBits(const DeviceRecord &device);
std::uint16_t ConfigWordMask(const DeviceRecord &device);

// Highest program and data addresses, from the catalogue's texts.
std::uint16_t ProgMaxAddress(const DeviceRecord &device);
std::uint16_t DataMaxAddress(const DeviceRecord &device);

// RETLW k, the instruction that returns with the byte k: how a byte sits in program memory as
// part of a table (0x34kk on a 14-bit core, 0x08kk on a 12-bit one).
std::uint16_t RetlwWord(const DeviceRecord &device, std::uint8_t k);

// The oscillator calibration word sits at the top of program memory of the parts that keep
// one (HasCalibration); none on the others.
std::optional<std::uint16_t> CalibrationAddress(const DeviceRecord &device);

// The instruction that carries calibration byte k; nothing on a device without a calibration
// word. A 12-bit part starts at its last program word, where MOVLW k leaves the byte in W for
// the program; a 14-bit part CALLs its last word, where RETLW k returns with it.
std::optional<std::uint16_t> CalibrationInstruction(const DeviceRecord &device, std::uint8_t k);

// Build From Memory takes the calibration byte from the image: the low byte of the last
// program word, where the calibration instruction sits. `cellText` is that word as stored, for
// the message when it holds no number.
struct ImageCalibration
{
    QString cellText;
    std::optional<std::uint8_t> byte;
};
ImageCalibration CalibrationInImage(const MemoryImage &image, const DeviceRecord &device);

// The image's checksum: the 16-bit sum of every program word over the device's whole program
// memory (blank words included, each masked to the core's width; the OSCCAL word a bulk erase
// takes left out) plus each configuration word masked with its checksum mask (the bits the
// option controls use where the part file gives none). ID code and data memory are not part of
// it. A cell that holds no number counts as 0.
std::uint16_t ImageChecksum(const MemoryImage &image, const DeviceRecord &device);
// The same with another configuration word in place of the image's, e.g. the one the option
// controls build, which is what Write programs.
std::uint16_t ImageChecksum(const MemoryImage &image, const DeviceRecord &device,
                            std::uint16_t configWord);
