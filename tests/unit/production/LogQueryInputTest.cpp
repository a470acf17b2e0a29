// What a user types to pick log rows and to number chips: one reading of times and one of
// serial numbers for every option, strict about anything after the value.
#include "production/LogTime.h"
#include "production/SerialNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(LogQueryInput, TimesAreReadWholeOrNotAtAll)
{
    const QDateTime local(QDate(2026, 12, 7), QTime(0, 0));
    const struct
    {
        const char *text;
        std::optional<QDateTime> time;
    } cases[] = {
        {"2026-12-07", local},
        {" 2026-12-07 ", local},
        {"2026-12-07 23:59", local.addSecs(23 * 3600 + 59 * 60)},
        {"2026-12-07T23:59:30", local.addSecs(23 * 3600 + 59 * 60 + 30)},
        {"2026-12-07 23:59Z", QDateTime(QDate(2026, 12, 7), QTime(23, 59), Qt::UTC)},
        {"2026-12-07 23:59+02:00", QDateTime(QDate(2026, 12, 7), QTime(21, 59), Qt::UTC)},
        {"2026-12-07 23:59-0130", QDateTime(QDate(2026, 12, 8), QTime(1, 29), Qt::UTC)},
        {"2020-01-01junk", std::nullopt},
        {"2020-01-01 12", std::nullopt},
        {"2020-01-01 24:00", std::nullopt},
        {"2020-02-30", std::nullopt},
        {"2020-1-1", std::nullopt},
        {"yesterday", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases) {
        const auto time = ParseLogTime(QString::fromLatin1(c.text));
        ASSERT_EQ(time.has_value(), c.time.has_value()) << c.text;
        if (time) {
            EXPECT_EQ(time->toMSecsSinceEpoch(), c.time->toMSecsSinceEpoch()) << c.text;
        }
    }
}

TEST(LogQueryInput, SerialNumbersAreDecimalOrHexAfter0x)
{
    const struct
    {
        const char *text;
        std::optional<std::uint64_t> number;
    } cases[] = {
        {"1000", 1000},
        {"0100", 100}, // never octal
        {"09", 9},
        {"01000", 1000},
        {" 42 ", 42},
        {"0x1F", 31},
        {"0X1f", 31},
        {"9223372036854775807", kMaxSerialNumber},
        {"9223372036854775808", std::nullopt},
        {"0x8000000000000000", std::nullopt},
        {"1F", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"12abc", std::nullopt},
        {"0x", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseSerialNumber(QString::fromLatin1(c.text)), c.number) << c.text;
}

} // namespace
