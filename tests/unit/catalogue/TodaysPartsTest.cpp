// The 30 parts the program has always had, loaded from their files, must give exactly what the
// built-in table and the code that reads it give today: the device record, the oscillator list,
// the configuration word <-> controls mapping for every word and every reachable control state,
// All Code Protect, the calibration instruction and the device ID. Whatever the program later
// takes from the catalogue instead of the table, a user sees no difference.
#include "device/AllCodeProtect.h"
#include "device/ConfigControls.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/DeviceTable.h"
#include "device/HexText.h"
#include "device/catalogue/Catalogue.h"
#include "device/catalogue/PartAlgorithms.h"
#include "device/catalogue/PartConfigMapping.h"
#include "device/catalogue/PartRecord.h"
#include "engine/ChipCommands.h"
#include "engine/DeviceId.h"
#include "hexfile/HexLayout.h"

#include <gtest/gtest.h>

namespace {

const Catalogue &Shipped()
{
    static const Catalogue catalogue = LoadCatalogue(ShippedPartsFolder(), QString());
    return catalogue;
}

class TodaysPart : public testing::TestWithParam<QString>
{
protected:
    void SetUp() override
    {
        part = Shipped().Find(GetParam());
        ASSERT_NE(part, nullptr) << qPrintable(GetParam());
        today = *FindDevice(GetParam());
    }
    const PartDefinition *part = nullptr;
    DeviceRecord today;
};

#define EXPECT_FIELD(field) EXPECT_EQ(loaded.field, today.field) << #field

TEST_P(TodaysPart, GivesTheSameDeviceRecord)
{
    const DeviceRecord loaded = ToDeviceRecord(*part);
    EXPECT_FIELD(DeviceName);
    EXPECT_FIELD(NoConfigWord);
    EXPECT_FIELD(ProgMaxText);
    EXPECT_FIELD(DataMaxText);
    EXPECT_FIELD(HasSerial);
    EXPECT_FIELD(HasParallel);
    EXPECT_FIELD(HasDataMemory);
    EXPECT_FIELD(HasPartialProtect);
    EXPECT_FIELD(HasWdt);
    EXPECT_FIELD(HasPwrt);
    // The 16c61's row sets the power-up timer's sense without the timer; the sense is read only
    // together with HasPwrt, so a part without the timer has none.
    if (today.HasPwrt) {
        EXPECT_FIELD(PwrtActiveHigh);
    }
    EXPECT_FIELD(HasBrownout);
    EXPECT_FIELD(HasMclre);
    EXPECT_FIELD(HasLvp);
    EXPECT_FIELD(HasDebug);
    EXPECT_FIELD(HasWrt);
    EXPECT_FIELD(HasCpd);
    EXPECT_FIELD(HasMemoryParity);
    EXPECT_FIELD(HasCalibration);
    EXPECT_FIELD(ProtMask);
    EXPECT_FIELD(ProtNoneWord);
    EXPECT_FIELD(ProtUp34Word);
    EXPECT_FIELD(ProtUp12Word);
    EXPECT_FIELD(ProtAllWord);
    EXPECT_FIELD(ConfigAddress);
    EXPECT_FIELD(PowerOnMode);
    EXPECT_FIELD(DeviceFamily);
    // Two rows carry 0 for the ID locations of a 14-bit part; every reader takes that as 2000,
    // which is what the files say.
    EXPECT_EQ(FileIdAddress(loaded), FileIdAddress(today));
    EXPECT_EQ(BlankWordText(today), WordMaskOf(*part) == 0x0FFF ? "0FFF" : "3FFF");
}

TEST_P(TodaysPart, GivesTheSameOscillatorList)
{
    EXPECT_EQ(OscillatorItems(*part), OscillatorList(today));
    const ConfigControls previous;
    EXPECT_EQ(PartControlsAfterSelection(*part, previous),
              ControlsAfterDeviceSelection(today, previous));
}

// Every control state a user can reach: any oscillator item, any check boxes, and at most one
// protection choice (they are radio buttons; a word of unknown protection reads as none).
std::vector<ConfigControls> ReachableControls(int oscItems)
{
    std::vector<ConfigControls> states;
    for (int osc = 0; osc < oscItems; ++osc) {
        for (int boxes = 0; boxes < (1 << 9); ++boxes) {
            for (int choice = 0; choice <= 4; ++choice) {
                ConfigControls c;
                c.OscBox = osc;
                bool *box[] = {&c.WdtCbx,   &c.PutCbx, &c.LvpCbx, &c.BOutCbx, &c.MClrCbx,
                               &c.DebugCbx, &c.CpdCbx, &c.WrtCbx, &c.MpeenCbx};
                for (int b = 0; b < 9; ++b)
                    *box[b] = (boxes >> b) & 1;
                c.ProtNoneBtn = choice == 1;
                c.ProtUp34Btn = choice == 2;
                c.ProtUp12Btn = choice == 3;
                c.ProtAllBtn = choice == 4;
                states.push_back(c);
            }
        }
    }
    return states;
}

TEST_P(TodaysPart, BuildsTheSameWordFromEveryControlState)
{
    const int items = static_cast<int>(OscillatorList(today).size());
    for (const ConfigControls &c : ReachableControls(items)) {
        for (uint16_t current : {uint16_t{0x0000}, uint16_t{0x3FFF}, uint16_t{0x1234}}) {
            ASSERT_EQ(PartControlsToConfig(c, *part, current), ControlsToConfig(c, today, current))
                << "osc " << c.OscBox << " current " << current;
        }
    }
    EXPECT_EQ(PartConfigBitsUsed(*part), ConfigBitsUsed(today));
}

TEST_P(TodaysPart, ReadsEveryWordIntoTheSameControls)
{
    ConfigControls before; // "None", nothing ticked
    ConfigControls ticked;
    ticked.WdtCbx = ticked.PutCbx = ticked.LvpCbx = ticked.BOutCbx = ticked.MClrCbx = true;
    ticked.DebugCbx = ticked.CpdCbx = ticked.WrtCbx = ticked.MpeenCbx = true;
    ticked.ProtNoneBtn = false;
    ticked.ProtUp34Btn = true;
    for (uint32_t word = 0; word <= 0xFFFF; ++word) {
        for (const ConfigControls &current : {before, ticked}) {
            const auto w = static_cast<uint16_t>(word);
            const ConfigControls read = ConfigToControls(w, today, current);
            ASSERT_EQ(PartConfigToControls(w, *part, current), read) << "word " << word;
            ASSERT_EQ(PartAllCodeProtectWord(*part, w, read), AllCodeProtectWord(today, w, read))
                << "word " << word;
        }
    }
}

TEST_P(TodaysPart, KeepsCalibrationDeviceIdAndEngineQuirks)
{
    const CalibrationDef *cal = LastWordCalibration(*part);
    const auto instruction = CalibrationInstruction(today, 0x5A);
    ASSERT_EQ(cal != nullptr, instruction.has_value());
    if (cal) {
        EXPECT_EQ(cal->address, ParseHexText(today.ProgMaxText).value_or(0));
        EXPECT_EQ(*instruction, cal->kind == CalibrationKind::MovlwLastWord ? 0x0C5A : 0x345A);
    }
    EXPECT_EQ(part->deviceId.has_value(), HasDeviceId(today));
    if (part->deviceId) {
        EXPECT_EQ(DecodeDeviceId(*part->deviceId | part->revisionMask).partName, GetParam());
    }
    // The quirks the engine asks the record about by name: the 16f628 writes its configuration
    // by the Serial method only, and the 16f628a is erased by its bulk erase commands.
    EXPECT_EQ(part->configSerialOnly, today.ConfigSerialOnly != 0);
    EXPECT_EQ(part->configSerialOnly, GetParam() == QLatin1String("16f628"));
    EXPECT_EQ(part->algorithm == PartAlgorithm::Flash14Bulk, today.EraseByBulkCommands != 0);
    EXPECT_EQ(part->algorithm == PartAlgorithm::Flash14Bulk,
              GetParam() == QLatin1String("16f628a"));
    const auto rule = part->config.front().allCodeProtect;
    ASSERT_TRUE(rule.has_value());
    EXPECT_EQ(*rule == AllCodeProtect::FromControls,
              today.ProtectAll == ProtectAllRule::FromControls);
    EXPECT_EQ(*rule == AllCodeProtect::Unchanged, today.ProtectAll == ProtectAllRule::Unchanged);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, TodaysPart, testing::ValuesIn(SelectorDeviceNames()),
                         [](const testing::TestParamInfo<QString> &row) {
                             return row.param.toStdString();
                         });

TEST(TodaysParts, KeepTheSelectorOrderAheadOfTheNewParts)
{
    EXPECT_EQ(Shipped().Names().mid(0, SelectorDeviceNames().size()), SelectorDeviceNames());
}

} // namespace
