// The serial file: the next number survives runs, is never handed out twice (also to threads
// and processes taking numbers at once), and a file that holds something else is left alone.
#include "production/SerialCounter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace {

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(SerialCounter, RefusesWithoutChangingTheFile)
{
    struct Case
    {
        const char *name;
        QByteArray contents;
        std::uint64_t largest;
        std::optional<std::uint64_t> number; // when the take succeeds
        bool doesNotFit;
    };
    const Case cases[] = {
        {"a number above the location's largest", "256\n", 0xFF, std::nullopt, true},
        {"the largest number itself", "255\n", 0xFF, 255, false},
        {"text that is not a number", "twelve\n", 0xFFFF, std::nullopt, false},
        {"a negative number", "-3\n", 0xFFFF, std::nullopt, false},
        {"a number no log column holds", "9223372036854775808\n", ~std::uint64_t{0}, std::nullopt,
         false},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("next-serial");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.contents);
        file.close();
        const SerialCounter::Taken taken = SerialCounter(path).Take(0, 1, c.largest);
        EXPECT_EQ(taken.number, c.number) << c.name;
        if (c.number)
            continue;
        EXPECT_EQ(taken.doesNotFit, c.doesNotFit) << c.name;
        EXPECT_FALSE(taken.error.isEmpty()) << c.name;
        EXPECT_EQ(Contents(path), c.contents) << c.name;
    }
}

TEST(SerialCounter, SixteenThreadsAtOnceGetDistinctConsecutiveNumbers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("next-serial");
    std::vector<std::uint64_t> numbers;
    std::mutex numbersMutex;
    std::vector<std::thread> threads;
    for (int t = 0; t < 16; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 5; ++i) {
                // Each take through its own counter, as each port does.
                const auto taken = SerialCounter(path).Take(1000, 1, 0xFFFF);
                std::lock_guard lock(numbersMutex);
                numbers.push_back(taken.number.value_or(0));
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    std::sort(numbers.begin(), numbers.end());
    ASSERT_EQ(numbers.size(), 80u);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], 1000 + i);
    EXPECT_EQ(Contents(path), "1080\n");
}

} // namespace
