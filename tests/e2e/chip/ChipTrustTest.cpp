// What a user must be able to trust blindly: nothing that could harm a chip is sent, a chip
// never stays powered after a failure, a module that stops answering is not blamed on the
// chip, and what is written is what the file says.
#include "ChipCliFixture.h"

#include "device/DeviceRules.h"
#include "device/HexText.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kPowerOffTiming = QStringLiteral("05 43 30 30 31 34 46");
const QString kPowerOff = QStringLiteral("07");

class ChipTrust : public ChipCli
{
protected:
    // The host's side of every exchange the simulator saw, or nothing when no port was opened.
    QStringList HostLines() const
    {
        if (!QFileInfo::exists(Path("transcript.txt")))
            return {};
        QStringList lines = TranscriptLines();
        for (QString &line : lines)
            line = line.section(QStringLiteral(" ->"), 0, 0);
        return lines;
    }
};

// A configuration word with bits beyond the chip's is a usage error, and nothing reaches the
// module: on a one-time part the word would otherwise end up code-protected for good.
TEST_F(ChipTrust, ConfigurationWordsWiderThanTheChipAreRefused)
{
    struct Row
    {
        const char *device;
        const char *word;
        int exitCode;
        const char *message;
    };
    const Row rows[] = {
        {"16c54", "F000", 2, "F000 has bits beyond the 16c54's 12-bit configuration word"},
        {"16f84", "4000", 2, "4000 has bits beyond the 16f84's 14-bit configuration word"},
        {"16c54", "0FF9", 0, ""},
    };
    for (const Row &r : rows) {
        StartChip(r.device);
        const CliRun run = Cli({"config", "write", r.word});
        EXPECT_EQ(run.exitCode, r.exitCode) << r.device << ' ' << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(r.message)) << run.err.toStdString();
        const auto chip = StopAndLoadChip();
        if (r.exitCode != 0) {
            EXPECT_TRUE(HostLines().isEmpty()) << r.device << ": nothing may be sent";
            EXPECT_EQ(chip->ConfigWord, m_device.ConfigAddress == 0x0FFF ? 0x0FFF : 0x3FFF);
        } else {
            EXPECT_EQ(FormatHex(chip->ConfigWord, 4), QString(r.word));
        }
    }
}

// An assembler's __IDLOCS 0x1234 puts 1 in the first ID location; the chip must hold the same
// order, so any programmer reads the code the file has.
TEST_F(ChipTrust, IdDigitsGoToTheLocationsInTheFilesOrder)
{
    struct Row
    {
        const char *device;
        const char *method;
    };
    for (const Row &r : {Row{"16f84", "parallel"}, Row{"16f84", "serial"}, Row{"16c54", "parallel"},
                         Row{"12c508", "serial"}, Row{"16c62A", "serial"}}) {
        StartChip(r.device);
        const CliRun write = Cli({"-m", r.method, "-t", "id", "write", SampleFile("1234")});
        EXPECT_EQ(write.exitCode, 0) << r.device << ' ' << write.err.toStdString();
        const CliRun read = Cli({"-m", r.method, "id", "read"});
        EXPECT_EQ(read.out, "1234\n") << r.device;
        // The chip file lists the locations from the first on, one digit each.
        EXPECT_EQ(StopAndLoadChip()->IDCodeText, "1234") << r.device << ' ' << r.method;
    }
}

// A fresh chip is blank: the 12-bit parts' configuration word erases to 0FFF, and the factory
// calibration word of the 12c508 is no part of the program unless --write-cal says so.
TEST_F(ChipTrust, FreshChipsPassTheBlankCheck)
{
    struct Row
    {
        const char *device;
        QStringList extra;
        int exitCode;
        const char *line;
    };
    const Row rows[] = {
        {"16c54", {}, 0, "Configuration Blank"},
        {"12c508", {}, 0, "Program Memory Blank"},
        {"12c508", {"--write-cal"}, 1, "prog 01FF expected 0FFF read 0C70"},
        {"16f84", {}, 0, "Configuration Blank"},
    };
    for (const Row &r : rows) {
        StartChip(r.device);
        const CliRun run = Cli(QStringList{"blank"} + r.extra);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.device << ' ' << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(r.line) || run.out.contains(r.line))
            << r.device << ' ' << run.err.toStdString() << run.out.toStdString();
    }
}

// Once the first power-on command has gone out, every way out sends the power-off sequence.
TEST_F(ChipTrust, EveryFailureEndsWithThePowerOff)
{
    struct Row
    {
        const char *name;
        const char *device;
        QStringList modsim;
        QStringList command; // "IN" stands for the sample file
    };
    const Row rows[] = {
        {"erase, silent from exchange 10", "16f84", {"--no-ack-from", "10"}, {"erase"}},
        {"config read, wrong acknowledge at 3",
         "12c508",
         {"--wrong-ack-at", "3"},
         {"config", "read"}},
        {"fast write, power-on fails",
         "16f84",
         {"--no-ack-from", "2"},
         {"write", "--fast", "--force", "IN"}},
        {"id read, bad digit", "16f84", {"--bad-digit-at", "7"}, {"-m", "serial", "id", "read"}},
        {"write, silent mid-way", "16c62A", {"--no-ack-from", "40"}, {"write", "IN"}},
    };
    for (const Row &r : rows) {
        StartChip(r.device, r.modsim);
        QStringList args = r.command;
        args.replaceInStrings(QRegularExpression("^IN$"), SampleFile());
        const CliRun run = Cli(args, 8000);
        EXPECT_NE(run.exitCode, 0) << r.name;
        m_modsim->Stop();
        const QStringList sent = HostLines();
        ASSERT_GE(sent.size(), 2) << r.name;
        EXPECT_EQ(sent[sent.size() - 2], kPowerOffTiming) << r.name;
        EXPECT_EQ(sent.back(), kPowerOff) << r.name << ": " << run.err.toStdString();
    }
}

// A trace that could not be written is a file error, not a quiet success; a read that cannot
// be saved is rescued in /tmp when TMPDIR names no folder.
TEST_F(ChipTrust, LostOutputIsReported)
{
    StartChip("16f84");
    const CliRun traced = Cli({"--trace", "/dev/full", "config", "read"});
    EXPECT_EQ(traced.exitCode, 3) << traced.err.toStdString();
    EXPECT_TRUE(traced.err.contains("the trace file /dev/full could not be written"));

    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", Path("no-such-folder").toUtf8());
    const CliRun read = Cli({"-t", "config", "read", Path("no-such-folder/out.hex")});
    if (oldTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);
    EXPECT_EQ(read.exitCode, 3);
    const QRegularExpression saved("the image read is saved in (/tmp/tolm-cli-read-\\S+\\.hex)");
    const auto match = saved.match(read.err);
    ASSERT_TRUE(match.hasMatch()) << read.err.toStdString();
    QFile rescue(match.captured(1));
    EXPECT_GT(rescue.size(), 0);
    rescue.remove();
}

} // namespace
