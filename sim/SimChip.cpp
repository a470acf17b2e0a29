#include "SimChip.h"

namespace tolm::sim {

namespace {

constexpr uint16_t kConfigSpace = 0x2000;
constexpr uint16_t kDeviceIdAddress = 0x2006;

} // namespace

SimChip::SimChip(const ChipDescription &description) : m_description(&description)
{
    Reset();
}

uint16_t SimChip::ProgramWord(uint16_t address) const
{
    return m_program[address % m_program.size()];
}

void SimChip::SetProgramWord(uint16_t address, uint16_t word)
{
    m_program[address % m_program.size()] = word & m_description->WordMask();
}

uint8_t SimChip::DataByte(uint16_t address) const
{
    return m_data.empty() ? 0 : m_data[address % m_data.size()];
}

void SimChip::SetDataByte(uint16_t address, uint8_t value)
{
    if (!m_data.empty()) {
        m_data[address % m_data.size()] = value;
    }
}

// Bits that are no cells read the same whatever was written: 1 on most parts, 0 where the
// programming guide says "read as 0" (the erased word carries which).
uint16_t SimChip::ConfigForm(int index, uint16_t word) const
{
    const ChipDescription &d = *m_description;
    if (index == 1) {
        if (!d.secondConfig) {
            return 0;
        }
        const ConfigSpaceWord &c = *d.secondConfig;
        return static_cast<uint16_t>((word & c.implemented) | (c.erased & ~c.implemented));
    }
    const uint16_t cells = d.configImplemented & d.WordMask();
    return static_cast<uint16_t>((word & cells) | (d.configErased & ~cells));
}

void SimChip::SetConfigWord(uint16_t word)
{
    m_config[0] = ConfigForm(0, word);
}

void SimChip::SetSecondConfigWord(uint16_t word)
{
    m_config[1] = ConfigForm(1, word);
}

uint16_t SimChip::IdWord(int number) const
{
    return m_ids[static_cast<size_t>(number) % m_ids.size()];
}

void SimChip::SetIdWord(int number, uint16_t word)
{
    m_ids[static_cast<size_t>(number) % m_ids.size()] = word & m_description->WordMask();
}

void SimChip::SetCalibrationSpaceWord(uint16_t word)
{
    if (m_description->configCalibration) {
        m_calibration = word & m_description->WordMask();
    }
}

uint16_t SimChip::StoredWord(uint16_t address) const
{
    return StoredAt(Resolve(address));
}

void SimChip::SetStoredWord(uint16_t address, uint16_t word)
{
    const Location location = Resolve(address);
    if (location.kind == LocationKind::Config) {
        m_config[location.index] = ConfigForm(location.index, word);
    } else {
        StoreAt(location, word & m_description->WordMask());
    }
}

void SimChip::SetRevision(uint16_t revision)
{
    m_revision = revision & m_description->revisionMask;
}

bool SimChip::CodeProtected() const
{
    const uint16_t mask = m_description->codeProtectMask;
    return (m_config[0] & mask) != mask;
}

bool SimChip::DataProtected() const
{
    const uint16_t mask = m_description->dataProtectMask;
    if (mask == 0) {
        return CodeProtected();
    }
    return (m_config[0] & mask) != mask;
}

Location SimChip::Resolve(uint16_t address) const
{
    const ChipDescription &d = *m_description;
    if (address == d.configAddress) {
        return {LocationKind::Config, 0};
    }
    if (address >= d.idAddress && address < d.idAddress + 4) {
        return {LocationKind::Id, static_cast<uint16_t>(address - d.idAddress)};
    }
    if (d.core == ChipCore::Core14) {
        if (address < kConfigSpace) {
            // Program memory repeats above its size: the upper counter bits are not decoded.
            return {LocationKind::Program, static_cast<uint16_t>(address % d.programWords)};
        }
        if (address == kDeviceIdAddress && d.deviceId) {
            return {LocationKind::DeviceId, 0};
        }
        if (d.secondConfig && address == d.secondConfig->address) {
            return {LocationKind::Config, 1};
        }
        if (d.configCalibration && address == d.configCalibration->address) {
            return {LocationKind::Calibration, 0};
        }
        return {};
    }
    if (address < d.programWords) {
        return {LocationKind::Program, address};
    }
    return {};
}

uint16_t SimChip::LocationAddress(Location location) const
{
    const ChipDescription &d = *m_description;
    switch (location.kind) {
    case LocationKind::Program:
        return location.index;
    case LocationKind::Id:
        return static_cast<uint16_t>(d.idAddress + location.index);
    case LocationKind::Config:
        return location.index == 0 ? d.configAddress : d.secondConfig->address;
    case LocationKind::DeviceId:
        return kDeviceIdAddress;
    case LocationKind::Calibration:
        return d.configCalibration->address;
    case LocationKind::Unimplemented:
        break;
    }
    return 0xFFFF;
}

uint16_t SimChip::StoredAt(Location location) const
{
    switch (location.kind) {
    case LocationKind::Program:
        return m_program[location.index];
    case LocationKind::Id:
        return m_ids[location.index];
    case LocationKind::Config:
        return m_config[location.index];
    case LocationKind::DeviceId:
        return m_description->deviceId.value_or(0) | m_revision;
    case LocationKind::Calibration:
        return m_calibration;
    case LocationKind::Unimplemented:
        break;
    }
    return 0; // unimplemented locations read as zeros
}

void SimChip::StoreAt(Location location, uint16_t word)
{
    switch (location.kind) {
    case LocationKind::Program:
        m_program[location.index] = word;
        break;
    case LocationKind::Id:
        m_ids[location.index] = word;
        break;
    case LocationKind::Config:
        m_config[location.index] = word;
        break;
    case LocationKind::Calibration:
        m_calibration = word;
        break;
    case LocationKind::DeviceId:
    case LocationKind::Unimplemented:
        break;
    }
}

uint16_t SimChip::ReadWord(uint16_t address) const
{
    const Location location = Resolve(address);
    if (location.kind == LocationKind::Program && CodeProtected()) {
        // The 12F629 family keeps its OSCCAL word readable, so it can be saved before an erase.
        const bool calibration = Behaviour().calibrationReadableWhenProtected &&
                                 location.index == m_description->programWords - 1;
        return calibration ? StoredAt(location) : 0;
    }
    return StoredAt(location);
}

uint16_t SimChip::ReadData(uint16_t address) const
{
    if (m_data.empty() || DataProtected()) {
        return 0;
    }
    return m_data[address % m_data.size()];
}

bool SimChip::HoldsWord(uint16_t address, uint16_t word) const
{
    const Location location = Resolve(address);
    return location.kind != LocationKind::Unimplemented && StoredAt(location) == word;
}

bool SimChip::HoldsData(uint16_t address, uint16_t value) const
{
    return !m_data.empty() && m_data[address % m_data.size()] == value;
}

bool SimChip::Writable(Location location) const
{
    switch (location.kind) {
    case LocationKind::Program:
        return !CodeProtected();
    case LocationKind::Id:
    case LocationKind::Config:
    case LocationKind::Calibration:
        return true;
    case LocationKind::DeviceId:
    case LocationKind::Unimplemented:
        break;
    }
    return false;
}

uint16_t SimChip::ProgrammedValue(Location location, uint16_t old, uint16_t word) const
{
    const ChipDescription &d = *m_description;
    const AlgorithmRules &rules = Behaviour();
    const uint16_t mask = d.WordMask();
    if (rules.eprom) {
        return old & word & mask; // EPROM cells only lose bits
    }
    if (location.kind != LocationKind::Config) {
        return rules.programOnly ? (old & word & mask) : (word & mask);
    }
    uint16_t value = ConfigForm(location.index, word);
    if (rules.programOnly) {
        return old & value; // only a bulk erase sets configuration bits again
    }
    const uint16_t protection = d.codeProtectMask | d.dataProtectMask;
    if (location.index == 0 && rules.protectionNeedsChipErase) {
        value = static_cast<uint16_t>((value & ~protection) | (value & old & protection));
    } else if (location.index == 0 && CodeProtected()) {
        // Protection is lifted only by erasing the chip: cleared protection bits stay cleared.
        const uint16_t cp = d.codeProtectMask;
        value = static_cast<uint16_t>(((value & ~cp) | (value & old & cp)) & mask);
    }
    return value;
}

void SimChip::ProgramLocation(Location location, uint16_t word)
{
    if (!Writable(location)) {
        return;
    }
    const uint16_t key = LocationAddress(location);
    if (m_neverProgram.contains(key)) {
        return;
    }
    if (Behaviour().eprom) {
        const int applied = ++m_pulsesApplied[key];
        const auto needed = m_pulsesNeeded.find(key);
        if (needed != m_pulsesNeeded.end() && applied < needed->second) {
            return;
        }
    }
    StoreAt(location, ProgrammedValue(location, StoredAt(location), word));
}

void SimChip::CountCycle(int timeUs)
{
    ++m_totalCycles;
    m_cycleTimeUs += timeUs > 0 ? timeUs : m_description->programCycleUs;
}

void SimChip::ProgramCycle(uint16_t address, uint16_t word)
{
    if (Behaviour().eprom) {
        ++m_totalPulses;
    } else {
        CountCycle(m_description->programCycleUs);
    }
    ProgramLocation(Resolve(address), word);
}

void SimChip::ProgramBlock(uint16_t address, std::span<const uint16_t> latches)
{
    CountCycle(m_description->programCycleUs);
    const auto size = static_cast<uint16_t>(latches.size());
    const auto first = static_cast<uint16_t>(address - address % size);
    for (uint16_t i = 0; i < size; ++i) {
        // The configuration word is written only when the counter is on it, never by a row.
        const Location location = Resolve(static_cast<uint16_t>(first + i));
        if (location.kind == LocationKind::Program || location.kind == LocationKind::Id) {
            ProgramLocation(location, latches[i]);
        }
    }
}

void SimChip::ProgramDataCycle(uint16_t address, uint8_t value)
{
    CountCycle(m_description->dataCycleUs);
    if (m_data.empty() || DataProtected()) {
        return;
    }
    const auto index = static_cast<uint16_t>(address % m_data.size());
    if (m_dataNeverProgram.contains(index)) {
        return;
    }
    m_data[index] = value;
}

void SimChip::SetPulsesNeeded(uint16_t address, int pulses)
{
    m_pulsesNeeded[LocationAddress(Resolve(address))] = pulses;
}

void SimChip::SetNeverProgram(uint16_t address)
{
    m_neverProgram.insert(LocationAddress(Resolve(address)));
}

void SimChip::SetDataNeverProgram(uint16_t address)
{
    if (!m_data.empty()) {
        m_dataNeverProgram.insert(static_cast<uint16_t>(address % m_data.size()));
    }
}

int SimChip::PulsesApplied(uint16_t address) const
{
    const auto found = m_pulsesApplied.find(LocationAddress(Resolve(address)));
    return found == m_pulsesApplied.end() ? 0 : found->second;
}

} // namespace tolm::sim
