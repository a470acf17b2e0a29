#pragma once

#include <QString>
#include <cstdint>
#include <memory>

struct PartDefinition;

// One device's parameters, derived from its part definition (device/catalogue). Fields keep the
// order of the original fixed-layout record so that anyone comparing against a record dump finds
// them in the same place; everything else about the part (its configuration fields, calibration
// values, the algorithm's details) is asked of the definition by name (DeviceRules.h).
struct DeviceRecord
{
    QString DeviceName; // as shown in the selectors, e.g. "16f84"; empty for the no-device row
    uint8_t NoConfigWord = 0; // nonzero: no configuration word (target and protect button disabled)
    QString ProgMaxText;      // highest program word address, 4 upper-case hex digits
    QString DataMaxText;      // highest data EEPROM address, 2 hex digits; "00" without data memory
    uint8_t HasSerial = 0;
    uint8_t HasParallel = 0; // also the preselected method when set
    uint8_t HasDataMemory = 0;
    uint8_t HasPartialProtect = 0; // "Upper 3/4" and "Upper 1/2" exist
    uint8_t HasWdt = 0;
    uint8_t HasPwrt = 0;
    uint8_t PwrtActiveHigh = 0; // generic layout only: the power-up timer bit enables when set
    uint8_t HasBrownout = 0;
    uint8_t HasMclre = 0;
    uint8_t HasLvp = 0;
    uint8_t HasDebug = 0;
    uint8_t HasWrt = 0;
    uint8_t HasCpd = 0;
    uint8_t HasMemoryParity = 0; // needs a parity-capable module and the parity transfer form
    uint8_t HasCalibration = 0;  // keeps an oscillator calibration value
    uint16_t ProtMask = 0;       // code-protection bits of the configuration word
    uint16_t ProtNoneWord = 0;   // configuration word bases per protection choice
    uint16_t ProtUp34Word = 0;
    uint16_t ProtUp12Word = 0;
    uint16_t ProtAllWord = 0;
    uint16_t IdAddress = 0;     // word address of the first ID location
    uint16_t ConfigAddress = 0; // word address of the configuration word in hex files
    uint8_t PowerOnMode = 0;    // 0: 16C5x power-on sequence; 1: serial-mode power-on sequence
    uint8_t DeviceFamily = 0;   // see DeviceFamily below; 0 only in the no-device row

    // The definition the record was made from; empty for the no-device record. Shared, so a
    // record stays a cheap value that tolm-cli's port threads may copy.
    std::shared_ptr<const PartDefinition> Part;

    bool operator==(const DeviceRecord &) const = default;
};

// Programming algorithm families.
namespace DeviceFamily {
constexpr uint8_t kNone = 0;
constexpr uint8_t k16C5x = 1;      // 12-bit core, Parallel method only
constexpr uint8_t kEprom14Bit = 2; // 14-bit-core EPROM parts
constexpr uint8_t kFlash14Bit = 3; // 14-bit-core EEPROM and flash parts
constexpr uint8_t k12C508 = 4;     // 12C508/12C509

// Whether the family has programming algorithms; any other value processes nothing.
constexpr bool HasAlgorithms(uint8_t family)
{
    return family >= k16C5x && family <= k12C508;
}
} // namespace DeviceFamily

// How a part is powered up in programming mode.
namespace PowerOnMode {
constexpr uint8_t k16C5x = 0;      // the 16C5x sequence (module command 08)
constexpr uint8_t kSerialMode = 1; // the serial-mode sequence (module command 09)
} // namespace PowerOnMode
