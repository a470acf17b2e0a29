#include "IdealTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(IdealTime, TranscriptLinesAreReadOrRefused)
{
    struct Case
    {
        const char *line;
        bool valid;
        std::size_t hostBytes;
        std::size_t moduleBytes;
        std::chrono::microseconds chip;
    };
    const Case cases[] = {
        {"07 -> 20", true, 1, 1, 0us},
        {"0B -> 46 33 46 46 20", true, 1, 5, 0us},
        {"10 41 30 31 32 33 -> 20; chip 20000 us", true, 6, 1, 20000us},
        {"18 ->", true, 1, 0, 0us},             // a command the module does not know
        {"0B -> 46 33 46 46", true, 1, 4, 0us}, // no acknowledge
        {"", false, 0, 0, 0us},
        {"-> 20", false, 0, 0, 0us},
        {"07 20", false, 0, 0, 0us},
        {"7 -> 20", false, 0, 0, 0us},
        {"07 -> 2G", false, 0, 0, 0us},
        {"07 -> 20; chip x us", false, 0, 0, 0us},
        {"07 -> 20; chip -5 us", false, 0, 0, 0us},
    };
    for (const Case &c : cases) {
        const auto exchange = ParseTranscriptLine(c.line);
        ASSERT_EQ(exchange.has_value(), c.valid) << c.line;
        if (exchange) {
            EXPECT_EQ(exchange->hostBytes.size(), c.hostBytes) << c.line;
            EXPECT_EQ(exchange->moduleBytes.size(), c.moduleBytes) << c.line;
            EXPECT_EQ(exchange->chipTime, c.chip) << c.line;
        }
    }
}

std::vector<std::string> Repeat(const std::string &line, int times)
{
    return std::vector<std::string>(static_cast<std::size_t>(times), line);
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto &part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(IdealTime, PausesTheChipAlgorithmsMustMake)
{
    struct Case
    {
        const char *name;
        std::vector<std::string> lines;
        std::chrono::microseconds pauses;
    };
    const Case cases[] = {
        {"Serial read of a word", {"01 34 -> 20", "02 -> 46 46 46 37 20"}, 1ms},
        {"Parallel read of a word", {"0B -> 46 33 46 46 20", "14 -> 20"}, 0ms},
        {"Parallel read of the configuration word",
         Join({{"16 30 30 30 30 -> 20"}, Repeat("14 -> 20", 7), {"0B -> 46 33 46 46 20"}}), 1ms},
        {"Parallel read of an ID location",
         Join({{"16 30 30 30 30 -> 20"}, Repeat("14 -> 20", 2), {"0B -> 46 33 46 46 20"}}), 0ms},
        {"Serial code-protect disable",
         {"01 31 -> 20", "01 37 -> 20", "01 38 -> 20", "01 31 -> 20", "01 37 -> 20"},
         20ms},
        {"Parallel code-protect disable", {"00 31 -> 20", "00 37 -> 20", "00 38 -> 20"}, 20ms},
        {"programming cycle of an ordinary write", {"01 32 -> 20", "01 38 -> 20"}, 0ms},
        {"commands 1 and 7 by different methods",
         {"00 31 -> 20", "01 37 -> 20", "01 38 -> 20"},
         0ms},
        {"bulk erases of program and data memory", {"01 39 -> 20", "01 42 -> 20"}, 40ms},
    };
    for (const Case &c : cases) {
        std::string error;
        const auto ideal = IdealTimeOfTranscript(c.lines, error);
        ASSERT_TRUE(ideal) << c.name << ": " << error;
        EXPECT_EQ(ideal->hostPauses, c.pauses) << c.name;
    }
}

TEST(IdealTime, AddsLineTimeChipTimeAndPauses)
{
    const std::vector<std::string> lines = {
        "07 -> 20",    "09 -> 20",
        "01 41 -> 20", "10 41 30 31 32 33 -> 20; chip 20000 us",
        "01 34 -> 20", "02 -> 46 46 46 37 20",
    };
    std::string error;
    const auto ideal = IdealTimeOfTranscript(lines, error);
    ASSERT_TRUE(ideal) << error;
    EXPECT_EQ(ideal->exchanges, 6);
    EXPECT_EQ(ideal->lineBytes, 2 + 2 + 3 + 7 + 3 + 6);
    EXPECT_EQ(ideal->LineTime(9600), 23'958us); // 23 bytes of 10 bits
    EXPECT_EQ(ideal->Total(9600), 23'958us + 20ms + 1ms);

    EXPECT_FALSE(IdealTimeOfTranscript({"07 -> 20", "garbage"}, error));
    EXPECT_NE(error.find("garbage"), std::string::npos);
}

} // namespace
