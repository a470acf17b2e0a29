#include "link/ModuleCheck.h"
#include "ScriptedPeer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ModuleCheck, SuitabilityForTheDevice)
{
    struct Case
    {
        const char *name;
        bool hasMemoryParity;
        const char *answer;
        ModuleSuitability expected;
        const char *sent;
        std::string message;
    };
    const Case cases[] = {
        {"no parity, no module", false, "", ModuleSuitability::Suitable, "", ""},
        {"no parity, foreign module", false, "55 20", ModuleSuitability::Suitable, "", ""},
        {"capable module", true, "AA 20", ModuleSuitability::Suitable, "06", ""},
        {"foreign module", true, "55 20", ModuleSuitability::IncorrectModule, "06",
         "Incorrect Programmer Device"},
        {"space as id", true, "20 20", ModuleSuitability::IncorrectModule, "06",
         "Incorrect Programmer Device"},
        {"no module", true, "", ModuleSuitability::NotConnected, "06",
         "Programmer Device Not Connected"},
        {"id without acknowledge", true, "AA", ModuleSuitability::NotConnected, "06",
         "Programmer Device Not Connected"},
        {"id with wrong acknowledge", true, "AA 21", ModuleSuitability::NotConnected, "06",
         "Programmer Device Not Connected"},
    };
    for (const Case &c : cases) {
        ScriptedPeer peer;
        ProgrammerModule module(peer);
        peer.Send(c.answer);
        const ModuleSuitability result = CheckModuleForDevice(c.hasMemoryParity, module);
        EXPECT_EQ(result, c.expected) << c.name;
        EXPECT_EQ(peer.TakeSent(), c.sent) << c.name;
        EXPECT_EQ(ModuleSuitabilityMessage(result), c.message) << c.name;
    }
}

TEST(ModuleCheck, PresenceIsAnAcknowledgedPowerOff)
{
    struct Case
    {
        const char *answer;
        bool present;
    };
    for (const Case c : {Case{"20", true}, Case{"", false}, Case{"21", false}}) {
        ScriptedPeer peer;
        ProgrammerModule module(peer);
        peer.Send("20");
        ASSERT_TRUE(module.ModuleParityMode());
        peer.TakeSent();
        peer.Send(c.answer);
        EXPECT_EQ(ModulePresent(module), c.present) << c.answer;
        EXPECT_EQ(peer.TakeSent(), "07");
        EXPECT_FALSE(module.ParityModeActive()) << "the check is a power-off";
    }
}

} // namespace
