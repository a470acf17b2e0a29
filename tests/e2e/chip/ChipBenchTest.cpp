// A production bench: one command on several modules at once, the device ID check, and the
// fast write of a flash part. Each simulator serves its own chip on its own pseudo-terminal.
#include "ChipBenchFixture.h"

#include "device/HexText.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

class ChipBench : public ChipBenchCli
{
protected:
    // A program of `words` words from 0000, a few data bytes, an ID code and a configuration
    // word: what a small firmware image holds.
    QString Sample(const QString &name, int words)
    {
        MemoryImage image;
        MakeBlankImage(image, m_device, 0x3FF1, QStringLiteral("1234"));
        PutProgram(image, m_device, words, 0x2800, 37);
        image.SetDataByteText(0, "12");
        image.SetDataByteText(7, "A5");
        return Save(name, image);
    }
};

void ExpectSameChip(const MemoryImage &a, const MemoryImage &b, const std::string &what)
{
    for (int i = 0; i < MemoryImage::kProgramWords; ++i)
        ASSERT_EQ(a.GetProgramWordText(i), b.GetProgramWordText(i)) << what << " word " << i;
    for (int i = 0; i < MemoryImage::kDataBytes; ++i)
        ASSERT_EQ(a.GetDataByteText(i), b.GetDataByteText(i)) << what << " byte " << i;
    EXPECT_EQ(a.ConfigWord, b.ConfigWord) << what;
    EXPECT_EQ(a.IDCodeText, b.IDCodeText) << what;
}

// The summary row of a port: "PORT RESULT EXIT WORDS ELAPSED".
QStringList SummaryRow(const QString &out, const QString &port)
{
    for (const QString &line : out.split('\n'))
        if (line.startsWith(port + ' '))
            return line.split(' ', Qt::SkipEmptyParts);
    return {};
}

TEST_F(ChipBench, FourModulesWriteFourEqualChipsAndReadThemBack)
{
    StartChips("16f84", 4);
    const QString file = Sample("sample.hex", 0x80);
    const CliRun write = Bench({"write", file});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    for (const auto &sim : m_sims) {
        const QStringList row = SummaryRow(write.out, sim->LinkPath());
        ASSERT_EQ(row.size(), 5) << write.out.toStdString();
        EXPECT_EQ(row[1], "ok");
        EXPECT_EQ(row[3], "1088"); // 1024 program words and 64 data bytes
    }
    EXPECT_TRUE(write.out.startsWith("port ")) << write.out.toStdString();

    // read with several ports: one file per port, named after it.
    const CliRun read = Bench({"read", Path("back.hex")});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    const auto expected = Load(file);
    for (int i = 0; i < 4; ++i) {
        const QString suffix = m_sims[i]->LinkPath().mid(1).replace('/', '_');
        const auto back = Load(Path("back-" + suffix + ".hex"));
        ExpectSameChip(*back, *expected, "read back " + std::to_string(i));
    }
    for (int i = 0; i < 4; ++i)
        ExpectSameChip(*StopAndLoad(i), *expected, "chip " + std::to_string(i));
}

TEST_F(ChipBench, AModuleThatFallsSilentFailsAlone)
{
    StartChips("16f84", 4, {{}, {}, {"--no-ack-from", "60"}, {}});
    const QString file = Sample("sample.hex", 0x40);
    const CliRun run = Bench({"-t", "prog", "--prog-range", "0000-003F", "write", file});
    EXPECT_EQ(run.exitCode, 4); // a module that stops answering is no chip error
    const QString silent = m_sims[2]->LinkPath();
    EXPECT_TRUE(run.err.contains(silent + ": tolm-cli: Error Writing Program Memory: the module "
                                          "stopped answering at word"))
        << run.err.toStdString();
    // Only the silent module's port has anything to say beyond its summary line.
    for (const QString &line : run.err.split('\n', Qt::SkipEmptyParts))
        for (int i : {0, 1, 3})
            EXPECT_TRUE(!line.startsWith(m_sims[i]->LinkPath()) ||
                        line.startsWith(m_sims[i]->LinkPath() + ": tolm-cli: write ok: "))
                << line.toStdString();
    EXPECT_EQ(SummaryRow(run.out, silent).value(1), "port-error") << run.out.toStdString();
    const auto expected = Load(file);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(SummaryRow(run.out, m_sims[i]->LinkPath()).value(1), "ok");
        const auto chip = StopAndLoad(i);
        for (int a = 0; a < 0x40; ++a)
            ASSERT_EQ(chip->GetProgramWordText(a), expected->GetProgramWordText(a)) << i;
    }
}

TEST_F(ChipBench, DetectNamesEachPartWithADeviceId)
{
    const struct
    {
        const char *device;
        const char *out;
    } cases[] = {
        {"16f628", "id=07C0\npart=16f628\nrevision=0\n"},
        {"16f628a", "id=1060\npart=16f628a\nrevision=0\n"},
        {"16f876", "id=09E0\npart=16f876\nrevision=0\n"},
        {"16f877", "id=09A0\npart=16f877\nrevision=0\n"},
        {"16f84a", "id=0560\npart=16f84a\nrevision=0\n"},
        {"12f675", "id=0FC0\npart=12f675\nrevision=0\n"},
        {"12f683", "id=0460\npart=12f683\nrevision=0\n"},
        {"16f877a", "id=0E20\npart=16f877a\nrevision=0\n"},
        {"16f887", "id=2080\npart=16f887\nrevision=0\n"},
    };
    for (const auto &c : cases) {
        StartChip(c.device);
        const CliRun run = Cli({"detect"});
        EXPECT_EQ(run.exitCode, 0) << c.device << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, c.out) << c.device;
        // Whatever -d names, even a part without a device ID, the chip is named by its own.
        const CliRun other = RunTolmCli(
            QStringLiteral(TOLM_CLI), {"-d", "16c54", "-p", LinkPath(), "detect"}, Path("config"));
        EXPECT_EQ(other.exitCode, 0) << c.device << ": " << other.err.toStdString();
        EXPECT_EQ(other.out, c.out) << c.device;
    }
}

// A 16f876 in the socket while the command names a 16f877: write, erase and protect read the
// ID, stop, and send nothing more; --force does the work.
TEST_F(ChipBench, AWrongPartInTheSocketIsLeftAlone)
{
    StartChip("16f876");
    const CliRun detect = Cli({"detect"});
    ASSERT_EQ(detect.exitCode, 0);
    const QStringList detectLines = TranscriptLines();
    const QString file = Sample("sample.hex", 0x20);
    const QStringList commands[] = {{"write", file}, {"erase"}, {"protect"}};
    for (const QStringList &command : commands) {
        StartChip("16f876");
        const QStringList args = QStringList{"-d", "16f877"} + command;
        const CliRun run = RunTolmCli(QStringLiteral(TOLM_CLI),
                                      QStringList{"-p", LinkPath()} + args, Path("config"));
        EXPECT_EQ(run.exitCode, 1) << command[0].toStdString();
        EXPECT_TRUE(run.err.contains("tolm-cli: the socket holds a 16f876, not a 16f877"))
            << run.err.toStdString();
        m_modsim->Stop();
        // The module check may come first; the ID read is the last thing on the wire.
        const QStringList lines = TranscriptLines();
        ASSERT_GE(lines.size(), detectLines.size());
        EXPECT_LE(lines.size() - detectLines.size(), 2) << command[0].toStdString();
        EXPECT_EQ(lines.mid(lines.size() - detectLines.size()), detectLines)
            << command[0].toStdString();
    }
    StartChip("16f876");
    const CliRun forced = RunTolmCli(QStringLiteral(TOLM_CLI),
                                     {"-d", "16f877", "-p", LinkPath(), "-t", "prog",
                                      "--prog-range", "0000-001F", "write", "--force", file},
                                     Path("config"));
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(StopAndLoadChip()->GetProgramWordText(0x1F), Load(file)->GetProgramWordText(0x1F));
}

// write --fast of a 200-word program onto a 16f877 that held an older one gives the chip that
// erase and a whole write give.
TEST_F(ChipBench, FastWriteEqualsEraseAndWrite)
{
    m_device = *FindDevice("16f877");
    const QString file = Sample("sample.hex", 200);
    MemoryImage old;
    old.FillProgramImage("0000");
    old.FillDataImage("00");
    old.ConfigWord = 0x3FF1;
    old.IDCodeText = "0000";
    const QString oldChip = Save("old.hex", old);

    StartChips("16f877", 2, {{"--chip-in", oldChip}, {"--chip-in", oldChip}});
    const auto cli = [&](int i, const QStringList &args) {
        return RunTolmCli(QStringLiteral(TOLM_CLI),
                          QStringList{"-d", "16f877", "-p", m_sims[i]->LinkPath()} + args,
                          Path("config"), 60000);
    };
    ASSERT_EQ(cli(0, {"erase"}).exitCode, 0);
    const CliRun whole = cli(0, {"write", file});
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    const CliRun fast = cli(1, {"write", "--fast", file});
    ASSERT_EQ(fast.exitCode, 0) << fast.err.toStdString();
    EXPECT_TRUE(fast.err.contains("Program Memory Verify Completed.")) << fast.err.toStdString();
    EXPECT_TRUE(fast.err.contains("Configuration Verify Completed.")) << fast.err.toStdString();
    const auto wholeChip = StopAndLoad(0);
    ExpectSameChip(*StopAndLoad(1), *wholeChip, "fast against whole");
    ExpectSameChip(*wholeChip, *Load(file), "whole against the file");
}

TEST_F(ChipBench, FastWriteIsRefusedWhereItCannotErase)
{
    const QString file = Path("none.hex");
    const struct
    {
        QStringList args;
        const char *message;
    } cases[] = {
        {{"-d", "16c62A", "write", "--fast", file}, "the 16c62A is an EPROM part"},
        {{"-d", "16f84", "-t", "prog", "write", "--fast", file}, "leave out -t"},
        {{"-d", "16f84", "-p", "a,,b", "write", file}, "has an empty item"},
    };
    for (const auto &c : cases) {
        const CliRun run = RunTolmCli(QStringLiteral(TOLM_CLI),
                                      QStringList{"-p", Path("x")} + c.args, Path("config"));
        EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
}

} // namespace
