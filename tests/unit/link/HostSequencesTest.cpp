// The programming host's chip-level sequences, family by family and method by method, played
// with the real command set against the module simulator: power-on and power-off, stepping
// (in 1024-location pieces with the Parallel method), program memory, data memory, the
// configuration word, the ID locations, Unprotect and the calibration word. The module must
// understand every exchange without a protocol fault and the chip must end up holding what
// the host meant. The sequences are written out here once more so that the simulator is ready
// for the programming engine that will be built on it.
#include "ModuleSimulator.h"
#include "SimulatorChannel.h"
#include "link/ProgrammerModule.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using tolm::sim::ModuleSimulator;
using Words = std::vector<std::uint16_t>;

struct Part
{
    const char *name;
    int family; // 1 16C5x, 2 14-bit EPROM, 3 14-bit EEPROM and flash, 4 12C508/509
    bool parity;
    std::uint16_t progMax;
    std::uint16_t dataMax; // 0: no data memory
    std::uint16_t idAddress;
};

// The host's sequences over one ProgrammerModule. Every method is one power cycle and returns
// false at the first exchange that fails or the first word that does not take.
class Host
{
public:
    Host(ProgrammerModule &module, const Part &device, bool parallelMethod)
        : m(module), f(device.family), part(device), parallel(parallelMethod)
    {}

    bool WriteProgram(std::uint16_t start, const Words &words)
    {
        return Cycle([&] {
            if (!Step(start) || !Preamble(true)) {
                return false;
            }
            for (const std::uint16_t word : words) {
                if (!WriteWord(word)) {
                    return false;
                }
            }
            return true;
        });
    }

    bool ReadProgram(std::uint16_t start, std::size_t count, Words &out)
    {
        return Cycle([&] {
            if (!Step(start) || !Preamble(false)) {
                return false;
            }
            for (std::size_t i = 0; i < count; ++i) {
                std::uint16_t w = 0;
                if (!ReadWord(w) || !Advance()) {
                    return false;
                }
                out.push_back(w);
            }
            return true;
        });
    }

    bool WriteData(std::uint16_t start, const Words &bytes)
    {
        return Cycle([&] {
            if (!StepData(start) || !m.ModuleSetPulseTiming(0xF40C, 1)) {
                return false;
            }
            for (const std::uint16_t value : bytes) {
                std::uint16_t r = 0;
                const bool read = Par() ? (m.ModuleWriteDataByte(value), m.ModuleReadDataWord(r))
                                        : Pic(3) && m.ModuleSerialLoadData(value) && Pic(8) &&
                                              Pic(5) && m.ModuleSerialReadData(r);
                if (!read || (r & 0xFF) != value || !AdvanceData()) {
                    return false;
                }
            }
            return true;
        });
    }

    bool ReadData(std::uint16_t start, std::size_t count, Words &out)
    {
        return Cycle([&] {
            if (!StepData(start)) {
                return false;
            }
            for (std::size_t i = 0; i < count; ++i) {
                std::uint16_t r = 0;
                const bool read =
                    Par() ? m.ModuleReadDataWord(r) : Pic(5) && m.ModuleSerialReadData(r);
                if (!read || !AdvanceData()) {
                    return false;
                }
                out.push_back(r & 0xFF);
            }
            return true;
        });
    }

    bool ReadConfig(std::uint16_t &word)
    {
        return Cycle([&] {
            if (f == 1) {
                return m.ModuleRead12BitWord(word);
            }
            if (f == 4) {
                return Pic(4) && m.ModuleSerialReadData(word);
            }
            return ToConfigWord(0) && ReadWord(word);
        });
    }

    bool WriteConfig(std::uint16_t word)
    {
        // The 16f628 takes its configuration with the Serial method only.
        const bool saved = parallel;
        parallel = parallel && std::string(part.name) != "16f628";
        const bool ok = Cycle([&] {
            if (f == 1) {
                return m.ModuleSetPulseTiming(0x0C01, 100) && m.ModuleWrite12BitConfig(word);
            }
            if (f == 4) {
                return m.ModuleSetPulseTiming(0x0C01, 100) && Pic(2) &&
                       m.ModuleSerialLoadData(word) && m.ModuleProgramPulse() && ReadsBack(word);
            }
            const bool timing =
                f == 2 ? m.ModuleSetPulseTiming(0x0C01, 25) : m.ModuleSetPulseTiming(0xF40C, 1);
            if (!timing || !ToConfigWord(0)) {
                return false;
            }
            if (Par()) {
                return f == 2 ? m.ModuleWriteWordEprom(word) : m.ModuleWriteWordFlash(word);
            }
            if (f == 3) {
                return Pic(2) && m.ModuleSerialLoadData(word) && Pic(8) && ReadsBack(word);
            }
            for (int n = 1; n <= 25; ++n) {
                if (!Pic(2) || !m.ModuleSerialLoadData(word) || !m.ModuleProgramPulse()) {
                    return false;
                }
                std::uint16_t r = 0;
                if (!Pic(4) || !m.ModuleSerialReadData(r)) {
                    return false;
                }
                if (r == word) {
                    for (int extra = 0; extra < 3 * n; ++extra) {
                        if (!Pic(2) || !m.ModuleSerialLoadData(word) || !m.ModuleProgramPulse()) {
                            return false;
                        }
                    }
                    return true;
                }
            }
            return false;
        });
        parallel = saved;
        return ok;
    }

    bool ReadIdCode(std::uint16_t &code)
    {
        return Cycle([&] {
            code = 0;
            if (!ToIdLocations()) {
                return false;
            }
            for (int k = 0; k < 4; ++k) {
                std::uint16_t w = 0;
                if (!ReadWord(w) || !Advance()) {
                    return false;
                }
                code |= static_cast<std::uint16_t>((w & 0xF) << (4 * k));
            }
            return true;
        });
    }

    bool WriteIdCode(std::uint16_t code)
    {
        return Cycle([&] {
            const bool timing = f == 1   ? m.ModuleSetPulseTiming(0x0C01, 100)
                                : f == 3 ? m.ModuleSetPulseTiming(0xF40C, 1)
                                         : m.ModuleSetPulseTiming(0x0C01, 25);
            if (!timing || !ToIdLocations()) {
                return false;
            }
            for (int k = 0; k < 4; ++k) {
                if (!WriteWord((code >> (4 * k)) & 0xF)) {
                    return false;
                }
            }
            return true;
        });
    }

    bool Unprotect()
    {
        return Cycle([&] {
            if (!m.ModuleSetPulseTiming(0xF40C, 1)) {
                return false;
            }
            if (std::string(part.name) == "16f628a") {
                return Pic(0) && m.ModuleSerialLoadData(0x3FFF) && Pic(2) &&
                       m.ModuleSerialLoadData(0x3FFF) && Pic(9) && Pic(11);
            }
            if (!ToConfigWord(0x3FFF)) {
                return false;
            }
            for (const std::uint8_t code : {1, 7, 8, 1, 7}) {
                if (!(Par() ? m.ModuleParallelPicCommand(code) : Pic(code))) {
                    return false;
                }
            }
            return true;
        });
    }

    // The calibration commands' single-word access at one address.
    bool ReadOne(std::uint16_t address, std::uint16_t &word)
    {
        return Cycle([&] { return Step(address) && (f != 4 || Pic(6)) && ReadWord(word); });
    }

    bool WriteOne(std::uint16_t address, std::uint16_t word)
    {
        return Cycle([&] {
            if (!Step(address) || !m.ModuleSetPulseTiming(0x0C01, 25) || (f == 4 && !Pic(6))) {
                return false;
            }
            bool matched = false;
            return Par() ? m.ModuleWriteWordEprom(word)
                         : PulseProgramWord(word, word & 0x3FFF, matched) && matched;
        });
    }

private:
    bool Pic(std::uint8_t code) { return m.ModuleSerialPicCommand(code); }
    bool Par() const { return parallel && (f == 2 || f == 3); }

    template <typename Work> bool Cycle(Work work)
    {
        const bool on = m.ModulePowerOff() && (!part.parity || m.ModuleParityMode()) &&
                        m.ModuleSetPulseTiming(0xF40C, 1) &&
                        (f == 1 ? m.ModulePowerOn16C5x()
                                : m.ModulePowerOnSerialMode() && (!parallel || Pic(10)));
        if (!on) {
            return false;
        }
        const bool done = work();
        const bool off = m.ModuleSetPulseTiming(0xF40C, 1);
        m.ModulePowerOff();
        return done && off;
    }

    bool Step(std::uint16_t count)
    {
        if (count == 0) {
            return true;
        }
        if (f == 1) {
            return m.ModuleAdvance12Bit(count - 1);
        }
        if (parallel) {
            unsigned r = count - 1u;
            for (; r > 1023; r -= 1023) {
                if (!m.ModuleAdvanceAddress(1022)) {
                    return false;
                }
            }
            return m.ModuleAdvanceAddress(static_cast<std::uint16_t>(r));
        }
        for (unsigned i = 0; i < count; ++i) {
            if (!Pic(6)) {
                return false;
            }
        }
        return true;
    }

    bool StepData(std::uint16_t start)
    {
        for (unsigned i = 0; i < start; ++i) {
            if (!AdvanceData()) {
                return false;
            }
        }
        return true;
    }
    bool AdvanceData() { return parallel ? m.ModuleIncrementAddress() : Pic(6); }

    bool Preamble(bool write)
    {
        static constexpr std::uint16_t kTiming[] = {0, 0x0C01, 0x0C01, 0xF40C, 0x0C01};
        static constexpr std::uint8_t kCount[] = {0, 100, 25, 1, 25};
        if (write && !m.ModuleSetPulseTiming(kTiming[f], kCount[f])) {
            return false;
        }
        return f == 1 ? m.ModuleIncrement12Bit() : f != 4 || Pic(6);
    }

    bool ReadWord(std::uint16_t &w)
    {
        if (f == 1) {
            return m.ModuleRead12BitWord(w);
        }
        return Par() ? m.ModuleReadProgWord(w) : Pic(4) && m.ModuleSerialReadData(w);
    }

    bool Advance()
    {
        if (f == 1) {
            return true; // the 12-bit read moved on by itself
        }
        return Par() ? m.ModuleIncrementAddress() : Pic(6);
    }

    bool ReadsBack(std::uint16_t expected)
    {
        std::uint16_t r = 0;
        return Pic(4) && m.ModuleSerialReadData(r) && r == expected;
    }

    bool PulseProgramWord(std::uint16_t data, std::uint16_t expected, bool &matched)
    {
        matched = false;
        for (int n = 1; n <= 25; ++n) {
            std::uint16_t r = 0;
            if (!Pic(2) || !m.ModuleSerialLoadData(data) || !m.ModuleProgramPulse() || !Pic(4) ||
                !m.ModuleSerialReadData(r)) {
                return false;
            }
            if (r == expected) {
                if (!Pic(2) || !m.ModuleSerialLoadData(data)) {
                    return false;
                }
                for (int extra = 0; extra < 3 * n; ++extra) {
                    if (!m.ModuleProgramPulse()) {
                        return false;
                    }
                }
                matched = true;
                return true;
            }
        }
        return true;
    }

    // One word of a program memory or ID write (an ID location takes the nibble alone), then
    // the step to the next address.
    bool WriteWord(std::uint16_t value)
    {
        if (f == 1) {
            return m.ModuleWrite12BitWord(value) && m.ModuleIncrement12Bit();
        }
        if (Par()) {
            const bool took =
                f == 2 ? m.ModuleWriteWordEprom(value) : m.ModuleWriteWordFlash(value);
            return took && m.ModuleIncrementAddress();
        }
        if (f == 3) {
            return Pic(2) && m.ModuleSerialLoadData(value) && Pic(8) && ReadsBack(value) && Pic(6);
        }
        bool matched = false;
        return PulseProgramWord(value, value & 0x3FFF, matched) && matched && Pic(6);
    }

    // Load Configuration with that data word, then seven steps to the configuration word.
    bool ToConfigWord(std::uint16_t data)
    {
        if (Par()) {
            if (!m.ModuleLoadConfig(data)) {
                return false;
            }
            for (int i = 0; i < 7; ++i) {
                if (!m.ModuleIncrementAddress()) {
                    return false;
                }
            }
            return true;
        }
        return Pic(0) && m.ModuleSerialLoadData(data) && Step(7);
    }

    bool ToIdLocations()
    {
        switch (f) {
        case 1:
            return m.ModuleAdvance12Bit(part.progMax + 1);
        case 4:
            return Step(part.idAddress + 1);
        default:
            return Par() ? m.ModuleLoadConfig(0) : Pic(0) && m.ModuleSerialLoadData(0);
        }
    }

    ProgrammerModule &m;
    int f;
    const Part &part;
    bool parallel;
};

struct HostCase
{
    Part part;
    bool parallel;
};

void PrintTo(const HostCase &c, std::ostream *os)
{
    *os << c.part.name << (c.parallel ? " Parallel" : " Serial");
}

class HostSequences : public ::testing::TestWithParam<HostCase>
{
protected:
    const Part &P() const { return GetParam().part; }
    std::uint16_t Mask() const { return P().family == 1 || P().family == 4 ? 0x0FFF : 0x3FFF; }
    tolm::sim::SimChip &Chip() { return m_sim->chip(); }

    void TearDown() override
    {
        EXPECT_TRUE(m_sim->ProtocolFaults().empty()) << m_sim->ProtocolFaultsText();
    }

    std::unique_ptr<ModuleSimulator> m_sim = ModuleSimulator::ForDevice(GetParam().part.name);
    SimulatorChannel m_channel{*m_sim};
    ProgrammerModule m_module{m_channel};
    Host host{m_module, GetParam().part, GetParam().parallel};
};

TEST_P(HostSequences, ProgramMemoryWritesReadsBackAndStaysBlankElsewhere)
{
    // Half-way up, so that the Parallel method steps in several 1024-location pieces.
    const auto start = static_cast<std::uint16_t>((P().progMax + 1) / 2 - 2);
    const Words words = {0x0123, static_cast<std::uint16_t>(0x2A5A & Mask()), 0x0000, Mask()};
    ASSERT_TRUE(host.WriteProgram(start, words));
    Words read;
    ASSERT_TRUE(host.ReadProgram(start, words.size(), read));
    EXPECT_EQ(read, words);
    EXPECT_EQ(Chip().ProgramWord(start), 0x0123);
    EXPECT_EQ(Chip().ProgramWord(start + 2), 0x0000);
    read.clear();
    ASSERT_TRUE(host.ReadProgram(0, 2, read));
    EXPECT_EQ(read, Words({Mask(), Mask()}));
}

TEST_P(HostSequences, ConfigurationWordAndIdCode)
{
    const auto config = static_cast<std::uint16_t>(0x3FFB & Mask()); // watchdog off
    ASSERT_TRUE(host.WriteConfig(config));
    std::uint16_t read = 0;
    ASSERT_TRUE(host.ReadConfig(read));
    EXPECT_EQ(read, config);
    EXPECT_EQ(Chip().ConfigWord(), config);

    ASSERT_TRUE(host.ReadIdCode(read));
    EXPECT_EQ(read, 0xFFFF);
    ASSERT_TRUE(host.WriteIdCode(0x1234));
    ASSERT_TRUE(host.ReadIdCode(read));
    EXPECT_EQ(read, 0x1234);
    EXPECT_EQ(Chip().IdWord(0), 4);
    EXPECT_EQ(Chip().IdWord(3), 1);
}

// The parts with data memory, which are also the ones Unprotect serves.
class FlashHostSequences : public HostSequences
{
};

TEST_P(FlashHostSequences, DataMemoryWritesAndReadsBack)
{
    const auto start = static_cast<std::uint16_t>(P().dataMax - 2);
    ASSERT_TRUE(host.WriteData(start, {0x5A, 0x00, 0xC3}));
    Words read;
    ASSERT_TRUE(host.ReadData(start, 3, read));
    EXPECT_EQ(read, Words({0x5A, 0x00, 0xC3}));
    EXPECT_EQ(Chip().DataByte(P().dataMax), 0xC3);
}

TEST_P(FlashHostSequences, UnprotectErasesAProtectedChip)
{
    ASSERT_TRUE(host.WriteProgram(1, {0x1111}));
    ASSERT_TRUE(host.WriteData(1, {0x22}));
    ASSERT_TRUE(host.WriteConfig(0x0000)); // every protection bit clear
    ASSERT_TRUE(Chip().CodeProtected());
    ASSERT_TRUE(host.Unprotect());
    std::uint16_t config = 0;
    ASSERT_TRUE(host.ReadConfig(config));
    EXPECT_EQ(config, 0x3FFF);
    Words read;
    ASSERT_TRUE(host.ReadProgram(1, 1, read));
    ASSERT_TRUE(host.ReadData(1, 1, read));
    EXPECT_EQ(read, Words({0x3FFF, 0xFF}));
}

// The parts with a factory calibration word at the top of program memory.
class CalibrationHostSequences : public HostSequences
{
};

TEST_P(CalibrationHostSequences, CalibrationWordReadsAndProgramsOverItself)
{
    std::uint16_t read = 0;
    ASSERT_TRUE(host.ReadOne(P().progMax, read));
    // A factory MOVLW k on the 12C50x, a RETLW k on the 12CE674.
    EXPECT_EQ(read & 0xFF00, P().family == 4 ? 0x0C00 : 0x3400);
    ASSERT_TRUE(host.WriteOne(P().progMax, read)); // the same word takes at once on EPROM
    EXPECT_FALSE(host.WriteOne(P().progMax, read | 0x00FF)) << "EPROM bits do not come back";
}

constexpr Part k16c54{"16c54", 1, false, 0x01FF, 0, 0x0200};
constexpr Part k16c57{"16c57", 1, false, 0x07FF, 0, 0x0800};
constexpr Part k16c61{"16c61", 2, false, 0x03FF, 0, 0x2000};
constexpr Part k16c62A{"16c62A", 2, false, 0x07FF, 0, 0x2000};
constexpr Part k16c715{"16c715", 2, true, 0x07FF, 0, 0x0000};
constexpr Part k12ce674{"12ce674", 2, false, 0x07FF, 0, 0x2000};
constexpr Part k16c84{"16c84", 3, false, 0x03FF, 0x3F, 0x2000};
constexpr Part k16f84{"16f84", 3, false, 0x03FF, 0x3F, 0x2000};
constexpr Part k16f628{"16f628", 3, false, 0x07FF, 0x7F, 0x2000};
constexpr Part k16f628a{"16f628a", 3, false, 0x07FF, 0x7F, 0x2000};
constexpr Part k16f877{"16f877", 3, false, 0x1FFF, 0xFF, 0x2000};
constexpr Part k12c508{"12c508", 4, false, 0x01FF, 0, 0x0200};
constexpr Part k12c509{"12c509", 4, false, 0x03FF, 0, 0x0400};

std::string CaseName(const testing::TestParamInfo<HostCase> &p)
{
    return std::string("PIC") + p.param.part.name + (p.param.parallel ? "Parallel" : "Serial");
}

INSTANTIATE_TEST_SUITE_P(
    Families, HostSequences,
    testing::Values(HostCase{k16c54, true}, HostCase{k16c57, true}, HostCase{k16c61, true},
                    HostCase{k16c61, false}, HostCase{k16c62A, false}, HostCase{k16c715, false},
                    HostCase{k12ce674, false}, HostCase{k16c84, true}, HostCase{k16c84, false},
                    HostCase{k16f84, true}, HostCase{k16f84, false}, HostCase{k16f628, true},
                    HostCase{k16f628, false}, HostCase{k16f628a, false}, HostCase{k16f877, true},
                    HostCase{k16f877, false}, HostCase{k12c508, false}, HostCase{k12c509, false}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(Families, FlashHostSequences,
                         testing::Values(HostCase{k16c84, true}, HostCase{k16c84, false},
                                         HostCase{k16f84, true}, HostCase{k16f84, false},
                                         HostCase{k16f628, true}, HostCase{k16f628, false},
                                         HostCase{k16f628a, false}, HostCase{k16f877, true},
                                         HostCase{k16f877, false}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Families, CalibrationHostSequences,
                         testing::Values(HostCase{k12ce674, false}, HostCase{k12c508, false},
                                         HostCase{k12c509, false}),
                         CaseName);

} // namespace
