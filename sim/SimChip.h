#pragma once

#include "ChipDescription.h"

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <vector>

namespace tolm::sim {

// What a programming-mode address designates on a chip.
enum class LocationKind { Program, Id, DeviceId, Config, Calibration, Unimplemented };

struct Location
{
    LocationKind kind = LocationKind::Unimplemented;
    uint16_t index = 0; // program word index, ID number 0..3, configuration word 0 or 1
};

// The memories of one chip and how they react to programming. Two views:
//  - the stored contents (ProgramWord, SetDataByte, ...): exactly what the cells hold, with no
//    protection applied; for tests and for chip files;
//  - the programming interface (ReadWord, ProgramCycle, ...): what the module sees, with code
//    protection, EPROM pulse counts and unimplemented locations taken into account.
// Addresses on the programming interface are those of the chip's address counter: for 14-bit
// parts 0000..1FFF and 2000..3FFF, for 12-bit parts 000..FFE plus FFF for the configuration.
class SimChip
{
public:
    explicit SimChip(const ChipDescription &description);

    const ChipDescription &Description() const { return *m_description; }
    const AlgorithmRules &Behaviour() const { return m_description->Behaviour(); }

    // Back to a factory-blank chip: all erased, calibration words and band-gap bits as shipped,
    // no pulse faults. The silicon revision stays.
    void Reset();

    // Stored contents. Program addresses are taken modulo the program size, data addresses
    // modulo the data size; ID numbers 0..3. Values are masked to the cell width; configuration
    // bits that are no cells keep the value they always read as.
    uint16_t ProgramWord(uint16_t address) const;
    void SetProgramWord(uint16_t address, uint16_t word);
    uint8_t DataByte(uint16_t address) const;
    void SetDataByte(uint16_t address, uint8_t value);
    uint16_t ConfigWord() const { return m_config[0]; }
    void SetConfigWord(uint16_t word);
    uint16_t SecondConfigWord() const { return m_config[1]; } // 0 on parts with one
    void SetSecondConfigWord(uint16_t word);
    uint16_t IdWord(int number) const;
    void SetIdWord(int number, uint16_t word);
    // The factory calibration word in configuration space (12F683: 2008, 16F88X: 2009).
    uint16_t CalibrationSpaceWord() const { return m_calibration; }
    void SetCalibrationSpaceWord(uint16_t word);
    // Any location by its programming address (program word, ID, configuration or calibration
    // word); unimplemented addresses read 0 and ignore writes.
    uint16_t StoredWord(uint16_t address) const;
    void SetStoredWord(uint16_t address, uint16_t word);
    int ProgramWords() const { return m_description->programWords; }
    int DataBytes() const { return m_description->dataBytes; }

    // The silicon revision in the low bits of the device ID (masked to the part's field).
    uint16_t Revision() const { return m_revision; }
    void SetRevision(uint16_t revision);

    // Code protection as the configuration word sets it: program memory is protected when any
    // code-protection bit is clear; data memory by its own bit, or with program memory where
    // the part has no separate bit.
    bool CodeProtected() const;
    bool DataProtected() const;

    // Programming interface.
    Location Resolve(uint16_t address) const;
    uint16_t ReadWord(uint16_t address) const;             // protected program memory reads 0000
    uint16_t ReadData(uint16_t address) const;             // protected data memory reads 00
    bool HoldsWord(uint16_t address, uint16_t word) const; // stored contents, all bits compared
    bool HoldsData(uint16_t address, uint16_t value) const;
    // One programming pulse (EPROM: the location takes once its pulse count is reached and then
    // becomes location AND word) or one programming cycle (flash: the word replaces the
    // location, or on program-only parts is ANDed into it). Protected, read-only and
    // unimplemented locations do not change.
    void ProgramCycle(uint16_t address, uint16_t word);
    // One cycle for every program word or ID of the latch block holding address: latch i goes
    // to the block's word i (erased and written, or ANDed in on program-only parts).
    void ProgramBlock(uint16_t address, std::span<const uint16_t> latches);
    void ProgramDataCycle(uint16_t address, uint8_t value);
    // Flash parts only (EPROM parts ignore them). What a bulk erase takes follows the part's
    // algorithm and the address counter at the moment it begins.
    void BulkEraseProgram(uint16_t counter);
    void BulkEraseData();
    void EraseWholeChip(); // the code-protect disable sequence
    void ChipErase();      // code 0x1F: everything but the factory calibration, protection too

    // Faults on request, keyed by the location's own address (program word address, ID or
    // configuration address). A pulse count applies to EPROM parts; "never" to every part.
    void SetPulsesNeeded(uint16_t address, int pulses);
    void SetNeverProgram(uint16_t address);
    void SetDataNeverProgram(uint16_t address);
    int PulsesApplied(uint16_t address) const;

    // Work done so far, for timing and for tests.
    long TotalPulses() const { return m_totalPulses; }
    long TotalCycles() const { return m_totalCycles; }
    long long CycleTimeUs() const { return m_cycleTimeUs; } // all flash cycles and erases

private:
    uint16_t LocationAddress(Location location) const;
    uint16_t StoredAt(Location location) const;
    void StoreAt(Location location, uint16_t word);
    uint16_t ProgrammedValue(Location location, uint16_t old, uint16_t word) const;
    uint16_t ConfigForm(int index, uint16_t word) const;
    bool Writable(Location location) const;
    void ProgramLocation(Location location, uint16_t word);
    void CountCycle(int timeUs);
    void EraseProgram();
    void EraseData();
    void EraseConfigWords();
    void EraseIds();

    const ChipDescription *m_description;
    std::vector<uint16_t> m_program;
    std::vector<uint8_t> m_data;
    std::array<uint16_t, 4> m_ids{};
    std::array<uint16_t, 2> m_config{};
    uint16_t m_calibration = 0;
    uint16_t m_revision = 0;
    std::map<uint16_t, int> m_pulsesNeeded;
    std::map<uint16_t, int> m_pulsesApplied;
    std::set<uint16_t> m_neverProgram;
    std::set<uint16_t> m_dataNeverProgram;
    long m_totalPulses = 0;
    long m_totalCycles = 0;
    long long m_cycleTimeUs = 0;
};

} // namespace tolm::sim
