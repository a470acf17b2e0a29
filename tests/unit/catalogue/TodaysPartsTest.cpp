// The 30 parts the program has always had, taken from the catalogue in use, must give exactly what
// the built-in table and the code that read it gave (kept in legacy/ as the reference): the device
// record, the oscillator list, the configuration word <-> controls mapping for every word and every
// reachable control state, All Code Protect, the calibration instruction and the device ID. The
// program now takes its parts from the catalogue; a user sees no difference.
#include "device/AllCodeProtect.h"
#include "device/ConfigControls.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/catalogue/CatalogueInUse.h"
#include "device/catalogue/PartAlgorithms.h"
#include "device/catalogue/PartConfigMapping.h"
#include "device/catalogue/PartRecord.h"
#include "engine/ChipCommands.h"
#include "engine/DeviceId.h"
#include "hexfile/HexLayout.h"
#include "legacy/LegacyTable.h"

#include <gtest/gtest.h>

namespace {

const Catalogue &Shipped()
{
    return CatalogueInUse();
}

class TodaysPart : public testing::TestWithParam<QString>
{
protected:
    void SetUp() override
    {
        part = Shipped().Find(GetParam());
        ASSERT_NE(part, nullptr) << qPrintable(GetParam());
        today = *legacy::FindDevice(GetParam());
        device = *FindDevice(GetParam());
    }
    const PartDefinition *part = nullptr;
    legacy::LegacyRecord today;
    DeviceRecord device; // what the program uses
};

#define EXPECT_FIELD(field) EXPECT_EQ(loaded.field, today.field) << #field

TEST_P(TodaysPart, GivesTheSameDeviceRecord)
{
    const DeviceRecord &loaded = device;
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
    // Two rows carried 0 there; every reader took that as 2000.
    EXPECT_EQ(FileIdAddress(loaded), today.IdAddress == 0 ? 0x2000 : today.IdAddress);
    EXPECT_EQ(BlankWordText(loaded), WordMaskOf(*part) == 0x0FFF ? "0FFF" : "3FFF");
}

TEST_P(TodaysPart, GivesTheSameOscillatorList)
{
    EXPECT_EQ(OscillatorList(device), legacy::OscillatorList(today));
    ConfigControls previous;
    EXPECT_EQ(ControlsAfterDeviceSelection(device, previous),
              legacy::ControlsAfterDeviceSelection(today, previous));
    previous.WdtCbx = previous.PutCbx = previous.LvpCbx = previous.MpeenCbx = true;
    previous.OscBox = 1;
    EXPECT_EQ(ControlsAfterDeviceSelection(device, previous),
              legacy::ControlsAfterDeviceSelection(today, previous));
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
    const int items = static_cast<int>(legacy::OscillatorList(today).size());
    for (const ConfigControls &c : ReachableControls(items)) {
        for (uint16_t current : {uint16_t{0x0000}, uint16_t{0x3FFF}, uint16_t{0x1234}}) {
            ASSERT_EQ(ControlsToConfig(c, device, current),
                      legacy::ControlsToConfig(c, today, current))
                << "osc " << c.OscBox << " current " << current;
        }
    }
    EXPECT_EQ(ConfigBitsUsed(device), legacy::ConfigBitsUsed(today));
    EXPECT_EQ(ProtectionBits(device), legacy::ProtectionBits(today));
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
            const ConfigControls read = legacy::ConfigToControls(w, today, current);
            ASSERT_EQ(ConfigToControls(w, device, current), read) << "word " << word;
            ASSERT_EQ(AllCodeProtectWord(device, w, read),
                      legacy::AllCodeProtectWord(today, w, read))
                << "word " << word;
        }
    }
}

TEST_P(TodaysPart, KeepsCalibrationDeviceIdAndEngineQuirks)
{
    const CalibrationDef *cal = LastWordCalibration(*part);
    const auto instruction = CalibrationInstruction(device, 0x5A);
    ASSERT_EQ(cal != nullptr, instruction.has_value());
    ASSERT_EQ(today.HasCalibration != 0, instruction.has_value());
    if (cal) {
        EXPECT_EQ(cal->address, ParseHexText(today.ProgMaxText).value_or(0));
        EXPECT_EQ(*CalibrationAddress(device), cal->address);
        EXPECT_EQ(*instruction, cal->kind == CalibrationKind::MovlwLastWord ? 0x0C5A : 0x345A);
    }
    EXPECT_EQ(HasDeviceId(device), legacy::HasDeviceId(today));
    if (part->deviceId) {
        for (uint16_t revision : {uint16_t{0}, part->revisionMask}) {
            const uint16_t word = *part->deviceId | revision;
            EXPECT_EQ(DecodeDeviceId(word).partName, legacy::PartOfDeviceId(word));
            EXPECT_EQ(DecodeDeviceId(word).revision, revision);
        }
    }
    // The quirks the engine asks about by name: the 16f628 writes its configuration by the
    // Serial method only, and the 16f628a is erased by its bulk erase commands.
    EXPECT_EQ(ConfigSerialOnly(device), today.ConfigSerialOnly != 0);
    EXPECT_EQ(ErasesByBulkCommands(device), today.EraseByBulkCommands != 0);
    const auto rule = part->config.front().allCodeProtect;
    ASSERT_TRUE(rule.has_value());
    EXPECT_EQ(*rule == AllCodeProtect::FromControls,
              today.ProtectAll == legacy::ProtectAllRule::FromControls);
    EXPECT_EQ(*rule == AllCodeProtect::Unchanged,
              today.ProtectAll == legacy::ProtectAllRule::Unchanged);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, TodaysPart, testing::ValuesIn(legacy::SelectorDeviceNames()),
                         [](const testing::TestParamInfo<QString> &row) {
                             return row.param.toStdString();
                         });

TEST(TodaysParts, KeepTheSelectorOrderAheadOfTheNewParts)
{
    EXPECT_EQ(SelectorDeviceNames().mid(0, legacy::SelectorDeviceNames().size()),
              legacy::SelectorDeviceNames());
}

} // namespace
