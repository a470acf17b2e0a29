// Serial numbers from a counter in the log's database and from a bench's reserve: each number
// goes out once, also to threads taking at once; a reserve of another database is never used;
// a bench that cannot reach its server keeps its rows.
#include "production/LogConnection.h"
#include "production/LogCounter.h"
#include "production/ProductionLog.h"
#include "production/ProductionRecorder.h"
#include "production/SerialReserve.h"
#include "production/SerialSource.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Mode 0600 as the file's owner sees it.
const QFileDevice::Permissions kOwnerOnlyAsSeen = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadUser | QFileDevice::WriteUser;

class SharedSerial : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "production_unit_tests";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv); // the SQL drivers are plugins
    }

    SerialSourcePlan Plan(int block) const
    {
        SerialSourcePlan plan;
        plan.counterName = QStringLiteral("boards");
        plan.block = block;
        plan.log.path = m_dir.filePath("production.sqlite");
        plan.benchFolder = m_dir.path();
        plan.seed = 1000;
        return plan;
    }

    QTemporaryDir m_dir;
};

TEST_F(SharedSerial, ThreadsTakingFromOneCounterNeverGetANumberTwice)
{
    for (const int block : {1, 3}) {
        SCOPED_TRACE(block);
        QTemporaryDir dir;
        SerialSourcePlan plan = Plan(block);
        plan.log.path = dir.filePath("production.sqlite");
        plan.benchFolder = dir.path();
        std::vector<std::uint64_t> numbers;
        std::mutex numbersMutex;
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < 4; ++i) {
                    const SerialTake taken = TakeSerial(plan, 0xFFFF);
                    std::lock_guard lock(numbersMutex);
                    if (!taken.number) ADD_FAILURE() << taken.error.toStdString();
                    numbers.push_back(taken.number.value_or(0));
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        std::sort(numbers.begin(), numbers.end());
        EXPECT_EQ(std::adjacent_find(numbers.begin(), numbers.end()), numbers.end());
        EXPECT_EQ(numbers.front(), 1000u);
        EXPECT_EQ(numbers.back(), 1031u);
    }
}

TEST_F(SharedSerial, ACounterHandsOutOnlyWhatFitsTheLocation)
{
    ASSERT_EQ(PrepareProductionLog(m_dir.filePath("production.sqlite")), std::nullopt);
    LogConnection connection(m_dir.filePath("production.sqlite"), LogConnection::Mode::ReadWrite);
    ASSERT_EQ(connection.Open(), std::nullopt);
    const struct
    {
        int count;
        std::uint64_t step;
        std::uint64_t largest;
        std::optional<std::uint64_t> first;
        int taken;
    } cases[] = {
        {3, 1, 0xFF, 250, 3},    // 250-252
        {5, 1, 0xFF, 253, 3},    // 253-255: only three fit
        {1, 1, 0xFF, {}, 0},     // 256 does not fit a byte
        {2, 10, 0xFFFF, 256, 2}, // 256, 266
    };
    for (const auto &c : cases) {
        const CounterTake take = TakeCounterNumbers(connection.Db(), connection.Dialect(), "c", 250,
                                                    c.count, c.step, c.largest);
        EXPECT_EQ(take.first, c.first) << take.error.toStdString();
        EXPECT_EQ(take.count, c.taken);
        EXPECT_EQ(take.doesNotFit, !c.first.has_value());
    }
    EXPECT_FALSE(IsCounterName("a b"));
    EXPECT_FALSE(IsCounterName("x'; DROP TABLE counters; --"));
    EXPECT_TRUE(IsCounterName("boards-2026.v1_a"));
}

TEST_F(SharedSerial, AReserveServesWhileTheServerIsAwayAndOnlyItsOwnDatabase)
{
    const QString path = m_dir.filePath("reserve");
    int refills = 0;
    bool serverAway = false;
    std::uint64_t nextBlock = 500;
    const auto refill = [&] {
        ++refills;
        SerialReserve::Block block;
        if (serverAway) {
            block.error = QStringLiteral("connection refused");
            return block;
        }
        block.first = nextBlock;
        block.count = 3;
        nextBlock += 3;
        return block;
    };
    SerialReserve reserve(path, "postgresql://db/prod", "boards");
    EXPECT_EQ(reserve.Take(refill, 0xFFFF).number, std::optional<std::uint64_t>(500));
    serverAway = true;
    EXPECT_EQ(reserve.Take(refill, 0xFFFF).number, std::optional<std::uint64_t>(501));
    EXPECT_EQ(reserve.Take(refill, 0xFFFF).number, std::optional<std::uint64_t>(502));
    const SerialTake none = reserve.Take(refill, 0xFFFF);
    EXPECT_FALSE(none.number.has_value());
    EXPECT_TRUE(none.error.contains("connection refused"));
    EXPECT_EQ(refills, 2);
    EXPECT_EQ(QFileInfo(path).permissions(), kOwnerOnlyAsSeen);

    serverAway = false;
    SerialReserve other(path, "postgresql://elsewhere/prod", "boards");
    const SerialTake refused = other.Take(refill, 0xFFFF);
    EXPECT_FALSE(refused.number.has_value());
    EXPECT_TRUE(refused.error.contains("not of boards in postgresql://elsewhere/prod"))
        << refused.error.toStdString();
}

TEST_F(SharedSerial, RowsForAServerThatIsAwayAreKeptOnTheBenchForItsOwner)
{
    QString error;
    const auto place = ParseLogPlace("postgresql://127.0.0.1:1/prod?connect_timeout=2", error);
    ASSERT_TRUE(place.has_value()) << error.toStdString();
    ProductionRecorder recorder(*place, m_dir.path());
    const ProductionRecorder::Readiness readiness = recorder.Prepare();
    if (readiness.refusal && readiness.refusal->contains("driver is not installed"))
        GTEST_SKIP() << readiness.refusal->toStdString();
    EXPECT_FALSE(readiness.refusal.has_value()) << readiness.refusal->toStdString();
    EXPECT_TRUE(readiness.serverAway);
    ProductionRow row;
    row.time = QDateTime::currentDateTimeUtc();
    row.host = row.port = row.device = row.command = row.result = QStringLiteral("x");
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(recorder.Append(row).outcome, ProductionRecorder::Outcome::Kept);
    EXPECT_EQ(recorder.Waiting(), 2);
    EXPECT_EQ(QFileInfo(recorder.QueuePath()).permissions(), kOwnerOnlyAsSeen);
    // Another server's rows wait in a queue of their own.
    const auto other = ParseLogPlace("postgresql://127.0.0.1:1/other", error);
    EXPECT_EQ(ProductionRecorder(*other, m_dir.path()).Waiting(), 0);
}

} // namespace
