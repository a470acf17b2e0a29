// Serial numbers and the production log on a bench of simulated modules: each chip carries
// its own number where --serial-at says, a number is never handed out twice, and every port
// leaves one row that says what became of its chip.
#include "ProductionFixture.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <csignal>
#include <map>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// The number a RETLW table of two words holds, least significant byte first; nothing when the
// words are not RETLWs.
std::optional<std::uint64_t> RetlwNumber(const MemoryImage &chip, int address)
{
    std::uint64_t number = 0;
    for (int i = 0; i < 2; ++i) {
        const auto word = ParseHexText(chip.GetProgramWordText(address + i));
        if (!word || (*word & 0xFF00) != 0x3400)
            return std::nullopt;
        number |= static_cast<std::uint64_t>(*word & 0xFF) << (8 * i);
    }
    return number;
}

QString Sha256(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromLatin1(
        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
}

class ProductionBench : public ProductionCli
{
protected:
    // Writes `file` with serial numbers at prog:0300 on four fresh chips; checks the chips and
    // gives each port's number and checksum, by port.
    std::map<QString, std::pair<std::uint64_t, std::uint16_t>> WriteFourChips(const QString &file,
                                                                              CliRun &run)
    {
        StartChips("16f84", 4);
        run = Bench({"write", file, "--serial", "100", "--serial-at", "prog:0300"});
        std::map<QString, std::pair<std::uint64_t, std::uint16_t>> chips;
        for (int i = 0; i < 4; ++i) {
            const QString port = Port(i);
            const auto chip = StopAndLoad(i);
            const auto number = RetlwNumber(*chip, 0x300);
            EXPECT_TRUE(number.has_value()) << chip->GetProgramWordText(0x300).toStdString();
            EXPECT_EQ(chip->GetProgramWordText(0x302), "3FFF") << "two words, no more";
            EXPECT_EQ(chip->GetProgramWordText(5), FormatHex(0x2800 + 5 * 37, 4));
            chips[port] = {number.value_or(0), ImageChecksum(*chip, m_device)};
        }
        return chips;
    }
};

TEST_F(ProductionBench, FourPortsGetConsecutiveNumbersAndASecondRunContinuesAfterThem)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 64);
    for (const std::uint64_t first : {100u, 104u}) {
        SCOPED_TRACE(first);
        CliRun run;
        const auto chips = WriteFourChips(file, run);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        std::set<std::uint64_t> numbers;
        for (const auto &[port, chip] : chips)
            numbers.insert(chip.first);
        EXPECT_EQ(numbers, (std::set<std::uint64_t>{first, first + 1, first + 2, first + 3}));
        if (first == 104) {
            EXPECT_TRUE(run.err.contains("continues at 104; --serial 100 only starts a new"))
                << run.err.toStdString();
        }
        // Each port's summary line names its number and the checksum of what it wrote.
        for (const auto &[port, chip] : chips)
            EXPECT_TRUE(run.err.contains(QStringLiteral("%1: tolm-cli: write ok: ").arg(port)) &&
                        run.err.contains(QStringLiteral(", checksum %1, serial %2\n")
                                             .arg(FormatHex(chip.second, 4))
                                             .arg(chip.first)))
                << port.toStdString() << "\n"
                << run.err.toStdString();

        const auto rows = LogRows(DefaultLog());
        ASSERT_EQ(rows.size(), first == 100 ? 4u : 8u);
        for (auto row = rows.end() - 4; row != rows.end(); ++row) {
            ASSERT_TRUE(chips.count(row->port)) << row->port.toStdString();
            const auto &[number, checksum] = chips.at(row->port);
            EXPECT_EQ(row->serial, std::optional<std::uint64_t>(number));
            EXPECT_EQ(row->checksum, std::optional<std::uint16_t>(checksum));
            EXPECT_EQ(row->result, "ok");
            EXPECT_EQ(row->exitCode, 0);
            EXPECT_EQ(row->device, "16f84");
            EXPECT_EQ(row->file, file);
            EXPECT_EQ(row->fileSha256, Sha256(file));
            EXPECT_EQ(row->words, 1024 + 64) << "program and data memory";
            EXPECT_TRUE(row->command.contains("write " + file + " --serial 100"));
            EXPECT_TRUE(row->detail.isEmpty());
        }
    }
    // The log command finds a chip by its number.
    const CliRun found = Bench({"log", "--serial", "106", "--csv"});
    ASSERT_EQ(found.exitCode, 0) << found.err.toStdString();
    const QStringList lines = found.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << found.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("time,host,port,device,command,file,sha256,checksum,serial,"));
    // The command holds commas (the port list), so it comes quoted; it starts with a minus,
    // so a spreadsheet gets it as text.
    EXPECT_TRUE(lines[1].contains(",\"'-d 16f84 -p ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(",106,ok,0,1088,")) << lines[1].toStdString();
}

TEST_F(ProductionBench, AFailedChipIsLoggedAndItsNumberIsNeverHandedOutAgain)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 16);
    // The second chip never takes its word at 0005: the write fails there.
    StartChips("16f84", 3, {{}, {"--never-program", "5"}, {}});
    const CliRun run = Bench({"write", file, "--serial", "500", "--serial-at", "data:10"});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(Port(1) + ": tolm-cli: write FAILED (exit 1): "))
        << run.err.toStdString();

    std::set<std::uint64_t> numbers;
    const auto rows = LogRows(DefaultLog());
    ASSERT_EQ(rows.size(), 3u);
    for (const ProductionRow &row : rows) {
        ASSERT_TRUE(row.serial.has_value());
        numbers.insert(*row.serial);
        const bool failing = row.port == Port(1);
        EXPECT_EQ(row.result, failing ? "failed" : "ok") << row.port.toStdString();
        EXPECT_EQ(row.exitCode, failing ? 1 : 0);
        if (failing) {
            EXPECT_TRUE(row.detail.contains("Error Writing Program Memory"))
                << row.detail.toStdString();
        }
    }
    EXPECT_EQ(numbers, (std::set<std::uint64_t>{500, 501, 502}));
    for (const int i : {0, 2}) {
        const auto chip = StopAndLoad(i);
        const std::uint64_t held = *ParseHexText(chip->GetDataByteText(0x10)) |
                                   *ParseHexText(chip->GetDataByteText(0x11)) << 8;
        EXPECT_TRUE(numbers.count(held)) << held;
    }

    // The failed chip's number stays used: the next chip gets the one after all three.
    StartChips("16f84", 1);
    ASSERT_EQ(Bench({"write", file, "--serial", "500", "--serial-at", "data:10"}).exitCode, 0);
    const auto chip = StopAndLoad(0);
    EXPECT_EQ(chip->GetDataByteText(0x10), "F7");
    EXPECT_EQ(chip->GetDataByteText(0x11), "01");
    EXPECT_EQ(LogRows(DefaultLog()).back().serial, std::optional<std::uint64_t>(503));
}

// A port whose module never answers takes a number that reaches no chip: the log says it was
// not used, and it is never handed out again. A module that answers everything but the last
// Power Off leaves a warning after work that succeeded.
TEST_F(ProductionBench, ANumberThatReachedNoChipAndAPowerOffNotConfirmedAreSaid)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 8);
    StartChips("16f84", 2, {{}, {"--no-ack-from", "1"}});
    const CliRun run = Bench({"write", file, "--serial", "40", "--serial-at", "data:10"});
    EXPECT_EQ(run.exitCode, 4) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(Port(1) + ": tolm-cli: write PORT-ERROR (exit 4): 0 words in "))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(" (not used)\n")) << run.err.toStdString();
    const auto rows = LogRows(DefaultLog());
    ASSERT_EQ(rows.size(), 2u);
    for (const ProductionRow &row : rows) {
        const bool silent = row.port == Port(1);
        EXPECT_EQ(row.detail.startsWith("serial number not used: "), silent)
            << row.detail.toStdString();
    }

    // The last exchange of a configuration read is its Power Off.
    StartChips("16f84", 1);
    ASSERT_EQ(Bench({"config", "read"}).exitCode, 0);
    m_sims[0]->Stop();
    StartChips("16f84", 1, {{"--transcript", Path("t.txt")}});
    ASSERT_EQ(Bench({"config", "read"}).exitCode, 0);
    m_sims[0]->Stop();
    QFile transcript(Path("t.txt"));
    ASSERT_TRUE(transcript.open(QIODevice::ReadOnly));
    const int exchanges = static_cast<int>(transcript.readAll().count('\n'));
    StartChips("16f84", 1, {{"--wrong-ack-at", QString::number(exchanges)}});
    const CliRun unconfirmed = Bench({"config", "read"});
    EXPECT_EQ(unconfirmed.exitCode, 0) << unconfirmed.err.toStdString();
    EXPECT_TRUE(unconfirmed.err.contains("tolm-cli: warning: the module did not confirm power-off"))
        << unconfirmed.err.toStdString();
}

// A log that cannot be written never stops the chip work: the chip is programmed, the reason
// is on stderr, and the run exits 3 instead of 0. A file that is not a log stays as it was.
TEST_F(ProductionBench, ALogThatCannotBeWrittenGivesExitThreeWithTheChipWritten)
{
    m_device = *FindDevice("16f84");
    const QString file = Firmware("board.hex", 16);
    QFile blocker(Path("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QFile damaged(Path("damaged.sqlite"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("SQLite format 3\0", 16) + QByteArray(8000, '\x5A'));
    damaged.close();
    const QString damagedHash = Sha256(Path("damaged.sqlite"));
    // A log made by an earlier run, for the full disk.
    StartChips("16f84", 1);
    ASSERT_EQ(Bench({"--log", Path("full.sqlite"), "erase"}).exitCode, 0);

    struct Case
    {
        const char *name;
        QString log;
        rlim_t fileSizeLimit; // RLIM_INFINITY: none
        const char *reason;
    };
    std::vector<Case> cases = {
        {"damaged", Path("damaged.sqlite"), RLIM_INFINITY, "left as it is"},
        {"its folder cannot be made", Path("not-a-folder/production.sqlite"), RLIM_INFINITY,
         "cannot make the folder"},
        {"a full disk", Path("full.sqlite"), 2048, "this chip is not recorded in"},
        {"a negative schema version", Path("negative.sqlite"), RLIM_INFINITY,
         "schema version -1 is not one tolm-cli knows"},
        {"a FIFO", Path("fifo.sqlite"), RLIM_INFINITY, "a FIFO"},
        {"a dangling link", Path("dangling.sqlite"), RLIM_INFINITY, "symbolic link"},
    };
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "negative");
        db.setDatabaseName(Path("negative.sqlite"));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("PRAGMA user_version = -1");
    }
    QSqlDatabase::removeDatabase("negative");
    const QString negativeHash = Sha256(Path("negative.sqlite"));
    ASSERT_EQ(::mkfifo(qPrintable(Path("fifo.sqlite")), 0600), 0);
    ASSERT_TRUE(QFile::link(Path("nowhere.sqlite"), Path("dangling.sqlite")));
    if (::geteuid() != 0) { // root may write to a read-only file
        QFile readOnly(Path("read-only.sqlite"));
        ASSERT_TRUE(readOnly.open(QIODevice::WriteOnly));
        readOnly.close();
        readOnly.setPermissions(QFileDevice::ReadOwner);
        cases.push_back({"read-only", Path("read-only.sqlite"), RLIM_INFINITY, "cannot log into"});
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StartChips("16f84", 1);
        QProcess cli;
        cli.setProcessEnvironment(TolmCliEnvironment(Path("config")));
        const rlim_t limit = c.fileSizeLimit;
        cli.setChildProcessModifier([limit] {
            std::signal(SIGXFSZ, SIG_IGN); // a full disk fails the write, it kills nobody
            const rlimit size{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
        });
        cli.start(TOLM_CLI, {"-d", "16f84", "-p", Port(0), "--log", c.log, "write", file});
        ASSERT_TRUE(cli.waitForFinished(20000));
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        EXPECT_EQ(cli.exitCode(), 3) << err.toStdString();
        EXPECT_TRUE(err.contains(c.reason)) << err.toStdString();
        EXPECT_TRUE(err.contains("tolm-cli: write ok: ")) << err.toStdString();
        EXPECT_TRUE(err.contains("is recorded in the production log")) << err.toStdString();
        const auto chip = StopAndLoad(0);
        EXPECT_EQ(chip->GetProgramWordText(15), FormatHex(0x2800 + 15 * 37, 4));
        EXPECT_EQ(chip->ConfigWord, 0x3FF1);
    }
    EXPECT_EQ(Sha256(Path("damaged.sqlite")), damagedHash) << "a damaged log is never written";
    EXPECT_EQ(Sha256(Path("negative.sqlite")), negativeHash);
    EXPECT_FALSE(QFileInfo::exists(Path("nowhere.sqlite"))) << "nothing made through a link";
}

} // namespace
