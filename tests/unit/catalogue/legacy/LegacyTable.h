#pragma once

// The built-in device table and the code that read it, as the program had them before its parts
// became data, kept here unchanged as the reference that the part files and the catalogue-driven
// functions must reproduce for the 30 parts it held.
#include "device/ConfigControls.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace legacy {

// How the option controls map onto the configuration word. Most parts build it from the
// protection words of their record and the generic bit positions; the newer parts each have a
// layout of their own, named after the part that brought it.
enum class ConfigLayout {
    None,    // the no-device row: the controls and the word stay as they are
    Generic, // protection words of the record, WDT 0004, PWRT 0008, MCLRE 0010, BODEN 0040
    F87x,    // 16f877, 16f876
    Ce674,   // 12ce674
    F628,    // 16f628
    C715,    // 16c715
    F628a,   // 16f628a
};

// The items of the oscillator list; the item index is the value the configuration word holds.
enum class OscillatorSet {
    None,         // the no-device row: the list keeps its items
    LpXtHsRc,     // LP, XT, HS, RC
    InternalRc12, // 12c508, 12c509: LP, XT, Internal RC, External RC
    Ce674,        // eight items with the internal and external RC oscillators
    F628,         // eight items with EC, the internal and the ER oscillator
    F628a,        // eight items with ExtClk, the internal and the RC oscillator
};

// What All Code Protect programs.
enum class ProtectAllRule {
    FromControls,        // the All protection word with the option controls' bits
    ClearProtectionBits, // the chip's word with the protection bits of its layout cleared
    Unchanged,           // the chip's word as read: no protection pattern is known
};

// One row of the built-in table, as the program held it.
struct LegacyRecord
{
    QString DeviceName; // as shown in the selectors, e.g. "16f84"; empty for the no-device row
    uint16_t DeviceType = 30; // equals the row of the built-in table; nothing depends on it
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

    ConfigLayout Layout = ConfigLayout::None;
    OscillatorSet Oscillators = OscillatorSet::None;
    ProtectAllRule ProtectAll = ProtectAllRule::FromControls;
    // The configuration word programs only by the Serial method: its write switches the method
    // over for its duration (16f628).
    uint8_t ConfigSerialOnly = 0;
    // Unprotect erases with the bulk erase commands of program and data memory instead of the
    // code-protect disable sequence, and not at all by the Parallel method (16f628a).
    uint8_t EraseByBulkCommands = 0;

    bool operator==(const LegacyRecord &) const = default;
};

constexpr int kDeviceTableRows = 31;
const std::array<LegacyRecord, kDeviceTableRows> &DeviceTable();
std::optional<LegacyRecord> FindDevice(const QString &name);
const QStringList &SelectorDeviceNames();

QStringList OscillatorList(const LegacyRecord &device);
ConfigControls ControlsAfterDeviceSelection(const LegacyRecord &device,
                                            const ConfigControls &previous);
ConfigControls ConfigToControls(uint16_t word, const LegacyRecord &device,
                                const ConfigControls &current);
uint16_t ControlsToConfig(const ConfigControls &controls, const LegacyRecord &device,
                          uint16_t currentWord);
uint16_t ConfigBitsUsed(const LegacyRecord &device);
uint16_t ProtectionBits(const LegacyRecord &device);
uint16_t AllCodeProtectWord(const LegacyRecord &device, uint16_t chipWord,
                            const ConfigControls &controls);
// The four parts whose device ID the program knew, and the part an ID word names.
bool HasDeviceId(const LegacyRecord &device);
std::optional<QString> PartOfDeviceId(uint16_t word);

} // namespace legacy
