#include "IdealTime.h"

#include <charconv>
#include <sstream>

namespace {

using namespace std::chrono_literals;

constexpr long long kBitsPerByte = 10; // start bit, 8 data bits, stop bit

// Command bytes and PIC command digits the host's pauses hang on.
constexpr std::uint8_t kParallelPicCommand = 0x00;
constexpr std::uint8_t kSerialPicCommand = 0x01;
constexpr std::uint8_t kSerialReadData = 0x02;
constexpr std::uint8_t kReadProgWord = 0x0B;
constexpr std::uint8_t kIncrementAddress = 0x14;
constexpr std::uint8_t kLoadConfig = 0x16;
constexpr int kConfigWordOffset = 7; // 0x2007 from the start of configuration memory

constexpr auto kReadPause = 1ms;
constexpr auto kErasePause = 20ms;

std::optional<std::vector<std::uint8_t>> HexBytes(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    std::istringstream in{std::string(text)};
    std::string word;
    while (in >> word) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
        if (ec != std::errc{} || end != word.data() + word.size() || word.size() != 2) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

std::optional<std::chrono::microseconds> ChipTime(std::string_view text)
{
    constexpr std::string_view kHead = " chip ";
    constexpr std::string_view kTail = " us";
    if (text.substr(0, kHead.size()) != kHead || text.size() < kHead.size() + kTail.size() ||
        text.substr(text.size() - kTail.size()) != kTail) {
        return std::nullopt;
    }
    const std::string_view digits =
        text.substr(kHead.size(), text.size() - kHead.size() - kTail.size());
    long long us = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), us);
    if (ec != std::errc{} || end != digits.data() + digits.size() || us < 0) {
        return std::nullopt;
    }
    return std::chrono::microseconds(us);
}

// The PIC command a 0x00 or 0x01 exchange issued ('1' -> 1), or nothing for other exchanges.
std::optional<int> PicCommand(const TranscriptExchange &e, std::uint8_t commandByte)
{
    if (e.hostBytes.size() != 2 || e.hostBytes[0] != commandByte) {
        return std::nullopt;
    }
    const char digit = static_cast<char>(e.hostBytes[1]);
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    return std::nullopt;
}

std::uint8_t CommandByte(const TranscriptExchange &e)
{
    return e.hostBytes.empty() ? 0xFF : e.hostBytes[0];
}

// The configuration word is read by Parallel after LoadConfig and seven increments, with a
// pause first like every Serial read.
bool ReadsConfigWordByParallel(const std::vector<TranscriptExchange> &before,
                               const TranscriptExchange &exchange)
{
    if (CommandByte(exchange) != kReadProgWord || before.size() < kConfigWordOffset + 1) {
        return false;
    }
    const auto last = before.end();
    for (auto it = last - kConfigWordOffset; it != last; ++it) {
        if (CommandByte(*it) != kIncrementAddress) {
            return false;
        }
    }
    return CommandByte(*(last - kConfigWordOffset - 1)) == kLoadConfig;
}

// Bulk erases, and PIC commands 1, 7, 8 (the code-protect disable), are followed by a pause.
bool EndsAnErase(const std::vector<TranscriptExchange> &before, const TranscriptExchange &exchange)
{
    for (const std::uint8_t commandByte : {kParallelPicCommand, kSerialPicCommand}) {
        const std::optional<int> code = PicCommand(exchange, commandByte);
        if (code == 9 || code == 11) {
            return true;
        }
        if (code == 8 && before.size() >= 2 &&
            PicCommand(before[before.size() - 2], commandByte) == 1 &&
            PicCommand(before.back(), commandByte) == 7) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<TranscriptExchange> ParseTranscriptLine(std::string_view line)
{
    const std::size_t arrow = line.find("->");
    if (arrow == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(arrow + 2);
    TranscriptExchange exchange;
    if (const std::size_t semicolon = rest.find(';'); semicolon != std::string_view::npos) {
        const auto chip = ChipTime(rest.substr(semicolon + 1));
        if (!chip) {
            return std::nullopt;
        }
        exchange.chipTime = *chip;
        rest = rest.substr(0, semicolon);
    }
    auto host = HexBytes(line.substr(0, arrow));
    auto module = HexBytes(rest);
    if (!host || !module || host->empty()) {
        return std::nullopt;
    }
    exchange.hostBytes = std::move(*host);
    exchange.moduleBytes = std::move(*module);
    return exchange;
}

std::chrono::microseconds HostPauseAround(const std::vector<TranscriptExchange> &before,
                                          const TranscriptExchange &exchange)
{
    std::chrono::microseconds pause{0};
    if (CommandByte(exchange) == kSerialReadData || ReadsConfigWordByParallel(before, exchange)) {
        pause += kReadPause;
    }
    if (EndsAnErase(before, exchange)) {
        pause += kErasePause;
    }
    return pause;
}

std::chrono::microseconds IdealTime::LineTime(int baud) const
{
    return std::chrono::microseconds(lineBytes * kBitsPerByte * 1'000'000LL / baud);
}

std::optional<IdealTime> IdealTimeOfTranscript(const std::vector<std::string> &lines,
                                               std::string &error)
{
    IdealTime ideal;
    std::vector<TranscriptExchange> seen;
    for (const std::string &line : lines) {
        const std::optional<TranscriptExchange> exchange = ParseTranscriptLine(line);
        if (!exchange) {
            error = "not a transcript line: '" + line + "'";
            return std::nullopt;
        }
        ++ideal.exchanges;
        ideal.lineBytes +=
            static_cast<long>(exchange->hostBytes.size() + exchange->moduleBytes.size());
        ideal.chipTime += exchange->chipTime;
        ideal.hostPauses += HostPauseAround(seen, *exchange);
        seen.push_back(*exchange);
    }
    return ideal;
}
