// The erases of a simulated chip: what each one takes and what it leaves alone.

#include "SimChip.h"

namespace tolm::sim {

namespace {

constexpr uint16_t kConfigSpace = 0x2000;
constexpr uint8_t kErasedByte = 0xFF;

} // namespace

void SimChip::Reset()
{
    const ChipDescription &d = *m_description;
    EraseProgram();
    EraseData();
    EraseConfigWords();
    EraseIds();
    if (d.calibrationWord) {
        m_program.back() = *d.calibrationWord;
    }
    if (d.configFactory) {
        m_config[0] = ConfigForm(0, *d.configFactory);
    }
    m_calibration = d.configCalibration ? d.configCalibration->factory : 0;
    m_pulsesNeeded.clear();
    m_pulsesApplied.clear();
    m_neverProgram.clear();
    m_dataNeverProgram.clear();
    m_totalPulses = 0;
    m_totalCycles = 0;
    m_cycleTimeUs = 0;
}

// Program memory always, the OSCCAL word at its top included. Whether the configuration words
// and IDs go too depends on the part and on where the counter stands: in configuration space
// the erase reaches the IDs, and a factory calibration word only when the counter is on it.
void SimChip::BulkEraseProgram(uint16_t counter)
{
    const ChipDescription &d = *m_description;
    const AlgorithmRules &rules = Behaviour();
    if (d.memory != ChipMemory::Flash) {
        return;
    }
    CountCycle(d.eraseUs);
    if (rules.bulkEraseRefusedWhenProtected && CodeProtected()) {
        return; // the chip says nothing: it simply stays as it was
    }
    const bool inConfigSpace = counter >= kConfigSpace;
    const bool takeData = rules.bulkEraseTakesProtectedData && DataProtected();
    EraseProgram();
    switch (rules.configErase) {
    case ConfigErase::FromConfigSpace:
        if (inConfigSpace) {
            EraseConfigWords();
            EraseIds();
        }
        break;
    case ConfigErase::Always:
        EraseConfigWords();
        [[fallthrough]];
    case ConfigErase::Never:
        if (inConfigSpace) {
            EraseIds();
        }
        break;
    }
    if (d.configCalibration && counter == d.configCalibration->address) {
        m_calibration = d.WordMask();
    }
    if (takeData) {
        EraseData();
    }
}

void SimChip::BulkEraseData()
{
    const ChipDescription &d = *m_description;
    if (d.memory != ChipMemory::Flash) {
        return;
    }
    CountCycle(d.eraseUs);
    if (Behaviour().bulkEraseRefusedWhenProtected && DataProtected()) {
        return;
    }
    EraseData();
}

void SimChip::EraseWholeChip()
{
    if (m_description->memory != ChipMemory::Flash) {
        return;
    }
    CountCycle(m_description->eraseUs);
    EraseProgram();
    EraseData();
    EraseConfigWords();
    EraseIds();
}

void SimChip::ChipErase()
{
    EraseWholeChip();
}

void SimChip::EraseProgram()
{
    m_program.assign(m_description->programWords, m_description->WordMask());
}

void SimChip::EraseData()
{
    m_data.assign(m_description->dataBytes, kErasedByte);
}

void SimChip::EraseConfigWords()
{
    const ChipDescription &d = *m_description;
    m_config[0] = d.configErased;
    m_config[1] = d.secondConfig ? d.secondConfig->erased : 0;
}

void SimChip::EraseIds()
{
    m_ids.fill(m_description->WordMask());
}

} // namespace tolm::sim
