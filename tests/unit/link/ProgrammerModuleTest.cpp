#include "link/ProgrammerModule.h"
#include "ScriptedPeer.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kUntouched = 0xBEEF;

// One command: how to call it, the bytes it must send, the module's answer and the value the
// host must take from that answer.
struct FrameCase
{
    const char *name;
    std::function<bool(ProgrammerModule &, std::uint16_t &out)> run;
    const char *sent;
    const char *answer;
    std::optional<std::uint16_t> value;
};

bool Identify(ProgrammerModule &m, std::uint16_t &out)
{
    std::uint8_t id = 0;
    const bool ok = m.ModuleIdentify(id);
    out = id;
    return ok;
}

const std::vector<FrameCase> &AllCommands()
{
    using M = ProgrammerModule;
    using W = std::uint16_t;
    static const std::vector<FrameCase> cases = {
        {"ParallelPicCommand 8",
         [](M &m, W &) { return m.ModuleParallelPicCommand(8); },
         "00 38",
         "20",
         {}},
        {"SerialPicCommand 6",
         [](M &m, W &) { return m.ModuleSerialPicCommand(6); },
         "01 36",
         "20",
         {}},
        {"SerialReadData", [](M &m, W &w) { return m.ModuleSerialReadData(w); }, "02",
         "45 46 46 37 20", 0x3FFF},
        {"SerialLoadData 3FFF",
         [](M &m, W &) { return m.ModuleSerialLoadData(0x3FFF); },
         "03 45 30 46 30 46 37",
         "20",
         {}},
        {"ProgramPulse", [](M &m, W &) { return m.ModuleProgramPulse(); }, "04", "20", {}},
        {"SetPulseTiming F40C 1",
         [](M &m, W &) { return m.ModuleSetPulseTiming(0xF40C, 1); },
         "05 43 30 30 31 34 46",
         "20",
         {}},
        {"Identify", Identify, "06", "AA 20", 0xAA},
        {"PowerOff", [](M &m, W &) { return m.ModulePowerOff(); }, "07", "20", {}},
        {"PowerOn16C5x", [](M &m, W &) { return m.ModulePowerOn16C5x(); }, "08", "20", {}},
        {"PowerOnSerialMode",
         [](M &m, W &) { return m.ModulePowerOnSerialMode(); },
         "09",
         "20",
         {}},
        {"Read12BitWord", [](M &m, W &w) { return m.ModuleRead12BitWord(w); }, "0A", "43 41 42 20",
         0x0ABC},
        {"ReadProgWord", [](M &m, W &w) { return m.ModuleReadProgWord(w); }, "0B", "46 33 46 46 20",
         0x3FFF},
        {"ReadDataWord", [](M &m, W &w) { return m.ModuleReadDataWord(w); }, "0C", "35 32 32 30 20",
         0x00A5},
        {"Write12BitWord ABC",
         [](M &m, W &) { return m.ModuleWrite12BitWord(0x0ABC); },
         "0D 42 43 41",
         "20",
         {}},
        {"Write12BitConfig 00F",
         [](M &m, W &) { return m.ModuleWrite12BitConfig(0x000F); },
         "0E 30 46 30",
         "20",
         {}},
        {"WriteWordEprom 1234",
         [](M &m, W &) { return m.ModuleWriteWordEprom(0x1234); },
         "0F 34 38 33 30 34 30",
         "20",
         {}},
        {"WriteWordFlash 3FFF",
         [](M &m, W &) { return m.ModuleWriteWordFlash(0x3FFF); },
         "10 46 46 33 30 46 30",
         "20",
         {}},
        {"WriteDataByte 5A",
         [](M &m, W &) { return m.ModuleWriteDataByte(0x5A); },
         "11 41 31 31 30 30 30",
         "20",
         {}},
        {"Increment12Bit", [](M &m, W &) { return m.ModuleIncrement12Bit(); }, "12", "20", {}},
        {"Advance12Bit 1FF",
         [](M &m, W &) { return m.ModuleAdvance12Bit(0x1FF); },
         "13 46 31 46",
         "20",
         {}},
        {"IncrementAddress", [](M &m, W &) { return m.ModuleIncrementAddress(); }, "14", "20", {}},
        {"AdvanceAddress 1022",
         [](M &m, W &) { return m.ModuleAdvanceAddress(1022); },
         "15 45 33 46",
         "20",
         {}},
        {"LoadConfig 3FF1",
         [](M &m, W &) { return m.ModuleLoadConfig(0x3FF1); },
         "16 31 46 33 30 46 30",
         "20",
         {}},
        {"ParityMode", [](M &m, W &) { return m.ModuleParityMode(); }, "17", "20", {}},
    };
    return cases;
}

// The answer without its final acknowledge byte.
std::string WithoutAck(const std::string &answer)
{
    return answer.size() > 2 ? answer.substr(0, answer.size() - 3) : std::string();
}

TEST(ProgrammerModule, EveryCommandSendsItsExactFrameAndTakesItsReply)
{
    ASSERT_EQ(AllCommands().size(), 24u);
    for (const FrameCase &c : AllCommands()) {
        ScriptedPeer peer;
        ProgrammerModule module(peer);
        peer.Send(c.answer);
        std::uint16_t out = kUntouched;
        EXPECT_TRUE(c.run(module, out)) << c.name;
        EXPECT_EQ(peer.TakeSent(), c.sent) << c.name;
        EXPECT_EQ(peer.Unread(), 0u) << c.name;
        EXPECT_EQ(out, c.value.value_or(kUntouched)) << c.name;
    }
}

TEST(ProgrammerModule, MissingAcknowledgeFailsButKeepsTheReplyValue)
{
    for (const FrameCase &c : AllCommands()) {
        ScriptedPeer peer;
        ProgrammerModule module(peer);
        peer.Send(WithoutAck(c.answer));
        std::uint16_t out = kUntouched;
        EXPECT_FALSE(c.run(module, out)) << c.name;
        EXPECT_EQ(peer.TakeSent(), c.sent) << c.name;
        EXPECT_EQ(out, c.value.value_or(kUntouched)) << c.name;
    }
}

TEST(ProgrammerModule, WrongAcknowledgeByteFails)
{
    for (const FrameCase &c : AllCommands()) {
        ScriptedPeer peer;
        ProgrammerModule module(peer);
        peer.Send(WithoutAck(c.answer) + " 21");
        std::uint16_t out = kUntouched;
        EXPECT_FALSE(c.run(module, out)) << c.name;
        EXPECT_EQ(peer.Unread(), 0u) << c.name;
    }
}

TEST(ProgrammerModule, FailedWriteStopsTheExchange)
{
    struct Case
    {
        std::size_t writesAllowed;
        const char *sent;
    };
    // SetPulseTiming (F40C, 1) is seven bytes: the command byte and six characters.
    for (const Case c : {Case{0, ""}, Case{1, "05"}, Case{3, "05 43 30"}}) {
        ScriptedPeer peer;
        ProgrammerModule module(peer);
        peer.Send("20");
        peer.FailWritesAfter(c.writesAllowed);
        EXPECT_FALSE(module.ModuleSetPulseTiming(0xF40C, 1));
        EXPECT_EQ(peer.TakeSent(), c.sent);
        EXPECT_EQ(peer.Reads(), 0u) << "nothing is read after a failed write";
    }
}

TEST(ProgrammerModule, ShortReplyFailsWithoutReadingFurtherOrStoring)
{
    ScriptedPeer peer;
    ProgrammerModule module(peer);
    peer.Send("46 33 46"); // three of four digits, then nothing
    std::uint16_t word = kUntouched;
    EXPECT_FALSE(module.ModuleReadProgWord(word));
    EXPECT_EQ(word, kUntouched);
    EXPECT_EQ(peer.Reads(), 4u) << "no acknowledge read after a reply that did not arrive";
}

TEST(ProgrammerModule, NonHexReplyFailsButReadsItsAcknowledge)
{
    ScriptedPeer peer;
    ProgrammerModule module(peer);
    peer.Send("46 33 47 46 20"); // "F3GF"
    peer.Send("46 33 46 46 20"); // the next, sound reply
    std::uint16_t word = kUntouched;
    EXPECT_FALSE(module.ModuleReadProgWord(word));
    EXPECT_EQ(word, kUntouched);
    // The acknowledge was taken with its reply, so the next exchange reads its own bytes.
    EXPECT_TRUE(module.ModuleReadProgWord(word));
    EXPECT_EQ(word, 0x3FFF);
}

TEST(ProgrammerModule, LateByteIsReadAsPartOfTheNextReply)
{
    ScriptedPeer peer;
    ProgrammerModule module(peer);
    peer.Silence().Send("20"); // the acknowledge of the first command comes too late
    peer.Send("AA 20");        // the identification exchange's own answer
    EXPECT_FALSE(module.ModuleSerialPicCommand(6));
    std::uint8_t id = 0;
    // The late acknowledge is taken as the identification byte, and 0xAA as its acknowledge.
    EXPECT_FALSE(module.ModuleIdentify(id));
    EXPECT_EQ(id, 0x20);
    EXPECT_EQ(peer.TakeSent(), "01 36 06");
    EXPECT_EQ(peer.Unread(), 1u);
}

TEST(ProgrammerModule, ParityModeFollowsPowerOffAndParityCommands)
{
    struct Step
    {
        const char *name;
        std::function<bool(ProgrammerModule &)> run;
        const char *answer;
        bool parityAfter;
    };
    const Step steps[] = {
        {"parity set", [](ProgrammerModule &m) { return m.ModuleParityMode(); }, "20", true},
        {"other commands keep it", [](ProgrammerModule &m) { return m.ModuleProgramPulse(); }, "20",
         true},
        {"power-off clears it", [](ProgrammerModule &m) { return m.ModulePowerOff(); }, "20",
         false},
        {"set even when unacknowledged", [](ProgrammerModule &m) { return m.ModuleParityMode(); },
         "", true},
        {"cleared even when unacknowledged", [](ProgrammerModule &m) { return m.ModulePowerOff(); },
         "", false},
    };
    ScriptedPeer peer;
    ProgrammerModule module(peer);
    EXPECT_FALSE(module.ParityModeActive());
    for (const Step &s : steps) {
        peer.Send(s.answer);
        s.run(module);
        EXPECT_EQ(module.ParityModeActive(), s.parityAfter) << s.name;
    }
    // A command byte that never left changes nothing on either side.
    peer.FailWritesAfter(0);
    EXPECT_FALSE(module.ModuleParityMode());
    EXPECT_FALSE(module.ParityModeActive());
}

TEST(ProgrammerModule, TransferWordsTakeTheParityForm)
{
    struct Case
    {
        std::uint16_t word;
        bool parity;
        const char *sent;
    };
    const Case cases[] = {
        {0x0000, true, "17 03 32 30 30 30 30 30"},
        {0x3FFF, true, "17 03 44 30 46 30 46 46"},
        {0x1234, true, "17 03 33 30 44 30 38 34"},
        {0x3FFF, false, "03 45 30 46 30 46 37"},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer;
        ProgrammerModule module(peer);
        peer.Send("20 20");
        if (c.parity) {
            ASSERT_TRUE(module.ModuleParityMode());
        }
        EXPECT_TRUE(module.ModuleSerialLoadData(c.word));
        EXPECT_EQ(peer.TakeSent(), c.sent) << std::hex << c.word;
    }
    // The same reply digits E, F, F, 7 read in both forms.
    for (const bool parity : {false, true}) {
        ScriptedPeer peer;
        ProgrammerModule module(peer);
        peer.Send(parity ? "20 45 46 46 37 20" : "45 46 46 37 20");
        if (parity) {
            ASSERT_TRUE(module.ModuleParityMode());
        }
        std::uint16_t word = 0;
        EXPECT_TRUE(module.ModuleSerialReadData(word));
        EXPECT_EQ(word, parity ? 0x1FFF : 0x3FFF);
    }
}

TEST(ProgrammerModule, TranscriptShowsEveryExchangeOnALine)
{
    ScriptedPeer peer;
    ProgrammerModule module(peer);
    std::vector<std::string> lines;
    module.SetTranscript([&lines](const std::string &line) { lines.push_back(line); });
    peer.Send("46 33 46 46 20").Send("20").Send("46");
    std::uint16_t word = 0;
    module.ModuleReadProgWord(word);
    module.ModuleSetPulseTiming(0xF40C, 1);
    module.ModuleReadProgWord(word);
    peer.TakeSent();
    peer.FailWritesAfter(0); // nothing more leaves
    module.ModulePowerOff();
    const std::vector<std::string> expected = {
        "> 0B < 46 33 46 46 20",
        "> 05 43 30 30 31 34 46 < 20",
        "> 0B < 46 (timeout)",
        "> 07(write failed)",
    };
    EXPECT_EQ(lines, expected);

    module.SetTranscript({});
    peer.FailWritesAfter(1000);
    module.ModulePowerOff();
    EXPECT_EQ(lines.size(), expected.size());
}

} // namespace
