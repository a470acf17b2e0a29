// One row per rule a part definition can break: a small broken definition, the rule it must be
// refused for, and where its message must point.
#include "device/catalogue/Catalogue.h"

#include <gtest/gtest.h>

namespace {

// A clean part; every row breaks it in one place. Line numbers below refer to this text.
const char *const kGoodPart = R"(name = "t1"
algorithm = "flash14"
methods = ["parallel", "serial"]
program_words = 1024
data_bytes = 64
device_id = 0x0560
revision_mask = 0x001F

[id_locations]
address = 0x2000
used_bits = 0x000F

[[config]]
address = 0x2007
implemented = 0x3FFF
blank = 0x3FFF
checksum_mask = 0x3FFF
protection = "patterns"
all_code_protect = "clear-protection-bits"
fields = [
  { name = "FOSC", mask = 0x0003, control = "OscBox", values = { LP = 0, XT = 1, HS = 2, RC = 3 } },
  { name = "WDTE", mask = 0x0004, control = "WdtCbx", values = { off = 0, on = 4 } },
  { name = "CP", mask = 0x3FF0, control = "protection", values = { none = 0x3FF0, all = 0 } },
]

[checksums]
blank = 0x3BFF
pattern = 0x07CD
)";

QByteArray Broken(const char *find, const char *replace)
{
    QByteArray text(kGoodPart);
    const qsizetype at = text.indexOf(find);
    EXPECT_GE(at, 0) << find;
    return text.replace(at, qsizetype(qstrlen(find)), replace);
}

TEST(CatalogueRules, TheCleanPartLoads)
{
    const Catalogue set = ReadPartSet({{QStringLiteral("t.toml"), kGoodPart}}, false);
    EXPECT_TRUE(set.problems.empty())
        << (set.problems.empty() ? "" : qPrintable(set.problems[0].Text()));
    ASSERT_EQ(set.parts.size(), 1u);
}

TEST(CatalogueRules, NonAsciiInCommentsAndStringsIsKept)
{
    const QByteArray text = Broken("name = \"t1\"", "name = \"t1\" # caf\u00e9")
                                .replace("RC = 3", "\"RC \u00b5s\" = 3");
    const Catalogue set = ReadPartSet({{QStringLiteral("t.toml"), text}}, false);
    ASSERT_EQ(set.parts.size(), 1u)
        << (set.problems.empty() ? "" : qPrintable(set.problems[0].Text()));
    EXPECT_EQ(set.parts[0].config[0].fields[0].values[3].name, QString::fromUtf8("RC \u00b5s"));
}

struct RuleCase
{
    const char *name;
    const char *find;
    const char *replace;
    CatalogueRule rule;
    int line;
    int column;
};

class BrokenDefinition : public testing::TestWithParam<RuleCase>
{
};

TEST_P(BrokenDefinition, IsLeftOutWithTheRuleAndItsPlace)
{
    const RuleCase c = GetParam();
    const Catalogue set =
        ReadPartSet({{QStringLiteral("t.toml"), Broken(c.find, c.replace)}}, false);
    EXPECT_TRUE(set.parts.empty());
    ASSERT_FALSE(set.problems.empty());
    const CatalogueProblem &p = set.problems.front();
    EXPECT_EQ(p.rule, c.rule) << qPrintable(p.Text());
    EXPECT_EQ(p.file, QStringLiteral("t.toml"));
    EXPECT_EQ(p.line, c.line) << qPrintable(p.Text());
    EXPECT_EQ(p.column, c.column) << qPrintable(p.Text());
    EXPECT_TRUE(p.Text().startsWith(QStringLiteral("t.toml:%1:%2: ").arg(c.line).arg(c.column)));
}

using R = CatalogueRule;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rules, BrokenDefinition, testing::Values(
    RuleCase{"Syntax", "program_words = 1024", "program_words = = 1024", R::Syntax, 4, 17},
    RuleCase{"NonAsciiInAKey", "data_bytes = 64", "data_byt\u00e9s = 64", R::Syntax, 5, 9},
    RuleCase{"NameNotFirst", "name = \"t1\"\nalgorithm = \"flash14\"", "algorithm = \"flash14\"\nname = \"t1\"", R::NameNotFirst, 1, 1},
    RuleCase{"MissingKey", "program_words = 1024\n", "", R::MissingKey, 1, 1},
    RuleCase{"WrongType", "program_words = 1024", "program_words = \"1024\"", R::WrongType, 4, 17},
    RuleCase{"UnknownKey", "data_bytes = 64", "data_byte = 64", R::UnknownKey, 5, 1},
    RuleCase{"UnknownAlgorithm", "\"flash14\"", "\"flash15\"", R::UnknownName, 2, 13},
    RuleCase{"UnknownControl", "control = \"WdtCbx\"", "control = \"WatchdogBox\"", R::UnknownName, 22, 45},
    RuleCase{"ProgramTooBig", "program_words = 1024", "program_words = 9000", R::SizeOutsideAlgorithm, 4, 17},
    RuleCase{"DataTooBig", "data_bytes = 64", "data_bytes = 512", R::SizeOutsideAlgorithm, 5, 14},
    RuleCase{"MethodNotOfAlgorithm", "\"flash14\"", "\"flash14-bulk\"", R::SizeOutsideAlgorithm, 3, 11},
    RuleCase{"WriteLatch", "data_bytes = 64", "data_bytes = 64\nwrite_latch_words = 8", R::SizeOutsideAlgorithm, 6, 21},
    RuleCase{"MaskWiderThanWord", "implemented = 0x3FFF", "implemented = 0x7FFF", R::MaskWiderThanWord, 15, 15},
    RuleCase{"DeviceIdInRevision", "device_id = 0x0560", "device_id = 0x0561", R::DeviceIdInRevision, 6, 13},
    RuleCase{"FieldOutsideImplemented", "implemented = 0x3FFF", "implemented = 0x3FFB", R::FieldOutsideImplemented, 22, 27},
    RuleCase{"FieldsOverlap", "mask = 0x0004", "mask = 0x0006", R::FieldsOverlap, 22, 27},
    RuleCase{"ValueOutsideField", "off = 0, on = 4", "off = 0, on = 8", R::ValueOutsideField, 22, 80},
    RuleCase{"ValuesNotDistinct", "HS = 2, RC = 3", "HS = 2, RC = 2", R::ValuesNotDistinct, 21, 95},
    RuleCase{"CheckBoxWithoutOnOff", "off = 0, on = 4", "off = 0, yes = 4", R::ControlNeedsValues, 22, 3},
    RuleCase{"OscillatorPatternMissing", ", RC = 3 }", " }", R::ControlNeedsValues, 21, 3},
    RuleCase{"ProtectionWithoutAll", "none = 0x3FF0, all = 0", "none = 0x3FF0, upper12 = 0", R::ControlNeedsValues, 23, 3},
    RuleCase{"SelectedNamesNoValue", "RC = 3 }", "RC = 3 }, selected = \"ER\"", R::ControlNeedsValues, 21, 111},
    RuleCase{"ParityWithoutItsBox", "data_bytes = 64", "data_bytes = 64\nmemory_parity = true", R::ControlNeedsValues, 6, 17},
    RuleCase{"VppConditionUnknownValue", "data_bytes = 64", "data_bytes = 64\nvpp_before_vdd = { FOSC = [\"IntRC\"] }", R::UnknownName, 6, 18},
    RuleCase{"ProtectionWordMismatch", "protection = \"patterns\"", "protection = \"words\"\nprotection_words = { none = 0x3FF0, all = 0x0010 }", R::ProtectionWordMismatch, 19, 43},
    RuleCase{"IdLocationsOutsideSpace", "address = 0x2000", "address = 0x2001", R::LocationOutsideSpace, 10, 11},
    RuleCase{"ConfigWordOutsideSpace", "address = 0x2007", "address = 0x2107", R::LocationOutsideSpace, 14, 11},
    RuleCase{"CalibrationOnConfigWord", "[checksums]", "[[calibration]]\nkind = \"config-word\"\naddress = 0x2007\n\n[checksums]", R::LocationsOverlap, 28, 11},
    RuleCase{"ChecksumMaskMissing", "checksum_mask = 0x3FFF\n", "", R::MissingKey, 13, 1},
    RuleCase{"MethodsEmpty", "[\"parallel\", \"serial\"]", "[]", R::SizeOutsideAlgorithm, 3, 11},
    RuleCase{"VppWrongType", "data_bytes = 64", "data_bytes = 64\nvpp_before_vdd = \"yes\"", R::WrongType, 6, 18},
    RuleCase{"TimingTooLong", "[id_locations]", "[timing]\nprogram_ms = 20000\n\n[id_locations]", R::WrongType, 10, 14},
    RuleCase{"UnknownProtectionChoice", "protection = \"patterns\"", "protection = \"words\"\nprotection_words = { none = 0x3FF0, most = 0x0010 }", R::UnknownKey, 19, 37},
    RuleCase{"SystemControlTwice", "control = \"protection\"", "control = \"WdtCbx\"", R::ControlNeedsValues, 23, 3},
    RuleCase{"CalibrationNotAtLastWord", "[checksums]", "[[calibration]]\nkind = \"retlw-last-word\"\naddress = 0x03FE\n\n[checksums]", R::LocationOutsideSpace, 28, 11},
    RuleCase{"BandGapWithoutMask", "[checksums]", "[[calibration]]\nkind = \"band-gap\"\naddress = 0x2007\n\n[checksums]", R::MissingKey, 26, 1},
    RuleCase{"BandGapOutsideImplemented", "[checksums]", "[[calibration]]\nkind = \"band-gap\"\naddress = 0x2007\nmask = 0x4000\n\n[checksums]", R::FieldOutsideImplemented, 29, 8},
    RuleCase{"ChecksumDiffers", "blank = 0x3BFF", "blank = 0x3BFE", R::ChecksumDiffers, 27, 9}),
    [](const testing::TestParamInfo<RuleCase> &row) { return row.param.name; });
// clang-format on

TEST(CatalogueRules, SecondPartOfOneNameIsLeftOut)
{
    const Catalogue set = ReadPartSet({{QStringLiteral("a.toml"), kGoodPart},
                                       {QStringLiteral("b.toml"), Broken("0x0560", "0x0580")}},
                                      false);
    ASSERT_EQ(set.parts.size(), 1u);
    EXPECT_EQ(set.parts[0].source.file, QStringLiteral("a.toml"));
    ASSERT_EQ(set.problems.size(), 1u);
    EXPECT_EQ(set.problems[0].rule, CatalogueRule::DuplicateName);
    EXPECT_EQ(set.problems[0].file, QStringLiteral("b.toml"));
    EXPECT_EQ(set.problems[0].line, 1);
}

TEST(CatalogueRules, UserPartWhoseDeviceIdClashesIsLeftOut)
{
    // 0x0570 differs from 0x0560 only in the revision bits: one chip could be either part.
    Catalogue shipped = ReadPartSet({{QStringLiteral("a.toml"), kGoodPart}}, false);
    Catalogue user = ReadPartSet({{QStringLiteral("u.toml"), Broken("\"t1\"", "\"t2\"")}}, true);
    const Catalogue all = CombinePartSets(std::move(shipped), std::move(user));
    ASSERT_EQ(all.parts.size(), 1u);
    EXPECT_EQ(all.parts[0].name, QStringLiteral("t1"));
    ASSERT_EQ(all.problems.size(), 1u);
    EXPECT_EQ(all.problems[0].rule, CatalogueRule::DuplicateDeviceId);
    EXPECT_EQ(all.problems[0].file, QStringLiteral("u.toml"));
    EXPECT_EQ(all.problems[0].line, 6);
}

TEST(CatalogueRules, ABrokenPartOfSeveralLeavesTheOthers)
{
    const QByteArray first = QByteArray(kGoodPart)
                                 .replace("[id_locations]", "[part.id_locations]")
                                 .replace("[[config]]", "[[part.config]]")
                                 .replace("[checksums]", "[part.checksums]");
    const QByteArray text =
        "[[part]]\n" + first + "\n[[part]]\nname = \"t2\"\nalgorithm = \"flash14\"\n";
    const Catalogue set = ReadPartSet({{QStringLiteral("two.toml"), text}}, false);
    ASSERT_EQ(set.parts.size(), 1u);
    EXPECT_EQ(set.parts[0].name, QStringLiteral("t1"));
    ASSERT_FALSE(set.problems.empty());
    EXPECT_EQ(set.problems[0].rule, CatalogueRule::MissingKey);
    EXPECT_GT(set.problems[0].line, 29); // inside the second part
}

} // namespace
