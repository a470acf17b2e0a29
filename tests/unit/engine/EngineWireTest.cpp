// Exact wire traffic of the engine's sequences where the bytes, counts or addresses are fixed:
// power-on and power-off, stepping, pulse counts, the configuration word, Unprotect, the ID
// locations, the calibration word and All Code Protect. The expected bytes are written out
// here from the module's protocol, not produced by the host's encoders.
#include "EngineRig.h"

#include "device/DeviceRules.h"
#include "engine/ChipCommands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A command byte and its argument characters as the transcript shows them: "05 43 30 ...".
std::string Sent(unsigned command, const std::string &argument = {})
{
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02X", command);
    std::string text = buffer;
    for (const char c : argument) {
        std::snprintf(buffer, sizeof buffer, " %02X", static_cast<unsigned char>(c));
        text += buffer;
    }
    return text;
}

// The host's side of each exchange, without the module's answer.
Lines HostSide(const Lines &transcript)
{
    Lines sent;
    for (const std::string &line : transcript) {
        sent.push_back(line.substr(0, line.find(" ->")));
    }
    return sent;
}

Lines Repeat(const Lines &lines, int times)
{
    Lines all;
    for (int i = 0; i < times; ++i) {
        all.insert(all.end(), lines.begin(), lines.end());
    }
    return all;
}

Lines Join(std::initializer_list<Lines> parts)
{
    Lines all;
    for (const Lines &part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const std::string kIdleTiming = Sent(0x05, "C0014F"); // F40C, 1
const std::string kPowerOff = Sent(0x07);
const Lines kPowerOffTail = {kIdleTiming, kPowerOff};
const Lines kSerialPowerOn = {kPowerOff, kIdleTiming, Sent(0x09)};
const Lines kParallelPowerOn = {kPowerOff, kIdleTiming, Sent(0x09), Sent(0x01, "A")};
const Lines k16C5xPowerOn = {kPowerOff, kIdleTiming, Sent(0x08)};

// Steps a freshly powered chip; the power-on is left out of the transcript.
bool StepAfterPowerOn(EngineRig &r, std::uint16_t count)
{
    if (!r.engine.PicPowerOn()) {
        return false;
    }
    r.TakeTranscript();
    return r.engine.PicGoAddress(count);
}

struct WireCase
{
    const char *name;
    const char *device;
    bool parallel;
    std::function<void(EngineRig &)> prepare;
    std::function<bool(EngineRig &)> run;
    bool expectedResult;
    Lines expected;
};

const std::vector<WireCase> &WireCases()
{
    static const std::vector<WireCase> cases = {
        {"ParityPowerOnSerial",
         "16c715",
         false,
         {},
         [](EngineRig &r) { return r.engine.PicPowerOn(); },
         true,
         {kPowerOff, Sent(0x17), kIdleTiming, Sent(0x09)}},
        {"ParityPowerOnParallel",
         "16c715",
         true,
         {},
         [](EngineRig &r) { return r.engine.PicPowerOn(); },
         true,
         {kPowerOff, Sent(0x17), kIdleTiming, Sent(0x09), Sent(0x01, "A")}},
        {"SerialPowerOnAndOff16f84",
         "16f84",
         false,
         {},
         [](EngineRig &r) { return r.engine.PicPowerOn() && r.engine.PicPowerOff(); },
         true,
         Join({kSerialPowerOn, kPowerOffTail})},
        {"StepZeroSendsNothing",
         "16f877",
         true,
         {},
         [](EngineRig &r) { return StepAfterPowerOn(r, 0); },
         true,
         {}},
        {"Step1024",
         "16f877",
         true,
         {},
         [](EngineRig &r) { return StepAfterPowerOn(r, 1024); },
         true,
         {Sent(0x15, "F3F")}},
        {"Step1025",
         "16f877",
         true,
         {},
         [](EngineRig &r) { return StepAfterPowerOn(r, 1025); },
         true,
         {Sent(0x15, "E3F"), Sent(0x15, "100")}},
        {"Step2047",
         "16f877",
         true,
         {},
         [](EngineRig &r) { return StepAfterPowerOn(r, 2047); },
         true,
         {Sent(0x15, "E3F"), Sent(0x15, "F3F")}},
        {"Step2048",
         "16f877",
         true,
         {},
         [](EngineRig &r) { return StepAfterPowerOn(r, 2048); },
         true,
         {Sent(0x15, "E3F"), Sent(0x15, "E3F"), Sent(0x15, "100")}},
        {"StepSerialThree",
         "16f84",
         false,
         {},
         [](EngineRig &r) { return StepAfterPowerOn(r, 3); },
         true,
         Repeat({Sent(0x01, "6")}, 3)},
        {"Step16C5xIsOneAdvance",
         "16c57",
         true,
         {},
         [](EngineRig &r) { return StepAfterPowerOn(r, 0x200); },
         true,
         {Sent(0x13, "F1F")}},
        {"ProgStartZeroSendsNothing",
         "16f84",
         true,
         [](EngineRig &r) { r.host.progStart = "0000"; },
         [](EngineRig &r) {
             std::uint16_t s = 1, e = 0;
             return r.engine.PicGoStartAddress(s, e) && s == 0;
         },
         true,
         {}},
        {"ProgStartWithBlankFailsSilently",
         "16f84",
         true,
         [](EngineRig &r) { r.host.progStart = "A_00"; },
         [](EngineRig &r) {
             std::uint16_t s = 0, e = 0;
             return r.engine.PicGoStartAddress(s, e);
         },
         false,
         {}},
        {"DataStartSerialSingleSteps", "16f84", false,
         [](EngineRig &r) { r.host.dataStart = "03"; },
         [](EngineRig &r) {
             std::uint16_t s = 0, e = 0;
             return StepAfterPowerOn(r, 0) && r.engine.PicGoDataStartAddress(s, e) && s == 3;
         },
         true, Repeat({Sent(0x01, "6")}, 3)},
        {"DataStartParallelIncrements", "16f84", true,
         [](EngineRig &r) { r.host.dataStart = "02"; },
         [](EngineRig &r) {
             std::uint16_t s = 0, e = 0;
             return StepAfterPowerOn(r, 0) && r.engine.PicGoDataStartAddress(s, e);
         },
         true, Repeat({Sent(0x14)}, 2)},
        {"UnprotectSerial16f84",
         "16f84",
         false,
         {},
         [](EngineRig &r) { return UnprotectDevice(r.engine).Ok(); },
         true,
         Join(
             {kSerialPowerOn,
              {kIdleTiming, Sent(0x01, "0"), Sent(0x03, "E0F0F7")},
              Repeat({Sent(0x01, "6")}, 7),
              {Sent(0x01, "1"), Sent(0x01, "7"), Sent(0x01, "8"), Sent(0x01, "1"), Sent(0x01, "7")},
              kPowerOffTail})},
        {"UnprotectParallel16f84",
         "16f84",
         true,
         {},
         [](EngineRig &r) { return UnprotectDevice(r.engine).Ok(); },
         true,
         Join(
             {kParallelPowerOn,
              {kIdleTiming, Sent(0x16, "FF30F0")},
              Repeat({Sent(0x14)}, 7),
              {Sent(0x00, "1"), Sent(0x00, "7"), Sent(0x00, "8"), Sent(0x00, "1"), Sent(0x00, "7")},
              kPowerOffTail})},
        {"UnprotectParallel16f628a",
         "16f628a",
         true,
         {},
         [](EngineRig &r) { return UnprotectDevice(r.engine).Ok(); },
         true,
         Join({kParallelPowerOn, {kIdleTiming}, kPowerOffTail})},
        {"UnprotectSerial16f628a",
         "16f628a",
         false,
         {},
         [](EngineRig &r) { return UnprotectDevice(r.engine).Ok(); },
         true,
         Join({kSerialPowerOn,
               {kIdleTiming, Sent(0x01, "0"), Sent(0x03, "E0F0F7"), Sent(0x01, "2"),
                Sent(0x03, "E0F0F7"), Sent(0x01, "9"), Sent(0x01, "B")},
               kPowerOffTail})},
        // A failed command ends the sequence, and the chip is powered off all the same.
        {"UnprotectPowersOffAfterAFailure", "16f84", false, [](EngineRig &r) { r.NoAckFrom(6); },
         [](EngineRig &r) { return UnprotectDevice(r.engine).Ok(); }, false,
         Join({kSerialPowerOn,
               {kIdleTiming, Sent(0x01, "0"), Sent(0x03, "E0F0F7"), kIdleTiming, kPowerOff}})},
        {"IdRead16c54AdvancesPastProgramMemory",
         "16c54",
         true,
         {},
         [](EngineRig &r) { return r.engine.PicReadIDCode().Ok(); },
         true,
         Join({k16C5xPowerOn, {Sent(0x13, "020")}, Repeat({Sent(0x0A)}, 4), kPowerOffTail})},
        {"IdRead12c508Increments201",
         "12c508",
         false,
         {},
         [](EngineRig &r) { return r.engine.PicReadIDCode().Ok(); },
         true,
         Join({kSerialPowerOn, Repeat({Sent(0x01, "6")}, 0x201),
               Repeat({Sent(0x01, "4"), Sent(0x02), Sent(0x01, "6")}, 4), kPowerOffTail})},
        {"IdReadParallel16f84",
         "16f84",
         true,
         {},
         [](EngineRig &r) { return r.engine.PicReadIDCode().Ok(); },
         true,
         Join({kParallelPowerOn,
               {Sent(0x16, "000000")},
               Repeat({Sent(0x0B), Sent(0x14)}, 4),
               kPowerOffTail})},
        {"ConfigReadParallel14Bit",
         "16f84",
         true,
         {},
         [](EngineRig &r) { return r.engine.PicReadConfig() == ChipResult<std::uint16_t>(0x3FFF); },
         true,
         Join({kParallelPowerOn,
               {Sent(0x16, "000000")},
               Repeat({Sent(0x14)}, 7),
               {Sent(0x0B)},
               kPowerOffTail})},
        // Even the first byte unanswered: the power-off sequence follows once.
        {"WritePowerOnFailurePowersOff",
         "16f84",
         true,
         [](EngineRig &r) { r.NoAckFrom(1); },
         [](EngineRig &r) { return r.engine.PicWrite(0x10, 0x1234).Ok(); },
         false,
         {kPowerOff, kIdleTiming, kPowerOff}},
    };
    return cases;
}

class EngineWire : public ::testing::TestWithParam<WireCase>
{
};

TEST_P(EngineWire, SendsExactly)
{
    const WireCase &c = GetParam();
    EngineRig rig(c.device);
    rig.host.parallel = c.parallel;
    if (c.prepare) {
        c.prepare(rig);
    }
    EXPECT_EQ(c.run(rig), c.expectedResult);
    EXPECT_EQ(HostSide(rig.TakeTranscript()), c.expected);
    EXPECT_TRUE(rig.sim->ProtocolFaults().empty()) << rig.sim->ProtocolFaultsText();
}

INSTANTIATE_TEST_SUITE_P(Sequences, EngineWire, ::testing::ValuesIn(WireCases()),
                         [](const auto &row) { return std::string(row.param.name); });

TEST(EngineWireExact, SerialPowerOnAndOffAreAnsweredByAcknowledges)
{
    EngineRig rig("16f84");
    rig.host.parallel = false;
    ASSERT_TRUE(rig.engine.PicPowerOn());
    ASSERT_TRUE(rig.engine.PicPowerOff());
    EXPECT_EQ(rig.TakeTranscript(), (Lines{"07 -> 20", "05 43 30 30 31 34 46 -> 20", "09 -> 20",
                                           "05 43 30 30 31 34 46 -> 20", "07 -> 20"}));
}

TEST(EngineWireExact, UnprotectPausesAfterEachEraseStep)
{
    EngineRig rig("16f84");
    rig.host.parallel = false;
    std::vector<std::size_t> delayAfterLine;
    rig.host.onDelay = [&](int) { delayAfterLine.push_back(rig.sim->Transcript().size()); };
    ASSERT_TRUE(UnprotectDevice(rig.engine));
    // 3 power-on lines, timing, Load Configuration, its data, 7 increments, 1, 7, 8: the pause
    // comes right after Begin Programming (the 16th exchange).
    EXPECT_EQ(delayAfterLine, std::vector<std::size_t>{16});
    EXPECT_EQ(rig.host.delays, std::vector<int>{20});
}

// Pulses a location receives when it takes after `needed` pulses, by the Serial method.
struct PulseCase
{
    const char *name;
    int needed; // 0: never takes
    int pulses;
    bool written;
};

class EngineSerialPulses : public ::testing::TestWithParam<PulseCase>
{
};

TEST_P(EngineSerialPulses, OverprogramThreeTimesThePulsesUsed)
{
    const PulseCase &c = GetParam();
    EngineRig rig("16c62A");
    rig.host.parallel = false;
    if (c.needed == 0) {
        rig.sim->chip().SetNeverProgram(0x0010);
    } else {
        rig.sim->chip().SetPulsesNeeded(0x0010, c.needed);
    }
    EXPECT_EQ(rig.engine.PicWrite(0x0010, 0x1234).Ok(), c.written);
    const Lines sent = HostSide(rig.TakeTranscript());
    EXPECT_EQ(rig.CountCommand(sent, "04"), c.pulses);
    EXPECT_EQ(rig.host.waiting, (QStringList{"shown", "hidden"}));
    if (c.written) {
        EXPECT_EQ(rig.sim->chip().ProgramWord(0x0010), 0x1234);
    }
}

INSTANTIATE_TEST_SUITE_P(Family2, EngineSerialPulses,
                         ::testing::Values(PulseCase{"FirstPulse", 1, 4, true},
                                           PulseCase{"FifthPulse", 5, 20, true},
                                           PulseCase{"LastPulse", 25, 100, true},
                                           PulseCase{"Never", 0, 25, false}),
                         [](const auto &row) { return std::string(row.param.name); });

TEST(EngineConfigWrite, Family2SerialOverprogramsWithNineTriplesAfterThirdPulse)
{
    EngineRig rig("16c62A");
    rig.host.parallel = false;
    rig.sim->chip().SetPulsesNeeded(0x2007, 3);
    ASSERT_TRUE(rig.engine.PicWriteConfig(0x3F3F));
    const Lines sent = HostSide(rig.TakeTranscript());
    const Lines triple = {Sent(0x01, "2"), Sent(0x03, "E070E7"), Sent(0x04)};
    const Lines tail(sent.end() - 2 - 27, sent.end() - 2);
    EXPECT_EQ(tail, Repeat(triple, 9));
    EXPECT_EQ(rig.CountCommand(sent, "04"), 3 + 9);
    EXPECT_EQ(rig.sim->chip().ConfigWord(), 0x3F3F);
}

TEST(EngineConfigWrite, The16f628IsWrittenSeriallyAndTheMethodPutBack)
{
    for (const bool moduleAnswers : {true, false}) {
        EngineRig rig("16f628");
        rig.host.parallel = true;
        if (!moduleAnswers) {
            rig.NoAckFrom(1);
        }
        EXPECT_EQ(rig.engine.PicWriteConfig(0x3F10).Ok(), moduleAnswers);
        const Lines sent = HostSide(rig.TakeTranscript());
        EXPECT_EQ(rig.host.methodChanges, (std::vector<bool>{false, true}));
        EXPECT_TRUE(rig.host.parallel);
        EXPECT_EQ(rig.CountCommand(sent, Sent(0x01, "A")), 0) << "no switch to Parallel";
        EXPECT_EQ(rig.CountCommand(sent, "10"), 0) << "no Parallel flash write";
        if (moduleAnswers) {
            EXPECT_EQ(rig.sim->chip().ConfigWord(), 0x3F10);
        }
    }
}

struct CalibrationCase
{
    const char *device;
    std::uint16_t address;
    std::optional<std::uint16_t> word; // nothing: the device has no calibration word
};

class EngineCalibration : public ::testing::TestWithParam<CalibrationCase>
{
};

TEST_P(EngineCalibration, WritesTheLoadInstructionAtTheLastAddress)
{
    const CalibrationCase &c = GetParam();
    EngineRig rig(c.device);
    rig.sim->chip().SetProgramWord(c.address, 0x3FFF); // erased, so the new word can take
    const auto instruction = CalibrationInstruction(rig.device, 0x5A);
    EXPECT_EQ(instruction, c.word);
    if (!c.word) {
        return;
    }
    EXPECT_TRUE(WriteCalibration(rig.engine, *instruction).Ok());
    EXPECT_EQ(rig.sim->chip().ProgramWord(c.address), *c.word);
    EXPECT_EQ(CalibrationAddress(rig.device), std::optional<std::uint16_t>(c.address));
    EXPECT_EQ(ReadCalibration(rig.engine), ChipResult<std::uint8_t>(0x5A));
    EXPECT_TRUE(rig.sim->ProtocolFaults().empty()) << rig.sim->ProtocolFaultsText();
}

INSTANTIATE_TEST_SUITE_P(Devices, EngineCalibration,
                         ::testing::Values(CalibrationCase{"12c508", 0x01FF, 0x0C5A},
                                           CalibrationCase{"12c509", 0x03FF, 0x0C5A},
                                           CalibrationCase{"12ce674", 0x07FF, 0x345A},
                                           CalibrationCase{"16f84", 0x03FF, std::nullopt},
                                           CalibrationCase{"16c54", 0x01FF, std::nullopt}),
                         [](const auto &row) { return std::string(row.param.device); });

struct ProtectCase
{
    const char *device;
    std::uint16_t chipWord;
    std::uint16_t programmed;
};

class EngineAllCodeProtect : public ::testing::TestWithParam<ProtectCase>
{
};

TEST_P(EngineAllCodeProtect, ProgramsTheDevicesProtectionPattern)
{
    const ProtectCase &c = GetParam();
    EngineRig rig(c.device);
    rig.sim->chip().SetConfigWord(c.chipWord);
    const ChipResult<ProtectPlan> plan = PlanAllCodeProtect(rig.engine, ConfigControls{});
    ASSERT_TRUE(plan.Ok());
    EXPECT_EQ(plan->programmedWord, c.programmed);
    EXPECT_TRUE(rig.engine.PicWriteConfig(plan->programmedWord).Ok());
    EXPECT_EQ(rig.image.ConfigWord, c.chipWord & 0x3FFF);
    EXPECT_EQ(rig.sim->chip().ConfigWord(), c.programmed);
}

INSTANTIATE_TEST_SUITE_P(Devices, EngineAllCodeProtect,
                         ::testing::Values(ProtectCase{"16f877", 0x3FFF, 0x0FCF},
                                           ProtectCase{"16f628a", 0x3FFF, 0x1FFF},
                                           ProtectCase{"16f628", 0x3FFF, 0x03FF},
                                           ProtectCase{"16f84", 0x3FFF, 0x000F}),
                         [](const auto &row) { return std::string(row.param.device); });

} // namespace
