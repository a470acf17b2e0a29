#include "ChipCliFixture.h"

#include "device/DeviceRules.h"
#include "device/HexText.h"

#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <csignal>

namespace {

std::unique_ptr<MemoryImage> BlankImage(const DeviceRecord &device)
{
    auto image = std::make_unique<MemoryImage>();
    MakeBlankImage(*image, device, 0x3FFF);
    return image;
}

TEST_F(ChipCli, VerifyNamesTheFirstDifferenceAndAllListsEveryOne)
{
    StartChip("16f84");
    auto image = BlankImage(m_device);
    for (int a = 0; a < 0x10; ++a)
        image->SetProgramWordText(a, FormatHex(0x1000 + a, 4));
    image->SetDataByteText(2, "5A");
    const QString chip = Save("chip.hex", *image);
    StartChip("16f84", {}, chip);

    // The file differs from the chip at program words 0003 and 0009 and at data byte 02.
    image->SetProgramWordText(3, "2222");
    image->SetProgramWordText(9, "0000");
    image->SetDataByteText(2, "A5");
    const QString file = Save("file.hex", *image);
    const QStringList options = {"-t",        "prog,data",    "--prog-range",
                                 "0000-000F", "--data-range", "00-07"};

    const CliRun first = Cli(options + QStringList{"verify", file});
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_EQ(first.out, "prog 0003 expected 2222 read 1003\n"
                         "data 02 expected A5 read 5A\n");
    EXPECT_TRUE(first.err.contains(
        "tolm-cli: Error Verifying Program Memory: 0003: expected 2222, read 1003"))
        << first.err.toStdString();
    EXPECT_TRUE(first.err.contains("Error Verifying Data Memory"));

    const CliRun all = Cli(options + QStringList{"verify", "--all", file});
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_EQ(all.out, "prog 0003 expected 2222 read 1003\n"
                       "prog 0009 expected 0000 read 1009\n"
                       "prog differences 2\n"
                       "data 02 expected A5 read 5A\n"
                       "data differences 1\n");

    // A chip that matches lists no difference and passes.
    const CliRun same = Cli(options + QStringList{"verify", "--all", chip});
    EXPECT_EQ(same.exitCode, 0) << same.err.toStdString();
    EXPECT_EQ(same.out, "prog differences 0\ndata differences 0\n");
}

TEST_F(ChipCli, VerifyAllStopsListingAfterAHundredLines)
{
    StartChip("16f84");
    auto image = BlankImage(m_device);
    for (int a = 0; a < 0x80; ++a)
        image->SetProgramWordText(a, "0000");
    const CliRun all =
        Cli({"-t", "prog", "--prog-range", "0000-007F", "verify", "--all", Save("f.hex", *image)});
    EXPECT_EQ(all.exitCode, 1);
    const QStringList lines = all.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines[99], "prog 0063 expected 0000 read 3FFF");
    EXPECT_EQ(lines[100], "prog differences 128");
}

// The 12c508's factory calibration word in the simulator is 0C70 at 01FF.
TEST_F(ChipCli, WriteKeepsTheChipsCalibrationWordUnlessToldOtherwise)
{
    StartChip("12c508");
    auto image = BlankImage(m_device);
    image->SetProgramWordText(0x1F0, "0A05");
    image->SetProgramWordText(0x1FF, "0C0F"); // a calibration value the chip never had
    const QString file = Save("cal.hex", *image);
    const QStringList range = {"-t", "prog", "--prog-range", "01F0-01FF"};

    const CliRun write = Cli(range + QStringList{"write", file});
    EXPECT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.err.contains("the chip's calibration word at 01FF is kept"))
        << write.err.toStdString();
    const CliRun verify = Cli(range + QStringList{"verify", file});
    EXPECT_EQ(verify.exitCode, 0) << verify.out.toStdString();
    EXPECT_TRUE(verify.err.contains("01FF is left out of the comparison"));
    const CliRun cal = Cli({"cal", "read"});
    EXPECT_EQ(cal.out, "70\n");

    // With --write-cal the file's word goes in: an EPROM word only loses bits, so the chip
    // ends with 0C70 AND 0C0F, the word never reads back as written, and the write fails.
    const CliRun overwrite = Cli(range + QStringList{"write", "--write-cal", file});
    EXPECT_EQ(overwrite.exitCode, 1);
    EXPECT_TRUE(overwrite.err.contains("Error Writing Program Memory Address $01FF"));
    const CliRun verifyCal = Cli(range + QStringList{"verify", "--write-cal", file});
    EXPECT_EQ(verifyCal.exitCode, 1);
    EXPECT_EQ(verifyCal.out, "prog 01FF expected 0C0F read 0C00\n");
    EXPECT_EQ(StopAndLoadChip()->GetProgramWordText(0x1FF), "0C00");
}

struct Access
{
    const char *device;
    QStringList write; // the write command and its value
    QStringList read;
    const char *readBack;
};

// Direct access on one device of each family, checked against what the chip then holds.
TEST_F(ChipCli, DirectAccessReachesTheChip)
{
    const Access cases[] = {
        {"16c54", {"config", "write", "0FF9"}, {"config", "read"}, "0FF9\n"},
        {"16c62A", {"config", "write", "3F31"}, {"config", "read"}, "3F31\n"},
        {"16f84", {"config", "write", "3FF1"}, {"config", "read"}, "3FF1\n"},
        {"12c508", {"config", "write", "0FEA"}, {"config", "read"}, "0FEA\n"},
        {"16c54", {"id", "write", "1234"}, {"id", "read"}, "1234\n"},
        {"16c62A", {"id", "write", "a5"}, {"id", "read"}, "00A5\n"},
        {"16f84", {"id", "write", "BEEF"}, {"id", "read"}, "BEEF\n"},
        {"12c508", {"id", "write", "0F0F"}, {"id", "read"}, "0F0F\n"},
        {"12c508", {"cal", "write", "40"}, {"cal", "read"}, "40\n"},
        {"12ce674", {"cal", "write", "00"}, {"cal", "read"}, "00\n"},
    };
    for (const Access &c : cases) {
        StartChip(c.device);
        const CliRun write = Cli(c.write);
        EXPECT_EQ(write.exitCode, 0) << c.device << ' ' << write.err.toStdString();
        const CliRun read = Cli(c.read);
        EXPECT_EQ(read.exitCode, 0) << c.device;
        EXPECT_EQ(read.out, c.readBack) << c.device << ' ' << c.read.join(' ').toStdString();
        const auto chip = StopAndLoadChip();
        const QString value = c.readBack;
        if (c.read[0] == "config") {
            EXPECT_EQ(FormatHex(chip->ConfigWord, 4) + "\n", value) << c.device;
        }
        if (c.read[0] == "id") {
            // The chip file lists the locations from the first on: the code's digits in order.
            EXPECT_EQ(chip->IDCodeText + "\n", value) << c.device;
        }
    }
}

TEST_F(ChipCli, ProtectCodeProtectsWhatTheChipHolds)
{
    const struct
    {
        const char *device;
        const char *programmed; // nullptr: whatever it prints, the chip must hold
    } cases[] = {{"16f877", "0FCF"},  {"16f84", nullptr}, {"16c62A", nullptr},
                 {"12c508", nullptr}, {"16c54", nullptr}, {"16f877a", "1FFF"}};
    for (const auto &c : cases) {
        StartChip(c.device);
        const CliRun protect = Cli({"protect"});
        EXPECT_EQ(protect.exitCode, 0) << c.device << protect.err.toStdString();
        // A protected 16F87XA is for good as far as the module goes: the user hears so first.
        EXPECT_EQ(protect.err.contains("cannot be erased through the programmer module again"),
                  ProtectionNeedsChipErase(m_device))
            << c.device;
        if (c.programmed) {
            EXPECT_EQ(protect.out, QString(c.programmed) + "\n");
        }
        const auto chip = StopAndLoadChip();
        EXPECT_EQ(FormatHex(chip->ConfigWord, 4) + "\n", protect.out) << c.device;
        EXPECT_NE(protect.out, BlankWordText(m_device) + "\n") << c.device;
    }
}

// Ctrl-C and SIGTERM in the middle of a write: the word in progress finishes, the chip is
// powered off, and no later word is touched.
TEST_F(ChipCli, SignalStopsAWriteAfterTheCurrentWord)
{
    const struct
    {
        int signal;
        int exitCode;
    } cases[] = {{SIGINT, 130}, {SIGTERM, 143}};
    for (const auto &c : cases) {
        StartChip("16f84", {"--realtime"});
        auto image = BlankImage(m_device);
        for (int a = 0; a < 0x400; ++a)
            image->SetProgramWordText(a, FormatHex(a, 4));
        const QString file = Save("long.hex", *image);

        QProcess cli;
        cli.setProcessEnvironment(TolmCliEnvironment(Path("config")));
        cli.start(TOLM_CLI,
                  {"-d", "16f84", "-p", LinkPath(), "--trace", Path("trace.txt"), "write", file});
        ASSERT_TRUE(cli.waitForStarted());
        QThread::msleep(600); // well into program memory, far from its end
        ::kill(static_cast<pid_t>(cli.processId()), c.signal);
        ASSERT_TRUE(cli.waitForFinished(5000));
        EXPECT_EQ(cli.exitCode(), c.exitCode);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        const QRegularExpression stopped("Program Memory stopped after word ([0-9A-F]{4}); the "
                                         "chip is powered off");
        const QRegularExpressionMatch match = stopped.match(err);
        ASSERT_TRUE(match.hasMatch()) << err.toStdString();
        const int last = static_cast<int>(*ParseHexText(match.captured(1)));
        EXPECT_GT(last, 0);

        QFile trace(Path("trace.txt"));
        ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
        const QStringList exchanges =
            QString::fromLatin1(trace.readAll()).split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(exchanges.size(), 2);
        EXPECT_EQ(exchanges.last(), "> 07 < 20");
        EXPECT_EQ(exchanges[exchanges.size() - 2], "> 05 43 30 30 31 34 46 < 20");
        EXPECT_EQ(TranscriptLines().last(), "07 -> 20");

        const auto chip = StopAndLoadChip();
        for (int a = 0; a <= last; ++a)
            EXPECT_EQ(chip->GetProgramWordText(a), FormatHex(a, 4)) << a;
        for (int a = last + 1; a < 0x400; ++a)
            ASSERT_EQ(chip->GetProgramWordText(a), "3FFF") << a;
        EXPECT_EQ(chip->ConfigWord, 0x3FFF) << "the later targets never ran";
    }
}

// A 16F87XA chip with code or data protection on can only be erased by Chip Erase, which the
// module cannot send: erase and write --fast say so, fail, and leave the chip as it was.
TEST_F(ChipCli, AProtectedBlockPartIsNeitherErasedNorWritten)
{
    StartChip("16f877a");
    auto image = BlankImage(m_device);
    for (int a = 0; a < 0x10; ++a)
        image->SetProgramWordText(a, FormatHex(0x1000 + a, 4));
    image->ConfigWord = 0x1FFF; // CP on
    const QString chip = Save("chip.hex", *image);
    const QString file = SampleFile();
    for (const QStringList &command :
         {QStringList{"erase"}, QStringList{"write", "--fast", file}}) {
        SCOPED_TRACE(command.join(' ').toStdString());
        StartChip("16f877a", {}, chip);
        const CliRun run = Cli(command, 60000);
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("only Chip Erase clears that")) << run.err.toStdString();
        const auto after = StopAndLoadChip();
        EXPECT_EQ(after->GetProgramWordText(3), "1003");
        EXPECT_EQ(after->ConfigWord, 0x1FFF);
    }
}

// The second configuration word of a 16F88X: written and read on its own, and carried by a
// hex file's write and read beside the first.
TEST_F(ChipCli, TheSecondConfigurationWordGoesToTheChipAndBack)
{
    StartChip("16f887");
    EXPECT_EQ(Cli({"config2", "write", "3EFF"}).exitCode, 0);
    const CliRun read = Cli({"config2", "read"});
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, "3EFF\n");

    StartChip("16f887");
    auto image = BlankImage(m_device);
    image->ConfigWord = 0x3FFF;
    image->SecondConfigWord = 0x3BFF; // WRT 0000-07FF protected
    const QString file = Save("two.hex", *image);
    const QStringList ranges = {"--prog-range", "0000-000F", "--data-range", "00-07"};
    ASSERT_EQ(Cli(ranges + QStringList{"write", file}).exitCode, 0);
    EXPECT_EQ(Cli(ranges + QStringList{"verify", file}).exitCode, 0);
    ASSERT_EQ(Cli(ranges + QStringList{"read", Path("back.hex")}).exitCode, 0);
    EXPECT_EQ(Load(Path("back.hex"))->SecondConfigWord, 0x3BFF);
}

} // namespace
