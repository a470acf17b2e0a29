// Several benches, one production log on PostgreSQL: serial numbers from one shared counter
// reach one chip each, the rows of a bench whose server is away are kept and sent once, and a
// server that refuses the bench stops it before any port is opened.
#include "PostgresFixture.h"

#include "production/BenchFacts.h"
#include "production/ProductionRecorder.h"

#include <QProcess>

#include <set>

namespace {

// Serial numbers of the rows in the test's database, as the log reads them.
std::multiset<std::uint64_t> Serials(const QString &uri)
{
    QString error;
    std::multiset<std::uint64_t> serials;
    const auto place = ParseLogPlace(uri, error);
    ReadProductionLog(*place, {}, [&](const ProductionRow &row) {
        if (row.serial)
            serials.insert(*row.serial);
    });
    return serials;
}

TEST_F(PostgresBench, BenchesSharingOneCounterNeverNumberTwoChipsAlike)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 8);
    StartChips("16f84", 6);
    // Three benches at once, two modules each, two rounds, each bench its own data folder.
    std::vector<std::unique_ptr<QProcess>> benches;
    for (int bench = 0; bench < 3; ++bench) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = TolmCliEnvironment(Path(QStringLiteral("bench%1").arg(bench)));
        process->setProcessEnvironment(env);
        const QString ports = Port(2 * bench) + "," + Port(2 * bench + 1);
        const QString write =
            QStringLiteral("for i in 1 2; do '%1' -d 16f84 -p %2 --log %3 write %4 --serial 1 "
                           "--serial-at data:10 --serial-counter boards --serial-block %5 "
                           "--lot L1 || exit $?; done")
                .arg(TOLM_CLI, ports, Uri(), file)
                .arg(bench + 1); // blocks of 1, 2 and 3
        process->start("sh", {"-c", write});
        benches.push_back(std::move(process));
    }
    for (auto &process : benches) {
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    const auto serials = Serials(Uri());
    EXPECT_EQ(serials.size(), 12u);
    EXPECT_EQ(std::set<std::uint64_t>(serials.begin(), serials.end()).size(), 12u)
        << "no number twice";
    // Each chip carries the number its row names.
    for (int i = 0; i < 6; ++i) {
        const auto chip = StopAndLoad(i);
        const std::uint64_t held = *ParseHexText(chip->GetDataByteText(0x10)) |
                                   *ParseHexText(chip->GetDataByteText(0x11)) << 8;
        EXPECT_EQ(serials.count(held), 1u) << held;
    }
    const CliRun summary =
        RunTolmCli(TOLM_CLI, {"--log", Uri(), "log", "--summary", "--csv"}, Path("bench0"));
    EXPECT_TRUE(summary.out.contains("L1,16f84,")) << summary.out.toStdString();
    EXPECT_TRUE(summary.out.contains(",write,12,12,0,100.0%")) << summary.out.toStdString();
}

TEST_F(PostgresBench, ABenchWhoseServerIsAwayKeepsItsRowsAndSendsThemOnce)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 8);
    const QStringList write = {"--log",
                               Uri(),
                               "write",
                               file,
                               "--serial",
                               "1",
                               "--serial-at",
                               "data:10",
                               "--serial-counter",
                               "boards",
                               "--serial-block",
                               "3"};
    StartChips("16f84", 1);
    ASSERT_EQ(Bench(write).exitCode, 0);
    Server("stop");
    for (int i = 0; i < 2; ++i) {
        StartChips("16f84", 1);
        const CliRun run = Bench(write);
        EXPECT_EQ(run.exitCode, 0) << "a kept row is no failure: " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("logged on this bench; %1 %2 for the server")
                                         .arg(i + 1)
                                         .arg(i == 0 ? "row waits" : "rows wait")))
            << run.err.toStdString();
    }
    // The reserve is used up and the server is away: no number, before any port opens.
    const CliRun empty = RunTolmCli(
        TOLM_CLI, QStringList{"-d", "16f84", "-p", Path("no-module")} + write, Path("config"));
    EXPECT_EQ(empty.exitCode, 3) << empty.err.toStdString();
    EXPECT_TRUE(empty.err.contains("the bench's reserve is empty")) << empty.err.toStdString();
    const CliRun awaySync = Bench({"--log", Uri(), "log", "--sync"});
    EXPECT_EQ(awaySync.exitCode, 3);
    EXPECT_EQ(awaySync.out, "sent=0\nwaiting=2\n");
    Server("start");

    // The next chip command sends what waited; a second sending stores nothing twice.
    StartChips("16f84", 1);
    const CliRun next = Bench(write);
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_TRUE(next.err.contains("2 rows logged on this bench reached")) << next.err.toStdString();
    for (int i = 0; i < 2; ++i) {
        const CliRun sync = Bench({"--log", Uri(), "log", "--sync"});
        EXPECT_EQ(sync.exitCode, 0) << sync.err.toStdString();
        EXPECT_EQ(sync.out, "sent=0\nwaiting=0\n");
    }
    EXPECT_EQ(Value("SELECT count(*) FROM chips").toInt(), 4);
    EXPECT_EQ(Value("SELECT count(DISTINCT serial) FROM chips").toInt(), 4);
    EXPECT_EQ(Value("SELECT min(serial) FROM chips").toInt(), 1);
}

TEST_F(PostgresBench, AServerThatRefusesTheBenchStopsItBeforeAnyPortOpens)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 8);
    const QStringList write = {"-d",    "16f84", "-p",    Path("no-module"),
                               "--log", Uri(),   "write", file};
    const QByteArray password = qgetenv("PGPASSWORD");
    qputenv("PGPASSWORD", "wrong-Secret-42");
    const CliRun refused = RunTolmCli(TOLM_CLI, write, Path("config"));
    qputenv("PGPASSWORD", password);
    EXPECT_EQ(refused.exitCode, 3) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("password authentication failed"))
        << refused.err.toStdString();
    EXPECT_FALSE(refused.err.contains("wrong-Secret-42"));
    EXPECT_FALSE(refused.err.contains("COM Port Error"));

    // A schema from a newer tolm: refused and left exactly as it is.
    StartChips("16f84", 1);
    ASSERT_EQ(Bench({"--log", Uri(), "write", file}).exitCode, 0);
    ASSERT_TRUE(Admin("UPDATE tolm_schema SET version = 9", m_database));
    const CliRun newer = RunTolmCli(TOLM_CLI, write, Path("config"));
    EXPECT_EQ(newer.exitCode, 3) << newer.err.toStdString();
    EXPECT_TRUE(newer.err.contains("a newer tolm-cli wrote it (schema 9"))
        << newer.err.toStdString();
    EXPECT_EQ(Value("SELECT version FROM tolm_schema").toInt(), 9);
    EXPECT_EQ(Value("SELECT count(*) FROM chips").toInt(), 1);
    const CliRun read = Bench({"--log", Uri(), "log"});
    EXPECT_EQ(read.exitCode, 3) << "a newer schema is not read either";
}

// The desktop program keeps one connection for a whole session: a server restarted in between
// costs the next row a new login, not its place in the log.
TEST_F(PostgresBench, AConnectionTheServerClosedIsMadeAgain)
{
    QString error;
    const auto place = ParseLogPlace(Uri(), error);
    ProductionRecorder recorder(*place, Path("bench"));
    ASSERT_FALSE(recorder.Prepare().refusal.has_value());
    ProductionRow row = NewProductionRow(CurrentBenchFacts("ann", "L2", "tolm test"));
    row.port = row.device = row.command = row.result = QStringLiteral("x");
    EXPECT_EQ(recorder.Append(row).outcome, ProductionRecorder::Outcome::Logged);
    Server("stop");
    Server("start");
    row.uid = NewRowId();
    EXPECT_EQ(recorder.Append(row).outcome, ProductionRecorder::Outcome::Logged);
    EXPECT_EQ(Value("SELECT count(*) FROM chips").toInt(), 2);
    EXPECT_EQ(Value("SELECT operator FROM chips LIMIT 1").toString(), "ann");
}

} // namespace
