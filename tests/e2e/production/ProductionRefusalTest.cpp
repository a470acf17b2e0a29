// Serial options that cannot work are refused before any port is opened (exit 2, nothing
// taken from the serial file); tolm-modsim's adapter latency holds replies back.
#include "ProductionFixture.h"
#include "SmallDisk.h"

#include <functional>
#include <sys/stat.h>

namespace {

class ProductionRefusal : public ProductionCli
{
protected:
    static QByteArray Contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
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

// A serial file that cannot hand out a number safely stops the run before any port is
// opened (exit 3, not the port's 4) and stays exactly as it was.
TEST_F(ProductionRefusal, ASerialFileThatCannotBeUsedStopsBeforeAnyPortOpens)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 8);
    SmallDisk disk(64);
    struct Case
    {
        const char *name;
        QString path;
        std::function<void(const QString &path)> setUp;
        const char *reason;
    };
    const auto write = [](QByteArray bytes) {
        return [bytes](const QString &path) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
    };
    std::vector<Case> cases = {
        {"text after the number", Path("junk"), write("7   text\n"),
         "does not hold a serial number"},
        {"a FIFO", Path("fifo"), [](const QString &p) { ::mkfifo(qPrintable(p), 0600); }, "FIFO"},
        {"a link", Path("link"),
         [this](const QString &p) {
             QFile target(Path("target"));
             ASSERT_TRUE(target.open(QIODevice::WriteOnly));
             target.write("77\n");
             QFile::link(Path("target"), p);
         },
         "symbolic link"},
    };
    if (disk.Ready())
        cases.push_back({"a full disk", disk.Path("next-serial"),
                         [&disk, write](const QString &p) {
                             write("300\n")(p);
                             ASSERT_TRUE(disk.LeaveFreePages(1));
                         },
                         "No space left on device"});
    for (const Case &c : cases) {
        c.setUp(c.path);
        const QByteArray before = QFileInfo(c.path).isFile() ? Contents(c.path) : QByteArray();
        const CliRun run =
            RunTolmCli(QStringLiteral(TOLM_CLI),
                       {"-d", "16f84", "-p", Path("no-module"), "write", file, "--serial", "1",
                        "--serial-at", "id", "--serial-file", c.path},
                       Path("config"), 20000);
        EXPECT_EQ(run.exitCode, 3) << c.name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.reason)) << c.name << ": " << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("COM Port Error")) << c.name;
        if (QFileInfo(c.path).isFile()) {
            EXPECT_EQ(Contents(c.path), before) << c.name;
        }
    }
    EXPECT_EQ(Contents(Path("target")), "77\n");
}

// A chip written with its own serial number verifies against the same file once verify is
// told where the number is; without that, the number is the difference.
TEST_F(ProductionRefusal, VerifyLeavesTheSerialNumberOutWhereItIsTold)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 8);
    const struct
    {
        const char *where;
        const char *difference; // what a verify without --serial-at finds
        const char *leftOut;
    } cases[] = {
        {"prog:0300", "prog 0300 expected 3FFF read 34", "prog 0300-0301 holds each chip's own"},
        {"data:10:3", "data 10 expected FF read ", "data 10-12 holds each chip's own"},
        {"id", "Error Verifying ID Code", "the ID code holds each chip's own"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.where);
        StartChips("16f84", 1);
        ASSERT_EQ(Bench({"--no-log", "write", file, "--serial", "0x123", "--serial-at", c.where,
                         "--serial-file", Path("serial")})
                      .exitCode,
                  0);
        const CliRun plain = Bench({"--no-log", "verify", file});
        EXPECT_EQ(plain.exitCode, 1);
        EXPECT_TRUE((plain.out + plain.err).contains(c.difference))
            << plain.out.toStdString() << plain.err.toStdString();
        for (const char *all : {"", "--all"}) {
            QStringList args{"--no-log", "verify", file, "--serial-at", c.where};
            if (*all)
                args << all;
            const CliRun told = Bench(args);
            EXPECT_EQ(told.exitCode, 0) << all << told.out.toStdString() << told.err.toStdString();
            EXPECT_TRUE(told.err.contains(c.leftOut)) << told.err.toStdString();
        }
    }
    // A location the device lacks is a usage error before any port opens.
    const CliRun refused = RunTolmCli(
        TOLM_CLI,
        {"-d", "16c54", "-p", Path("no-module"), "verify", file, "--serial-at", "data:10"},
        Path("config"));
    EXPECT_EQ(refused.exitCode, 2) << refused.err.toStdString();
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
