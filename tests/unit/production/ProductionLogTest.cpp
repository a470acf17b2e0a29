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

    static QCoreApplication *s_app;
    QTemporaryDir m_dir;
};

QCoreApplication *ProductionLogTest::s_app = nullptr;

TEST_F(ProductionLogTest, SixteenPortsAppendingAtOnceLoseNoRow)
{
    const QString path = Path("deep/folder/production.sqlite");
    ASSERT_EQ(PrepareProductionLog(path), std::nullopt);
    EXPECT_EQ(Query(path, "PRAGMA user_version").toInt(), kLogSchemaVersion);
    EXPECT_EQ(Query(path, "PRAGMA journal_mode").toString(), "wal");
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

TEST_F(ProductionLogTest, AFileThatIsNotALogOfOursIsLeftExactlyAsItIs)
{
    struct Case
    {
        const char *name;
        const char *statement; // made with SQLite; nullptr: the bytes below
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"text", nullptr, "ttyUSB0,ok,1001\n", "not an SQLite database"},
        {"a damaged database", nullptr, QByteArray("SQLite format 3\0", 16) + QByteArray(4000, 'x'),
         "damaged"},
        {"another program's database", "CREATE TABLE songs (title TEXT)", {}, "another program"},
        {"a newer log", "PRAGMA user_version = 99", {}, "newer"},
    };
    for (const Case &c : cases) {
        const QString path = Path(c.name);
        if (c.statement) {
            Query(path, QString::fromLatin1(c.statement));
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        const QByteArray before = Hash(path);
        const auto failure = PrepareProductionLog(path);
        ASSERT_TRUE(failure.has_value()) << c.name;
        EXPECT_TRUE(failure->contains(QLatin1String(c.reason))) << failure->toStdString();
        EXPECT_EQ(Hash(path), before) << c.name;
        EXPECT_FALSE(QFile::exists(path + "-wal")) << c.name;
    }
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
        {"since an hour ago", {start.addSecs(-3600), {}, {}}, {2, 3, 2}},
        {"one device", {{}, QStringLiteral("16f84"), {}}, {1, 3, 2}},
        {"one serial number", {{}, {}, 2}, {2, 2}},
        {"all three", {start.addSecs(-3600), QStringLiteral("16f84"), 2}, {2}},
        {"nothing matches", {{}, QStringLiteral("12c508"), {}}, {}},
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
