// A user's part file read by the simulator: what it refuses and where, which chip each part
// becomes, and that the catalogue's own files describe the chips the simulator knows.

#include "PartFile.h"

#include <gtest/gtest.h>

#include <filesystem>

using tolm::sim::AllChips;
using tolm::sim::ChipAlgorithm;
using tolm::sim::ChipDescription;
using tolm::sim::FindChip;
using tolm::sim::UserParts;

namespace {

// A 14-bit part in the catalogue's format, 17 lines with the extra ones at line 6.
std::string Part(const std::string &algorithm, const std::string &extra = {},
                 const std::string &words = "1024")
{
    return "name = \"mine\"\nalgorithm = \"" + algorithm +
           "\"\nmethods = [\"serial\"]\nprogram_words = " + words + "\ndata_bytes = 64\n" + extra +
           "\n[id_locations]\naddress = 0x2000\nused_bits = 0x000F\n"
           "[[config]]\naddress = 0x2007\nimplemented = 0x3FFF\nblank = 0x3FFF\nfields = [\n"
           "  { name = \"CP\", mask = 0x2000, control = \"protection\", values = { none = 0x2000, "
           "all = 0 } },\n  { name = \"CPD\", mask = 0x0100, control = \"CpdCbx\", values = { on = "
           "0, off = 0x0100 } },\n]\n";
}

// The same as one of several parts of a file.
std::string InPart(std::string text)
{
    for (const auto &[from, to] : {std::pair{"[id_locations]", "[part.id_locations]"},
                                   std::pair{"[[config]]", "[[part.config]]"}}) {
        text.replace(text.find(from), std::string(from).size(), to);
    }
    return "[[part]]\n" + text;
}

struct Refusal
{
    const char *name;
    std::string text;
    const char *error; // expected message after "mine.toml:", or its beginning
};

class PartFileRefusalTest : public testing::TestWithParam<Refusal>
{
};

TEST_P(PartFileRefusalTest, NamesTheLineColumnAndRule)
{
    UserParts parts;
    std::string error;
    EXPECT_FALSE(parts.LoadText(GetParam().text, "mine.toml", error));
    EXPECT_EQ(error.rfind(std::string("mine.toml:") + GetParam().error, 0), 0u) << error;
    EXPECT_TRUE(parts.Chips().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PartFileRefusalTest,
    testing::Values(
        Refusal{"Syntax", "name = \"mine\nalgorithm = 1\n", "1:"},
        Refusal{"NoName", "algorithm = \"flash14\"\n", "1:1: the key \"name\" is missing"},
        Refusal{"UnknownAlgorithm", Part("flash16"),
                "2:13: the simulator has no chip for the algorithm \"flash16\""},
        Refusal{"TooBig", Part("flash14", "", "8193"),
                "4:17: \"program_words\" must lie between 1 and 8192"},
        Refusal{"RevisionMaskMissing", Part("flash14", "device_id = 0x0560"),
                "1:1: the key \"revision_mask\" is missing"},
        Refusal{"ConfigurationOnTheDeviceId",
                Part("flash14") + "[[config]]\naddress = 0x2006\nimplemented = 1\nblank = 1\n",
                "19:11: the address is not a configuration-space word the chip can have"},
        Refusal{"CalibrationOnTheConfiguration",
                Part("flash14-bulk") +
                    "[[calibration]]\nkind = \"config-word\"\naddress = 0x2007\n",
                "20:11: the calibration word lies on a configuration word"},
        Refusal{"UnknownCalibrationKind",
                Part("flash14-bulk") + "[[calibration]]\nkind = \"fuse\"\n",
                "19:8: the simulator has no calibration value of the kind \"fuse\""}),
    [](const testing::TestParamInfo<Refusal> &p) { return p.param.name; });

struct Mapping
{
    const char *name;
    std::string text;
    ChipAlgorithm algorithm;
};

class PartFileMappingTest : public testing::TestWithParam<Mapping>
{
};

TEST_P(PartFileMappingTest, BecomesTheChipFamilyItDescribes)
{
    UserParts parts;
    std::string error;
    ASSERT_TRUE(parts.LoadText(GetParam().text, "mine.toml", error)) << error;
    const ChipDescription *chip = parts.Find("mine");
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(chip->algorithm, GetParam().algorithm);
    EXPECT_EQ(chip->codeProtectMask, 0x2000);
    EXPECT_EQ(chip->dataProtectMask, 0x0100);
}

INSTANTIATE_TEST_SUITE_P(
    Algorithms, PartFileMappingTest,
    testing::Values(
        Mapping{"EraseWrite", Part("flash14"), ChipAlgorithm::FlashEraseWrite},
        Mapping{"ProgramOnly", Part("flash14-bulk"), ChipAlgorithm::FlashProgramOnly},
        Mapping{"Block", Part("flash14-block8", "write_latch_words = 8"),
                ChipAlgorithm::FlashEightWordBlock},
        Mapping{"Eprom", Part("eprom14"), ChipAlgorithm::Eprom14},
        Mapping{"OscCal",
                Part("flash14-bulk") + "[[calibration]]\nkind = \"retlw-last-word\"\naddress = "
                                       "0x3FF\n[[calibration]]\nkind = \"band-gap\"\naddress = "
                                       "0x2007\nmask = 0x3000\n",
                ChipAlgorithm::FlashOscCalBandGap},
        Mapping{"CalibrationWord",
                Part("flash14-bulk") +
                    "[[calibration]]\nkind = \"config-word\"\naddress = 0x2008\n",
                ChipAlgorithm::FlashCalibrationWord},
        Mapping{"TwoConfigWords",
                Part("flash14-bulk") +
                    "[[config]]\naddress = 0x2008\nimplemented = 0x0700\nblank = 0x3FFF\n",
                ChipAlgorithm::FlashTwoConfigWords}),
    [](const testing::TestParamInfo<Mapping> &p) { return p.param.name; });

TEST(PartFileTest, SeveralPartsInOneFileAllLoad)
{
    UserParts parts;
    std::string error;
    std::string second = InPart(Part("flash14-bulk"));
    second.replace(second.find("mine"), 4, "also");
    ASSERT_TRUE(parts.LoadText(InPart(Part("flash14")) + second, "mine.toml", error)) << error;
    ASSERT_EQ(parts.Chips().size(), 2u);
    EXPECT_EQ(parts.Find("also")->algorithm, ChipAlgorithm::FlashProgramOnly);
    EXPECT_EQ(parts.Source(1), "mine.toml");
}

// The catalogue's shipped part files and the simulator's own chips are written apart, from the
// same sources; any difference in what the chip is means one of them is wrong.
TEST(PartFileTest, CatalogueFilesDescribeTheSimulatorsChips)
{
    const std::filesystem::path folder(TOLM_DEVICES_DIR);
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no part files at " << folder;
    }
    UserParts parts;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        std::string error;
        EXPECT_TRUE(parts.Load(entry.path().string(), error)) << error;
    }
    EXPECT_EQ(parts.Chips().size(), 53u);
    for (const ChipDescription &file : parts.Chips()) {
        const ChipDescription *own = FindChip(file.name);
        ASSERT_NE(own, nullptr) << file.name;
        SCOPED_TRACE(std::string(file.name));
        // The first thirty chips keep the simulator's older model: every configuration bit a
        // cell, and the 16f628a's code 8 replacing a word. Both are compared from then on.
        if (own >= &AllChips()[30]) {
            EXPECT_EQ(file.algorithm, own->algorithm);
            EXPECT_EQ(file.configImplemented, own->configImplemented);
        }
        EXPECT_EQ(file.programWords, own->programWords);
        EXPECT_EQ(file.dataBytes, own->dataBytes);
        EXPECT_EQ(file.deviceId, own->deviceId);
        EXPECT_EQ(file.revisionMask, own->revisionMask);
        EXPECT_EQ(file.configErased, own->configErased);
        EXPECT_EQ(file.codeProtectMask, own->codeProtectMask);
        EXPECT_EQ(file.dataProtectMask, own->dataProtectMask);
        EXPECT_EQ(file.bandGapMask, own->bandGapMask);
        EXPECT_EQ(file.calibrationWord.has_value(), own->calibrationWord.has_value());
        EXPECT_EQ(file.secondConfig.has_value(), own->secondConfig.has_value());
        if (file.secondConfig && own->secondConfig) {
            EXPECT_EQ(file.secondConfig->implemented, own->secondConfig->implemented);
            EXPECT_EQ(file.secondConfig->erased, own->secondConfig->erased);
        }
        EXPECT_EQ(file.configCalibration.has_value(), own->configCalibration.has_value());
        if (file.configCalibration && own->configCalibration) {
            EXPECT_EQ(file.configCalibration->address, own->configCalibration->address);
        }
        EXPECT_EQ(file.needsParity, own->needsParity);
    }
}

} // namespace
