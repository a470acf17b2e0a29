#include "SimChip.h"

namespace tolm::sim {

namespace {

constexpr uint16_t kConfigSpace = 0x2000;
constexpr uint16_t kDeviceIdAddress = 0x2006;
constexpr uint8_t kErasedByte = 0xFF;

} // namespace

SimChip::SimChip(const ChipDescription &description) : m_description(&description)
{
    Reset();
}

void SimChip::Reset()
{
    EraseProgram();
    EraseData();
    EraseConfigAndIds();
    if (m_description->calibrationWord) {
        m_program.back() = *m_description->calibrationWord;
    }
    m_pulsesNeeded.clear();
    m_pulsesApplied.clear();
    m_neverProgram.clear();
    m_dataNeverProgram.clear();
    m_totalPulses = 0;
    m_totalCycles = 0;
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

void SimChip::SetConfigWord(uint16_t word)
{
    m_config = word & m_description->WordMask();
}

uint16_t SimChip::IdWord(int number) const
{
    return m_ids[static_cast<size_t>(number) % m_ids.size()];
}

void SimChip::SetIdWord(int number, uint16_t word)
{
    m_ids[static_cast<size_t>(number) % m_ids.size()] = word & m_description->WordMask();
}

bool SimChip::CodeProtected() const
{
    const uint16_t mask = m_description->codeProtectMask;
    return (m_config & mask) != mask;
}

bool SimChip::DataProtected() const
{
    const uint16_t mask = m_description->dataProtectMask;
    if (mask == 0) {
        return CodeProtected();
    }
    return (m_config & mask) != mask;
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
        return {};
    }
    if (address < d.programWords) {
        return {LocationKind::Program, address};
    }
    return {};
}

uint16_t SimChip::LocationAddress(Location location) const
{
    switch (location.kind) {
    case LocationKind::Program:
        return location.index;
    case LocationKind::Id:
        return static_cast<uint16_t>(m_description->idAddress + location.index);
    case LocationKind::Config:
        return m_description->configAddress;
    case LocationKind::DeviceId:
        return kDeviceIdAddress;
    case LocationKind::Unimplemented:
        break;
    }
    return 0xFFFF;
}

uint16_t SimChip::StoredWord(Location location) const
{
    switch (location.kind) {
    case LocationKind::Program:
        return m_program[location.index];
    case LocationKind::Id:
        return m_ids[location.index];
    case LocationKind::Config:
        return m_config;
    case LocationKind::DeviceId:
        return m_description->deviceId.value_or(0);
    case LocationKind::Unimplemented:
        break;
    }
    return 0; // unimplemented locations read as zeros
}

void SimChip::StoreWord(Location location, uint16_t word)
{
    switch (location.kind) {
    case LocationKind::Program:
        m_program[location.index] = word;
        break;
    case LocationKind::Id:
        m_ids[location.index] = word;
        break;
    case LocationKind::Config:
        m_config = word;
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
        return 0;
    }
    return StoredWord(location);
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
    return location.kind != LocationKind::Unimplemented && StoredWord(location) == word;
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
        return true;
    case LocationKind::DeviceId:
    case LocationKind::Unimplemented:
        break;
    }
    return false;
}

uint16_t SimChip::ProgrammedValue(Location location, uint16_t old, uint16_t word) const
{
    const uint16_t mask = m_description->WordMask();
    if (m_description->memory == ChipMemory::Eprom) {
        return old & word & mask; // EPROM cells only lose bits
    }
    if (location.kind == LocationKind::Config && CodeProtected()) {
        // Protection is lifted only by erasing the chip: cleared protection bits stay cleared.
        const uint16_t cp = m_description->codeProtectMask;
        return ((word & ~cp) | (word & old & cp)) & mask;
    }
    return word & mask;
}

void SimChip::ProgramCycle(uint16_t address, uint16_t word)
{
    const bool eprom = m_description->memory == ChipMemory::Eprom;
    ++(eprom ? m_totalPulses : m_totalCycles);
    const Location location = Resolve(address);
    if (!Writable(location)) {
        return;
    }
    const uint16_t key = LocationAddress(location);
    if (m_neverProgram.contains(key)) {
        return;
    }
    if (eprom) {
        const int applied = ++m_pulsesApplied[key];
        const auto needed = m_pulsesNeeded.find(key);
        if (needed != m_pulsesNeeded.end() && applied < needed->second) {
            return;
        }
    }
    StoreWord(location, ProgrammedValue(location, StoredWord(location), word));
}

void SimChip::ProgramDataCycle(uint16_t address, uint8_t value)
{
    ++m_totalCycles;
    if (m_data.empty() || DataProtected()) {
        return;
    }
    const auto index = static_cast<uint16_t>(address % m_data.size());
    if (m_dataNeverProgram.contains(index)) {
        return;
    }
    m_data[index] = value;
}

void SimChip::BulkEraseProgram(bool withConfiguration)
{
    if (m_description->memory != ChipMemory::Flash) {
        return;
    }
    ++m_totalCycles;
    EraseProgram();
    if (withConfiguration) {
        EraseConfigAndIds();
    }
}

void SimChip::BulkEraseData()
{
    if (m_description->memory != ChipMemory::Flash) {
        return;
    }
    ++m_totalCycles;
    EraseData();
}

void SimChip::EraseWholeChip()
{
    if (m_description->memory != ChipMemory::Flash) {
        return;
    }
    ++m_totalCycles;
    EraseProgram();
    EraseData();
    EraseConfigAndIds();
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

void SimChip::EraseProgram()
{
    m_program.assign(m_description->programWords, m_description->WordMask());
}

void SimChip::EraseData()
{
    m_data.assign(m_description->dataBytes, kErasedByte);
}

void SimChip::EraseConfigAndIds()
{
    m_ids.fill(m_description->WordMask());
    m_config = m_description->configErased;
}

} // namespace tolm::sim
