// The module falling silent at every exchange of a short operation, one family at a time: the
// operation reports failure, powers the chip off unless the power-on itself broke off, gives
// up within the limit of the broken exchange plus the two of the power-off, and a read leaves
// the image untouched past the words it read.
#include "EngineRig.h"

#include "device/HexText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Operation
{
    const char *name;
    std::function<bool(EngineRig &)> run;
    bool readsProgram;
};

const std::vector<Operation> &Operations()
{
    static const std::vector<Operation> operations = {
        {"ReadProgram", [](EngineRig &r) { return r.engine.PicReadProgMem().Succeeded(); }, true},
        {"WriteProgram", [](EngineRig &r) { return r.engine.PicWriteProgMem().Succeeded(); },
         false},
        {"ReadId", [](EngineRig &r) { return r.engine.PicReadIDCode().Ok(); }, false},
        {"WriteConfig", [](EngineRig &r) { return r.engine.PicWriteConfig(0x0FF3).Ok(); }, false},
    };
    return operations;
}

struct FamilyCase
{
    const char *device;
    bool parallel;
};

struct FaultCase
{
    FamilyCase family;
    Operation operation;
};

std::vector<FaultCase> AllFaultCases()
{
    std::vector<FaultCase> all;
    for (const FamilyCase f :
         {FamilyCase{"16c54", true}, FamilyCase{"16c62A", false}, FamilyCase{"16f84", true},
          FamilyCase{"16f84", false}, FamilyCase{"12c508", false}}) {
        for (const Operation &op : Operations()) {
            all.push_back({f, op});
        }
    }
    return all;
}

std::unique_ptr<EngineRig> MakeRig(const FamilyCase &f, bool chipHoldsWords)
{
    auto rig = std::make_unique<EngineRig>(f.device);
    rig->host.parallel = f.parallel;
    rig->host.progEnd = "0003";
    for (int a = 0; a < 4; ++a) {
        if (chipHoldsWords) {
            rig->sim->chip().SetProgramWord(a, 0x0123 + a);
        }
        rig->image.SetProgramWordText(a, "0BCD");
    }
    rig->image.SetProgramWordText(0, "0055");
    // A write command that is not acknowledged asks the user; going on lets the silence show
    // at the next exchange, as Abort would end the write as the user's choice.
    const bool twelveBitModule = rig->device.DeviceFamily == DeviceFamily::k16C5x;
    for (int i = 0; i < 8; ++i) {
        rig->host.writeErrorAnswers
            << (twelveBitModule ? WriteErrorAnswer::Ok : WriteErrorAnswer::Ignore);
    }
    return rig;
}

class EngineSilentModule : public ::testing::TestWithParam<FaultCase>
{
};

TEST_P(EngineSilentModule, FailsPowersOffAndGivesUpPromptly)
{
    const FaultCase &c = GetParam();
    int exchanges = 0;
    {
        auto clean = MakeRig(c.family, c.operation.readsProgram);
        ASSERT_TRUE(c.operation.run(*clean));
        exchanges = clean->sim->ExchangeCount();
    }
    for (int cut = 1; cut <= exchanges; ++cut) {
        SCOPED_TRACE("silent from exchange " + std::to_string(cut));
        auto rig = MakeRig(c.family, c.operation.readsProgram);
        rig->NoAckFrom(cut);
        const bool inFinalPowerOff = cut > exchanges - 2;
        EXPECT_EQ(c.operation.run(*rig), inFinalPowerOff);

        std::vector<std::string> sent;
        for (const std::string &line : rig->sim->Transcript()) {
            sent.push_back(line.substr(0, line.find(" ->")));
        }
        // Whatever broke off, the power-off sequence follows once, also after a failed
        // power-on; a module that stopped answering is never taken for a word that did not
        // take, so nobody is asked about it.
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(static_cast<int>(sent.size()), std::min(cut + 2, exchanges));
        EXPECT_EQ(sent[sent.size() - 2], "05 43 30 30 31 34 46");
        EXPECT_EQ(sent.back(), "07");
        EXPECT_LE(rig->channel.readsGivenUp, 3) << "the broken exchange and the power-off";
        EXPECT_TRUE(rig->host.writeErrors.isEmpty());
        if (c.operation.readsProgram) {
            // Read words form a prefix; the rest keeps its text.
            bool untouchedSeen = false;
            for (int a = 0; a < 4; ++a) {
                const QString text = rig->image.GetProgramWordText(a);
                const bool untouched = text == (a == 0 ? "0055" : "0BCD");
                EXPECT_TRUE(untouched || !untouchedSeen) << a;
                untouchedSeen = untouchedSeen || untouched;
                if (!untouched) {
                    EXPECT_EQ(*ParseHexText(text) & 0x0FFF, 0x0123 + a) << a;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Families, EngineSilentModule, ::testing::ValuesIn(AllFaultCases()),
                         [](const auto &row) {
                             return std::string(row.param.family.device) +
                                    (row.param.family.parallel ? "_Parallel_" : "_Serial_") +
                                    row.param.operation.name;
                         });

} // namespace
