// The production log: made on first use, in WAL mode, with a versioned schema; sixteen ports
// appending at once lose no row; a file that is not a log of ours is never written to.
#include "production/ProductionLog.h"
#include "production/LogQuery.h"
#include "production/LogSchema.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "SmallDisk.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

class ProductionLogTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "production_unit_tests";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            s_app = new QCoreApplication(argc, argv); // the SQL driver is a plugin
    }

    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    static ProductionRow Row(const QString &port, std::uint64_t serial,
                             const char *device = "16f84")
    {
        ProductionRow row;
        row.time = QDateTime::currentDateTimeUtc();
        row.host = QStringLiteral("bench");
        row.port = port;
        row.device = QString::fromLatin1(device);
        row.command = QStringLiteral("write board.hex");
        row.file = QStringLiteral("/tmp/board.hex");
        row.checksum = 0x1A2B;
        row.serial = serial;
        row.result = QStringLiteral("ok");
        row.words = 1088;
        row.elapsedMs = 34200;
        return row;
    }

    // Runs a statement on the file through a connection of the test's own.
    static QVariant Query(const QString &path, const QString &statement)
    {
        QVariant value;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "probe");
            db.setDatabaseName(path);
            EXPECT_TRUE(db.open());
            QSqlQuery query(db);
            if (query.exec(statement) && query.next())
                value = query.value(0);
        }
        QSqlDatabase::removeDatabase("probe");
        return value;
    }

    static QByteArray Hash(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    // Every name in the test's folder with its size and kind, to show a refused file was not
    // touched and nothing was made beside it.
    std::map<std::string, std::string> FolderState() const
    {
        std::map<std::string, std::string> state;
        const QDir dir(m_dir.path());
        for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                       QDir::System | QDir::Hidden)) {
            state[info.fileName().toStdString()] =
                (info.isSymLink() ? "link to " + info.symLinkTarget()
                 : info.isFile()  ? QString::fromLatin1(Hash(info.filePath()).toHex())
                                  : QStringLiteral("other"))
                    .toStdString();
        }
        return state;
    }

    static LogFilter Filter(std::optional<QDateTime> since, std::optional<QString> device,
                            std::optional<std::uint64_t> serial, std::optional<qint64> upToId = {},
                            std::optional<QString> lot = {})
    {
        LogFilter filter;
        filter.since = since;
        filter.device = device;
        filter.serial = serial;
        filter.upToId = upToId;
        filter.lot = lot;
        return filter;
    }

    static QCoreApplication *s_app;
    QTemporaryDir m_dir;
};

QCoreApplication *ProductionLogTest::s_app = nullptr;

TEST_F(ProductionLogTest, SixteenPortsAppendingAtOnceLoseNoRow)
{
    const QString path = Path("deep/folder/production.sqlite");
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    EXPECT_EQ(Query(path, "PRAGMA user_version").toInt(), kLogSchemaVersion);
    EXPECT_EQ(Query(path, "PRAGMA journal_mode").toString(), "delete");
    constexpr int kPorts = 16;
    constexpr int kRowsEach = 10;
    std::vector<std::thread> threads;
    std::vector<int> failures(kPorts, 0);
    for (int port = 0; port < kPorts; ++port) {
        threads.emplace_back([&, port] {
            for (int i = 0; i < kRowsEach; ++i) {
                if (AppendProductionRow(path, Row(QStringLiteral("ttyUSB%1").arg(port),
                                                  static_cast<std::uint64_t>(port * 100 + i))))
                    ++failures[static_cast<std::size_t>(port)];
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int port = 0; port < kPorts; ++port)
        EXPECT_EQ(failures[static_cast<std::size_t>(port)], 0) << port;
    EXPECT_EQ(ReadProductionLog(path, {}).rows.size(), std::size_t{kPorts * kRowsEach});
    // Preparing again (the next run) leaves the rows alone.
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    EXPECT_EQ(ReadProductionLog(path, {}).rows.size(), std::size_t{kPorts * kRowsEach});
}

// What Prepare makes of the file, in a child process that may not hang or crash the run:
// "ok" or the refusal.
std::string GuardedPrepare(const QString &path)
{
    return RunWithFileSizeLimit(RLIM_INFINITY,
                                [&] {
                                    ::alarm(30);
                                    const auto failure = PrepareProductionLog(path);
                                    return failure ? failure->toStdString() : std::string("ok");
                                })
        .value_or("Prepare hung or crashed");
}

TEST_F(ProductionLogTest, AFileThatIsNotALogOfOursIsLeftExactlyAsItIs)
{
    struct Case
    {
        const char *name;
        std::function<void(const QString &path)> setUp;
        const char *reason;
    };
    const auto bytes = [](QByteArray contents) {
        return [contents](const QString &path) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(contents);
        };
    };
    const auto sql = [](const char *statement) {
        return [statement](const QString &path) { Query(path, QString::fromLatin1(statement)); };
    };
    const Case cases[] = {
        {"text", bytes("ttyUSB0,ok,1001\n"), "not an SQLite database"},
        {"a damaged database", bytes(QByteArray("SQLite format 3\0", 16) + QByteArray(4000, 'x')),
         "damaged"},
        {"another program's database", sql("CREATE TABLE songs (title TEXT)"), "another program"},
        {"a newer log", sql("PRAGMA user_version = 99"), "newer"},
        {"schema version -1", sql("PRAGMA user_version = -1"), "schema version -1"},
        {"schema version -3", sql("PRAGMA user_version = -3"), "schema version -3"},
        {"a version without the table", sql("PRAGMA user_version = 1"), "no table of chips"},
        {"a FIFO", [](const QString &path) { ::mkfifo(qPrintable(path), 0600); }, "a FIFO"},
        {"a folder", [](const QString &path) { QDir().mkpath(path); }, "a directory"},
        {"a link to a log",
         [this](const QString &path) {
             ASSERT_EQ(PrepareProductionLog(Path("real.sqlite")), std::nullopt);
             QFile::link(Path("real.sqlite"), path);
         },
         "symbolic link"},
        {"a dangling link",
         [this](const QString &path) { QFile::link(Path("nowhere.sqlite"), path); },
         "symbolic link"},
    };
    for (const Case &c : cases) {
        const QString path = Path(c.name);
        c.setUp(path);
        const auto before = FolderState();
        const std::string outcome = GuardedPrepare(path);
        EXPECT_NE(outcome.find(c.reason), std::string::npos) << c.name << ": " << outcome;
        EXPECT_EQ(FolderState(), before) << c.name;
    }
}

TEST_F(ProductionLogTest, ALogAnotherProgramHoldsLockedIsCalledLockedNotDamaged)
{
    const QString path = Path("production.sqlite");
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
    holder.setDatabaseName(path);
    ASSERT_TRUE(holder.open());
    QSqlQuery(holder).exec("BEGIN EXCLUSIVE");
    const std::string outcome = GuardedPrepare(path);
    EXPECT_NE(outcome.find("locked"), std::string::npos) << outcome;
    EXPECT_EQ(outcome.find("damaged"), std::string::npos) << outcome;
    QSqlQuery(holder).exec("ROLLBACK");
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
}

// A backup or cleaning script that deletes the journal files beside the log, while another
// program has it open, loses no row once a run has reported it logged.
TEST_F(ProductionLogTest, RowsReportedAsLoggedAreInTheMainFile)
{
    const QString path = Path("production.sqlite");
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
    other.setDatabaseName(path);
    ASSERT_TRUE(other.open());
    QSqlQuery(other).exec("SELECT count(*) FROM chips");
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(AppendProductionRow(path, Row("ttyUSB0", static_cast<std::uint64_t>(i))),
                  std::nullopt);
        for (const char *suffix : {"-wal", "-shm", "-journal"})
            QFile::remove(path + suffix);
    }
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("other");
    EXPECT_EQ(Query(path, "SELECT count(*) FROM chips").toInt(), 10);
}

TEST_F(ProductionLogTest, AFullDiskSaysSoAndALogInAReadOnlyPlaceCanBeRead)
{
    SmallDisk disk(512);
    const bool root = disk.Ready();
    const QString path = root ? disk.Path("production.sqlite") : Path("ro/production.sqlite");
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    ASSERT_EQ(AppendProductionRow(path, Row("ttyUSB0", 1)), std::nullopt);
    // No room for the next row: the reason is the disk, not the statement. A size limit (no
    // root) fails the journal's write as an I/O error; a full tmpfs says it is full.
    if (root) {
        ASSERT_TRUE(disk.LeaveFreePages(0));
    }
    const auto full = RunWithFileSizeLimit(root ? RLIM_INFINITY : 1024, [&] {
        const auto failure = AppendProductionRow(path, Row("ttyUSB0", 2));
        return failure ? failure->toStdString() : std::string("logged");
    });
    ASSERT_TRUE(full.has_value());
    EXPECT_NE(full->find(root ? "full" : "disk"), std::string::npos) << *full;
    EXPECT_EQ(full->find("Parameter count"), std::string::npos) << *full;
    // Someone else's log on a read-only mount (as root) or in a folder we may not write.
    if (root) {
        ASSERT_TRUE(disk.RemountReadOnly());
    } else {
        QFile::setPermissions(QFileInfo(path).absolutePath(),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const LogReadResult read = ReadProductionLog(path, {});
    EXPECT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.rows.size(), 1u);
    if (!root) {
        QFile::setPermissions(QFileInfo(path).absolutePath(), QFileDevice::WriteOwner |
                                                                  QFileDevice::ReadOwner |
                                                                  QFileDevice::ExeOwner);
    }
}

// A log an older tolm-cli wrote gains the new columns and keeps its rows; names with quotes
// and semicolons are stored as the text they are; the day's summary counts by lot and device.
TEST_F(ProductionLogTest, AnOlderLogIsBroughtUpToDateAndTextStaysText)
{
    const QString path = Path("production.sqlite");
    for (const char *statement :
         {"CREATE TABLE chips (id INTEGER PRIMARY KEY, time TEXT NOT NULL, host TEXT NOT NULL, "
          "port TEXT NOT NULL, device TEXT NOT NULL, command TEXT NOT NULL, file TEXT, "
          "file_sha256 TEXT, checksum TEXT, serial INTEGER, result TEXT NOT NULL, exit_code "
          "INTEGER NOT NULL, words INTEGER NOT NULL, elapsed_ms INTEGER NOT NULL, detail TEXT)",
          "INSERT INTO chips (time, host, port, device, command, result, exit_code, words, "
          "elapsed_ms) VALUES ('2026-01-01T00:00:00.000Z', 'old', 'ttyS0', '16f84', 'write', "
          "'failed', 1, 0, 1)",
          "PRAGMA user_version = 1"})
        Query(path, QString::fromLatin1(statement));
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    EXPECT_EQ(Query(path, "PRAGMA user_version").toInt(), kLogSchemaVersion);
    const QString hostile = QStringLiteral("x'); DROP TABLE chips; --");
    for (const char *lot : {"A", "A", "B"}) {
        ProductionRow row = Row(hostile, 7, "16f'84");
        row.lot = lot == std::string("B") ? hostile : QString::fromLatin1(lot);
        row.operation = QStringLiteral("write");
        row.uid = QStringLiteral("uid-%1").arg(Query(path, "SELECT count(*) FROM chips").toInt());
        ASSERT_EQ(AppendProductionRow(path, row), std::nullopt);
    }
    // The same row again (a second sending) is stored once.
    ProductionRow again = Row("ttyUSB0", 8);
    again.uid = QStringLiteral("uid-1");
    ASSERT_EQ(AppendProductionRow(path, again), std::nullopt);
    // A window without a port yet: the text is empty, never a missing value.
    ProductionRow portless = Row(QString(), 9);
    portless.uid = QStringLiteral("uid-portless");
    ASSERT_EQ(AppendProductionRow(path, portless), std::nullopt);
    const auto rows = ReadProductionLog(path, {}).rows;
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].host, "old");
    EXPECT_TRUE(rows[0].lot.isEmpty());
    EXPECT_EQ(rows[3].lot, hostile);
    EXPECT_EQ(rows[3].port, hostile);
    EXPECT_EQ(rows[3].device, "16f'84");

    LogPlace place;
    place.path = path;
    const LogSummary summary = SummarizeProductionLog(place, {});
    ASSERT_TRUE(summary.error.isEmpty()) << summary.error.toStdString();
    std::vector<std::string> groups;
    for (const LogSummaryRow &group : summary.rows)
        groups.push_back(QStringLiteral("%1|%2|%3|%4|%5|%6")
                             .arg(group.lot, group.device, group.station, group.operation)
                             .arg(group.chips)
                             .arg(group.passed)
                             .toStdString());
    EXPECT_EQ(groups, (std::vector<std::string>{
                          "|16f84|bench||1|1", "|16f84|old||1|0", "A|16f'84|bench|write|2|2",
                          hostile.toStdString() + "|16f'84|bench|write|1|1"}));
    EXPECT_EQ(SummarizeProductionLog(place, Filter(std::nullopt, std::nullopt, std::nullopt,
                                                   std::nullopt, QStringLiteral("A")))
                  .rows.size(),
              1u);
}

TEST_F(ProductionLogTest, ANewLogIsForItsOwnerAlone)
{
    const QString path = Path("new/production.sqlite");
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    EXPECT_EQ(QFileInfo(path).permissions(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadUser | QFileDevice::WriteUser);
}

TEST_F(ProductionLogTest, ReadsOnlyTheRowsTheFilterLetsThroughOldestFirst)
{
    const QString path = Path("production.sqlite");
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    const QDateTime start = QDateTime::currentDateTimeUtc();
    const struct
    {
        const char *device;
        std::uint64_t serial;
        int minutesAfterStart;
    } rows[] = {{"16f84", 1, -90}, {"16f877", 2, -30}, {"16f84", 3, 0}, {"16f84", 2, 10}};
    for (const auto &r : rows) {
        ProductionRow row = Row(QStringLiteral("ttyUSB0"), r.serial, r.device);
        row.time = start.addSecs(60 * r.minutesAfterStart);
        ASSERT_EQ(AppendProductionRow(path, row), std::nullopt);
    }
    const struct
    {
        const char *name;
        LogFilter filter;
        std::vector<std::uint64_t> serials;
    } cases[] = {
        {"everything", {}, {1, 2, 3, 2}},
        {"since an hour ago", Filter(start.addSecs(-3600), {}, {}), {2, 3, 2}},
        {"one device", Filter({}, QStringLiteral("16f84"), {}), {1, 3, 2}},
        {"one serial number", Filter({}, {}, 2), {2, 2}},
        {"all three", Filter(start.addSecs(-3600), QStringLiteral("16f84"), 2), {2}},
        {"nothing matches", Filter({}, QStringLiteral("12c508"), {}), {}},
        {"up to the third row", Filter({}, {}, {}, 3), {1, 2, 3}},
    };
    for (const auto &c : cases) {
        const LogReadResult read = ReadProductionLog(path, c.filter);
        std::vector<std::uint64_t> serials;
        for (const ProductionRow &row : read.rows)
            serials.push_back(row.serial.value_or(0));
        EXPECT_EQ(serials, c.serials) << c.name;
    }
    const LogReadResult missing = ReadProductionLog(Path("none.sqlite"), {});
    EXPECT_TRUE(missing.missing);
    EXPECT_TRUE(missing.error.isEmpty());
    EXPECT_FALSE(QFile::exists(Path("none.sqlite"))) << "reading never makes a log";
}

} // namespace
