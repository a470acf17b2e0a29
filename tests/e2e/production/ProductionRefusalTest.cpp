// Serial options that cannot work are refused before any port is opened (exit 2, nothing
// taken from the serial file); tolm-modsim's adapter latency holds replies back.
#include "ProductionFixture.h"

namespace {

class ProductionRefusal : public ProductionCli
{
};

TEST_F(ProductionRefusal, BadSerialOptionsAreUsageErrorsBeforeAnyPortIsOpened)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 8);
    const QString nowhere = Path("no-module");
    struct Case
    {
        const char *device;
        QStringList args;
        const char *message;
    };
    const Case cases[] = {
        {"16c54", {"--serial", "1", "--serial-at", "data:10"}, "the 16c54 has no data memory"},
        {"16f84", {"--serial", "1", "--serial-at", "prog:03FF"}, "reaches beyond the 16f84's"},
        {"12c508", {"--serial", "1", "--serial-at", "prog:01FE"}, "calibration word at 01FF"},
        {"16f84", {"--serial", "256", "--serial-at", "data:10:1"}, "do not fit data 10-10"},
        {"16f84", {"--serial", "1", "--serial-at", "data:10", "-t", "prog"}, "-t leaves out"},
        {"16f84",
         {"--serial", "1", "--serial-at", "prog:0300", "--prog-range", "0000-00FF"},
         "outside --prog-range 0000-00FF"},
        {"16f84", {"--serial-at", "id"}, "need both --serial START and --serial-at"},
        {"16f84", {"--serial", "ten", "--serial-at", "id"}, "--serial takes a number"},
        {"16f84",
         {"--serial", "1", "--serial-at", "id", "--serial-step", "0"},
         "--serial-step takes a number"},
        {"16f84", {"--serial", "1", "--serial-at", "eeprom:10"}, "names no location"},
        {"16f84",
         {"--serial", "1", "--serial-at", "id", "--log", "x", "--no-log"},
         "exclude each other"},
    };
    for (const Case &c : cases) {
        const CliRun run = RunTolmCli(
            QStringLiteral(TOLM_CLI),
            // The file is the 16f84's: --skip-outside lets it on to the serial checks on
            // the other devices.
            QStringList{"-d", c.device, "-p", nowhere, "write", "--skip-outside", file} + c.args,
            Path("config"));
        EXPECT_EQ(run.exitCode, 2) << c.message << "\n" << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("COM Port Error")) << c.message;
    }
    // Four ports need four numbers: 254 to 257 do not fit one byte.
    const QString four =
        QStringList{nowhere + "1", nowhere + "2", nowhere + "3", nowhere + "4"}.join(',');
    const CliRun tooMany = RunTolmCli(
        QStringLiteral(TOLM_CLI),
        {"-d", "16f84", "-p", four, "write", file, "--serial", "254", "--serial-at", "data:10:1"},
        Path("config"));
    EXPECT_EQ(tooMany.exitCode, 2) << tooMany.err.toStdString();
    // A serial number is a write's: other commands do not know the options.
    const CliRun verify = RunTolmCli(
        QStringLiteral(TOLM_CLI),
        {"-d", "16f84", "-p", nowhere, "verify", file, "--serial", "1", "--serial-at", "id"},
        Path("config"));
    EXPECT_EQ(verify.exitCode, 2) << verify.err.toStdString();
    EXPECT_FALSE(QFile::exists(DefaultSerialFile())) << "no number was taken";
}

TEST_F(ProductionRefusal, AnAdapterLatencyHoldsEveryReplyBack)
{
    m_device = *FindDevice("16f84");
    StartChips("16f84", 1, {{"--adapter-latency", "80"}});
    // identify is one exchange: its reply leaves the adapter 80 ms after its first byte, well
    // within the link's wait for it (how long it takes is the benchmark's business).
    const CliRun run = Bench({"identify"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "AA\n");
    const CliRun ports = Bench({"ports"});
    EXPECT_EQ(ports.exitCode, 0) << "also when the system reports no port";
}

} // namespace
