#include "ChipCliFixture.h"

#include "device/HexText.h"

#include <QRegularExpression>

namespace {

struct Fault
{
    const char *name;
    QStringList modsim;  // fault options of the simulator
    QStringList command; // tolm-cli's options and command; "IN" stands for the sample file
    int exitCode;
    const char *message; // a line part that stderr must hold
};

using ChipFaults = ChipCli;

// Every fault of the module or the chip ends with the exit code and the message a script can
// act on: 4 when the module does not answer or stops answering (no fault of the chip), 1 when
// the chip or the module's answer is at fault, and in each case where it stopped.
TEST_F(ChipFaults, FaultsEndWithTheirExitCodeAndMessage)
{
    const QStringList range = {"-t", "prog", "--prog-range", "0000-001F"};
    const Fault cases[] = {
        {"no module",
         {"--no-ack-from", "1"},
         range + QStringList{"write", "IN"},
         4,
         "Error Writing Program Memory: the programmer module does not answer (no answer from "
         "the module to command 07 (Power Off))"},
        {"module falls silent",
         {"--no-ack-from", "20"},
         range + QStringList{"read", "OUT"},
         4,
         "Error Reading Program Memory: the module stopped answering at word 000"},
        {"wrong acknowledge",
         {"--wrong-ack-at", "8"},
         range + QStringList{"read", "OUT"},
         1,
         "Error Reading Program Memory"},
        {"bad reply digit",
         {"--bad-digit-at", "7"},
         {"-m", "serial", "id", "read"},
         1,
         "Error Reading ID Code: the module's reply to command 02 (Serial Read Data) held 47"},
        {"dead line",
         {"--dead-after", "60"},
         QStringList{"verify", "IN"},
         4,
         "Error Verifying Program Memory"},
        {"word never programs",
         {"--never-program", "0005"},
         range + QStringList{"write", "IN"},
         1,
         "Error Writing Program Memory: the write ended at 0005 (--on-write-error)"},
        {"ignored word",
         {"--never-program", "0005"},
         range + QStringList{"--on-write-error", "ignore", "write", "IN"},
         1,
         "1 word was left as the chip took them"},
        {"retried word",
         {"--never-program", "0005"},
         range + QStringList{"--on-write-error", "retry=2", "write", "IN"},
         1,
         "Error Writing Program Memory Address $0005: retry 2 of 2"},
        {"config read, no module",
         {"--no-ack-from", "1"},
         QStringList{"config", "read"},
         4,
         "Error Reading Configuration: the programmer module does not answer"},
        {"config write, module falls silent",
         {"--no-ack-from", "8"},
         {"config", "write", "3FF9"},
         4,
         "Error Writing Configuration: the module stopped answering"},
        {"config write, read back",
         {"--never-program", "2007"},
         {"-m", "serial", "config", "write", "3FF1"},
         1,
         "Error Writing Configuration: read back 3FFF, expected 3FF1"},
        {"id write, module falls silent",
         {"--no-ack-from", "6"},
         QStringList{"id", "write", "1"},
         4,
         "Error Writing ID Code: the module stopped answering (no answer from the module to "
         "command 16 (Load Config))"},
        {"erase, no module",
         {"--no-ack-from", "1"},
         QStringList{"erase"},
         4,
         "Communication Error"},
        {"erase, wrong acknowledge",
         {"--wrong-ack-at", "6"},
         {"erase", "--force"},
         1,
         "Communication Error: the module answered command"},
    };
    for (const Fault &c : cases) {
        StartChip("16f84", c.modsim);
        QStringList args = c.command;
        args.replaceInStrings(QRegularExpression("^IN$"), SampleFile());
        args.replaceInStrings(QRegularExpression("^OUT$"), Path("out.hex"));
        // A hung run would come back as -1 after the time limit.
        const CliRun run = Cli(args, 8000);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << c.name << ": " << run.err.toStdString();
    }
}

TEST_F(ChipFaults, IgnoreWritesTheWordsAfterTheOneThatFails)
{
    StartChip("16f84", {"--never-program", "0005"});
    const CliRun run = Cli({"-t", "prog", "--prog-range", "0000-001F", "--on-write-error", "ignore",
                            "write", SampleFile()});
    EXPECT_EQ(run.exitCode, 1);
    const auto chip = StopAndLoadChip();
    EXPECT_EQ(chip->GetProgramWordText(4), "2004");
    EXPECT_EQ(chip->GetProgramWordText(5), "3FFF");
    EXPECT_EQ(chip->GetProgramWordText(6), "2006");
}

// Exit codes that need no chip: bad values (2), files (3), the port and module (4). Each is
// decided before the chip is touched.
TEST_F(ChipFaults, ExitCodesBeforeAnyChipWork)
{
    // A file made for the 16f84 the rows write to: one for a larger part would be refused
    // for its words beyond the 16f84's memory before the port is tried.
    m_device = *FindDevice("16f84");
    const QString in = SampleFile();
    StartChip("16c715", {"--identify-byte", "55"});
    const QString parityLink = LinkPath();
    const QString missingPort = Path("no-such-port");
    const struct
    {
        QStringList args;
        int exitCode;
        const char *message;
    } cases[] = {
        {{"-d", "16f84", "-p", missingPort, "config", "write", "1FFFF"}, 2, "WORD: '1FFFF'"},
        {{"-d", "16f84", "-p", missingPort, "config", "write", "3FGF"}, 2, "WORD: '3FGF'"},
        {{"-d", "12c508", "-p", missingPort, "cal", "write", "100"}, 2, "XX: '100'"},
        {{"-d", "16f84", "-p", missingPort, "id", "write", "12345"}, 2, "XXXX: '12345'"},
        {{"-d", "16f84", "-p", missingPort, "cal", "read"}, 2, "16f84 has no calibration word"},
        {{"-d", "16c62A", "-p", missingPort, "erase"}, 2, "16c62A cannot be erased"},
        {{"-d", "16f84", "-p", missingPort, "write", Path("missing.hex")}, 3, "missing.hex"},
        {{"-d", "16f84", "-p", missingPort, "verify", Path("missing.hex")}, 3, "missing.hex"},
        {{"-d", "16f84", "-p", missingPort, "write", in}, 4, "COM Port Error"},
        {{"-d", "16f84", "-p", missingPort, "id", "read"}, 4, "COM Port Error"},
        {{"-d", "16c715", "-p", parityLink, "read", Path("x.hex")},
         4,
         "Incorrect Programmer Device"},
        {{"-d", "16c715", "-p", parityLink, "protect"}, 4, "Incorrect Programmer Device"},
    };
    for (const auto &c : cases) {
        const CliRun run = RunTolmCli(QStringLiteral(TOLM_CLI), c.args, Path("config"));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString() << '\n'
                                            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << c.args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("x.hex")));
}

TEST_F(ChipFaults, ReadThatCannotSaveKeepsTheImageElsewhere)
{
    StartChip("16f84");
    const QString out = Path("no-such-folder/out.hex");
    const CliRun run = Cli({"-t", "prog", "--prog-range", "0000-000F", "read", out});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("cannot save " + out)) << run.err.toStdString();
    const QRegularExpressionMatch saved =
        QRegularExpression("the image read is saved in (\\S+)").match(run.err);
    ASSERT_TRUE(saved.hasMatch()) << run.err.toStdString();
    QFile rescue(saved.captured(1));
    ASSERT_TRUE(rescue.open(QIODevice::ReadOnly));
    EXPECT_TRUE(rescue.readAll().startsWith(":10000000FF3FFF3F"));
    rescue.remove();
}

} // namespace
