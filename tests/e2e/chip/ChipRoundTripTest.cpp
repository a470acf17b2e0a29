#include "ChipCliFixture.h"

#include "cli/options/ConfigControlOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"

#include <algorithm>

namespace {

constexpr int kProgWords = 0x20; // small ranges keep each run to a fraction of a second
constexpr int kDataBytes = 8;
// Small ranges keep the suite quick; a data range only where the device has data memory.
QStringList Ranges(const DeviceRecord &device)
{
    QStringList ranges = {"--prog-range", "0000-001F"};
    if (device.HasDataMemory)
        ranges << "--data-range"
               << "00-07";
    return ranges;
}

// A program that is neither blank nor regular, words within the family's width, data bytes,
// an ID code and a configuration word that the option controls keep as they are.
std::unique_ptr<MemoryImage> SampleImage(const DeviceRecord &device)
{
    auto image = std::make_unique<MemoryImage>();
    // One oscillator step down from the blank word.
    MakeBlankImage(*image, device, ConfigWordThroughControls(device, BlankWord(device) - 1, true),
                   QStringLiteral("1A2B"));
    PutProgram(*image, device, kProgWords, 0x0045, 0x0123);
    if (device.HasDataMemory)
        PutData(*image, kDataBytes, 0x07, 0x31);
    return image;
}

void ExpectSameOverRanges(const MemoryImage &got, const MemoryImage &want,
                          const DeviceRecord &device, const char *what)
{
    for (int a = 0; a < kProgWords; ++a)
        EXPECT_EQ(got.GetProgramWordText(a), want.GetProgramWordText(a)) << what << " word " << a;
    for (int a = 0; a < kDataBytes && device.HasDataMemory; ++a)
        EXPECT_EQ(got.GetDataByteText(a), want.GetDataByteText(a)) << what << " byte " << a;
    // A hex file and the chip keep the ID code alike: its first digit at the first location.
    EXPECT_EQ(got.IDCodeText, want.IDCodeText) << what;
    EXPECT_EQ(got.ConfigWord, want.ConfigWord) << what;
}

struct RoundTrip
{
    const char *device;
    const char *method; // nullptr: the device's only method
    bool flash;
};

class ChipRoundTrip : public ChipCli, public testing::WithParamInterface<RoundTrip>
{
};

TEST_P(ChipRoundTrip, WriteVerifyReadBlankAndErase)
{
    const RoundTrip &c = GetParam();
    StartChip(c.device);
    QStringList options = Ranges(m_device);
    if (c.method)
        options << "-m" << c.method;
    const auto sample = SampleImage(m_device);
    const QString in = Save("in.hex", *sample);

    const CliRun write = Cli(options + QStringList{"write", in});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.out.isEmpty());
    const CliRun verify = Cli(options + QStringList{"verify", in});
    EXPECT_EQ(verify.exitCode, 0) << verify.err.toStdString() << verify.out.toStdString();
    EXPECT_TRUE(verify.err.contains("Program Memory Verify Completed.  No Errors..."));
    EXPECT_TRUE(verify.err.contains("ID Code Verify Completed. No Errors"));

    const CliRun read = Cli(options + QStringList{"read", Path("out.hex")});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    ExpectSameOverRanges(*Load(Path("out.hex")), *sample, m_device, "read back");

    const CliRun blank = Cli(options + QStringList{"blank"});
    EXPECT_EQ(blank.exitCode, 1);
    EXPECT_TRUE(blank.out.startsWith("prog 0000 expected " + BlankWordText(m_device) + " read "))
        << blank.out.toStdString();
    EXPECT_TRUE(blank.err.contains("Program Memory Blank Check Failed"));

    if (c.flash) {
        const CliRun erase = Cli(options + QStringList{"erase"});
        EXPECT_EQ(erase.exitCode, 0) << erase.err.toStdString();
        const CliRun blankAgain = Cli(options + QStringList{"blank"});
        EXPECT_EQ(blankAgain.exitCode, 0) << blankAgain.err.toStdString();
        EXPECT_TRUE(blankAgain.err.contains("Program Memory Blank\n"));
        EXPECT_TRUE(blankAgain.err.contains("Data Memory Blanc\n"));
    } else {
        ExpectSameOverRanges(*StopAndLoadChip(), *sample, m_device, "chip file");
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryFamily, ChipRoundTrip,
    testing::Values(RoundTrip{"12c508", nullptr, false}, RoundTrip{"16c54", nullptr, false},
                    RoundTrip{"16c64", "parallel", false}, RoundTrip{"16c64", "serial", false},
                    RoundTrip{"16c62A", "serial", false}, RoundTrip{"16f84", "parallel", true},
                    RoundTrip{"16f84", "serial", true}, RoundTrip{"16f877", "parallel", true}),
    [](const auto &param) {
        return QStringLiteral("%1_%2")
            .arg(param.param.device, param.param.method ? param.param.method : "only")
            .toStdString();
    });

TEST_F(ChipCli, WrittenFlashChipFileHoldsTheImage)
{
    StartChip("16f84");
    const auto sample = SampleImage(m_device);
    ASSERT_EQ(Cli(Ranges(m_device) + QStringList{"write", Save("in.hex", *sample)}).exitCode, 0);
    ExpectSameOverRanges(*StopAndLoadChip(), *sample, m_device, "chip file");
}

} // namespace
