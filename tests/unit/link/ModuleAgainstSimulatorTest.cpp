// The host's command set against the module simulator, which decodes the wire from its own
// reading of the protocol. Every exchange must be understood without a protocol fault and
// must leave the chip holding what the host meant.
#include "ModuleSimulator.h"
#include "SimulatorChannel.h"
#include "link/ModuleCheck.h"
#include "link/ProgrammerModule.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using tolm::sim::ModuleSimulator;

class ModuleAgainstSimulator : public ::testing::Test
{
protected:
    void Use(const char *device)
    {
        m_sim = ModuleSimulator::ForDevice(device);
        ASSERT_TRUE(m_sim);
        m_channel = std::make_unique<SimulatorChannel>(*m_sim);
        m_module = std::make_unique<ProgrammerModule>(*m_channel);
    }
    void TearDown() override
    {
        if (m_sim) {
            EXPECT_TRUE(m_sim->ProtocolFaults().empty()) << m_sim->ProtocolFaultsText() << "\n"
                                                         << m_sim->TranscriptText();
        }
    }
    ProgrammerModule &Module() { return *m_module; }
    tolm::sim::SimChip &Chip() { return m_sim->chip(); }

    std::unique_ptr<ModuleSimulator> m_sim;
    std::unique_ptr<SimulatorChannel> m_channel;
    std::unique_ptr<ProgrammerModule> m_module;
};

TEST_F(ModuleAgainstSimulator, FlashPartWithTheSerialMethod)
{
    Use("16f84");
    ProgrammerModule &m = Module();
    ASSERT_TRUE(m.ModulePowerOff());
    ASSERT_TRUE(m.ModuleSetPulseTiming(0xF40C, 1));
    ASSERT_TRUE(m.ModulePowerOnSerialMode());
    for (const std::uint16_t word : {std::uint16_t{0x1234}, std::uint16_t{0x2ABC}}) {
        EXPECT_TRUE(m.ModuleSerialPicCommand(2));
        EXPECT_TRUE(m.ModuleSerialLoadData(word));
        EXPECT_TRUE(m.ModuleSerialPicCommand(8));
        EXPECT_TRUE(m.ModuleSerialPicCommand(4));
        std::uint16_t read = 0;
        EXPECT_TRUE(m.ModuleSerialReadData(read));
        EXPECT_EQ(read, word);
        EXPECT_TRUE(m.ModuleSerialPicCommand(6));
    }
    EXPECT_TRUE(m.ModuleSerialPicCommand(3));
    EXPECT_TRUE(m.ModuleSerialLoadData(0x5A));
    EXPECT_TRUE(m.ModuleSerialPicCommand(8));
    EXPECT_TRUE(m.ModulePowerOff());
    EXPECT_EQ(Chip().ProgramWord(0), 0x1234);
    EXPECT_EQ(Chip().ProgramWord(1), 0x2ABC);
    EXPECT_EQ(Chip().DataByte(2), 0x5A);
}

TEST_F(ModuleAgainstSimulator, FlashPartWithTheParallelMethod)
{
    Use("16f84");
    ProgrammerModule &m = Module();
    ASSERT_TRUE(m.ModulePowerOff());
    ASSERT_TRUE(m.ModuleSetPulseTiming(0xF40C, 1));
    ASSERT_TRUE(m.ModulePowerOnSerialMode());
    ASSERT_TRUE(m.ModuleSerialPicCommand(10));
    std::uint16_t read = 0;
    EXPECT_TRUE(m.ModuleWriteWordFlash(0x2345));
    EXPECT_TRUE(m.ModuleReadProgWord(read));
    EXPECT_EQ(read, 0x2345);
    EXPECT_TRUE(m.ModuleAdvanceAddress(2)); // three locations: address 3
    EXPECT_TRUE(m.ModuleWriteWordFlash(0x0777));
    EXPECT_TRUE(m.ModuleIncrementAddress());
    EXPECT_TRUE(m.ModuleWriteDataByte(0xA5));
    EXPECT_TRUE(m.ModuleReadDataWord(read));
    EXPECT_EQ(read, 0xA5);
    EXPECT_TRUE(m.ModuleLoadConfig(0x3FFF));
    EXPECT_TRUE(m.ModuleAdvanceAddress(5)); // 0x2006, the device ID
    EXPECT_TRUE(m.ModuleIncrementAddress());
    EXPECT_TRUE(m.ModuleWriteWordFlash(0x3FF1));
    EXPECT_TRUE(m.ModulePowerOff());
    EXPECT_EQ(Chip().ProgramWord(0), 0x2345);
    EXPECT_EQ(Chip().ProgramWord(3), 0x0777);
    EXPECT_EQ(Chip().DataByte(4), 0xA5);
    EXPECT_EQ(Chip().ConfigWord(), 0x3FF1);
}

TEST_F(ModuleAgainstSimulator, MemoryParityPartTakesTheParityForm)
{
    Use("16c715");
    ProgrammerModule &m = Module();
    ASSERT_EQ(CheckModuleForDevice(true, m), ModuleSuitability::Suitable);
    ASSERT_TRUE(m.ModulePowerOff());
    ASSERT_TRUE(m.ModuleParityMode());
    ASSERT_TRUE(m.ModuleSetPulseTiming(0xF40C, 1));
    ASSERT_TRUE(m.ModulePowerOnSerialMode());
    ASSERT_TRUE(m.ModuleSetPulseTiming(0x0C01, 25));
    EXPECT_TRUE(m.ModuleSerialPicCommand(2));
    EXPECT_TRUE(m.ModuleSerialLoadData(0x1234));
    EXPECT_TRUE(m.ModuleProgramPulse());
    EXPECT_TRUE(m.ModuleSerialPicCommand(4));
    std::uint16_t read = 0;
    EXPECT_TRUE(m.ModuleSerialReadData(read));
    EXPECT_EQ(read, 0x1234);
    EXPECT_TRUE(m.ModulePowerOff());
    EXPECT_FALSE(m.ParityModeActive());
    EXPECT_EQ(Chip().ProgramWord(0), 0x1234);
}

TEST_F(ModuleAgainstSimulator, EpromPartWithTheParallelMethod)
{
    Use("16c62A");
    ProgrammerModule &m = Module();
    ASSERT_TRUE(m.ModulePowerOff());
    ASSERT_TRUE(m.ModuleSetPulseTiming(0xF40C, 1));
    ASSERT_TRUE(m.ModulePowerOnSerialMode());
    ASSERT_TRUE(m.ModuleSerialPicCommand(10));
    ASSERT_TRUE(m.ModuleSetPulseTiming(0x0C01, 25));
    EXPECT_TRUE(m.ModuleParallelPicCommand(6)); // Increment Address, issued by the module
    EXPECT_TRUE(m.ModuleWriteWordEprom(0x0155));
    std::uint16_t read = 0;
    EXPECT_TRUE(m.ModuleReadProgWord(read));
    EXPECT_EQ(read, 0x0155);
    EXPECT_TRUE(m.ModulePowerOff());
    EXPECT_EQ(Chip().ProgramWord(1), 0x0155);
}

TEST_F(ModuleAgainstSimulator, TwelveBitPartThroughTheModulesOwnCommands)
{
    Use("16c54");
    ProgrammerModule &m = Module();
    ASSERT_TRUE(m.ModulePowerOff());
    ASSERT_TRUE(m.ModuleSetPulseTiming(0xF40C, 1));
    ASSERT_TRUE(m.ModulePowerOn16C5x());
    ASSERT_TRUE(m.ModuleSetPulseTiming(0x0C01, 100));
    EXPECT_TRUE(m.ModuleWrite12BitConfig(0x0FF9));
    EXPECT_TRUE(m.ModuleAdvance12Bit(0)); // one location: address 0
    EXPECT_TRUE(m.ModuleWrite12BitWord(0x0ABC));
    std::uint16_t read = 0;
    EXPECT_TRUE(m.ModuleRead12BitWord(read)); // and on to address 1
    EXPECT_EQ(read, 0x0ABC);
    EXPECT_TRUE(m.ModuleIncrement12Bit());
    EXPECT_TRUE(m.ModuleWrite12BitWord(0x0123));
    EXPECT_TRUE(m.ModulePowerOff());
    EXPECT_EQ(Chip().ProgramWord(0), 0x0ABC);
    EXPECT_EQ(Chip().ProgramWord(2), 0x0123);
    EXPECT_EQ(Chip().ConfigWord(), 0x0FF9);
}

TEST_F(ModuleAgainstSimulator, IdentificationAndPresence)
{
    Use("16f84");
    EXPECT_TRUE(ModulePresent(Module()));
    EXPECT_EQ(CheckModuleForDevice(true, Module()), ModuleSuitability::Suitable);
    m_sim->SetIdentifyByte(0x55);
    EXPECT_EQ(CheckModuleForDevice(true, Module()), ModuleSuitability::IncorrectModule);
}

} // namespace
