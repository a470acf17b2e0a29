#include "ModuleSimulator.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace tolm::sim {

namespace {

constexpr uint8_t kIdentifyCommand = 0x06;

std::string HexBytes(const std::vector<uint8_t> &bytes)
{
    std::string text;
    for (uint8_t b : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X", b);
        if (!text.empty()) {
            text += ' ';
        }
        text += digits;
    }
    return text;
}

} // namespace

ModuleSimulator::ModuleSimulator(const ChipDescription &chip)
    : m_chip(chip), m_firmware(m_chip, m_log), m_now([] { return Clock::now(); }),
      m_sleep([](Clock::duration d) { std::this_thread::sleep_for(d); })
{}

std::unique_ptr<ModuleSimulator> ModuleSimulator::ForDevice(std::string_view name)
{
    const ChipDescription *chip = FindChip(name);
    return chip ? std::make_unique<ModuleSimulator>(*chip) : nullptr;
}

void ModuleSimulator::SetClock(std::function<TimePoint()> now,
                               std::function<void(Clock::duration)> sleep)
{
    m_now = std::move(now);
    m_sleep = std::move(sleep);
}

void ModuleSimulator::SetTranscriptSink(std::function<void(const std::string &)> sink)
{
    m_transcriptSink = std::move(sink);
}

ModuleSimulator::Clock::duration ModuleSimulator::ByteTime() const
{
    return m_timing.ByteTime();
}

bool ModuleSimulator::LineCarriesAnotherByte()
{
    if (m_faults.deadAfterBytes && m_lineBytes >= *m_faults.deadAfterBytes) {
        return false;
    }
    ++m_lineBytes;
    return true;
}

void ModuleSimulator::HostWrite(std::span<const uint8_t> bytes)
{
    for (uint8_t b : bytes) {
        HostWrite(b);
    }
}

void ModuleSimulator::HostWrite(uint8_t byte)
{
    HostWriteAt(byte, m_now());
}

void ModuleSimulator::HostWriteAt(uint8_t byte, TimePoint lineStart)
{
    if (!LineCarriesAnotherByte()) {
        return;
    }
    // The byte has arrived once its last bit is in: after the bytes before it on the line.
    m_inputDone = m_timing.realtime ? std::max(lineStart, m_inputDone) + ByteTime() : lineStart;
    if (!m_inExchange) {
        StartExchange(byte);
        return;
    }
    m_hostBytes.push_back(byte);
    if (static_cast<int>(m_hostBytes.size()) - 1 == ModuleFirmware::ArgumentLength(m_command)) {
        FinishExchange();
    }
}

void ModuleSimulator::StartExchange(uint8_t command)
{
    ++m_exchanges;
    m_lastChipTime = {};
    m_log.BeginExchange(m_exchanges, command);
    m_command = command;
    m_hostBytes.assign(1, command);
    const int argLength = ModuleFirmware::ArgumentLength(command);
    if (argLength < 0) {
        char text[48];
        std::snprintf(text, sizeof text, "unknown command byte %02X: no answer", command);
        m_log.Record(text);
        AddTranscriptLine({});
        return;
    }
    m_inExchange = true;
    if (argLength == 0) {
        FinishExchange();
    }
}

void ModuleSimulator::FinishExchange()
{
    m_inExchange = false;
    const std::span<const uint8_t> args(m_hostBytes.data() + 1, m_hostBytes.size() - 1);
    const CommandResult result = m_firmware.Execute(m_command, args);
    m_lastChipTime = result.busy;
    std::vector<uint8_t> sent;
    Schedule(ApplyReplyFaults(result), result.busy, sent);
    AddTranscriptLine(sent);
}

std::vector<uint8_t> ModuleSimulator::ApplyReplyFaults(const CommandResult &result) const
{
    const int n = m_exchanges;
    std::vector<uint8_t> bytes = result.reply;
    if (m_faults.badDigitAtExchange == n && !bytes.empty() && m_command != kIdentifyCommand) {
        bytes.front() = m_faults.badDigit;
    }
    uint8_t last = result.acknowledged ? kAcknowledge : kNotAcknowledged;
    if (m_faults.wrongAckAtExchange == n && last == kAcknowledge) {
        last = m_faults.wrongAckByte;
    }
    if (!(m_faults.noAckFromExchange && n >= *m_faults.noAckFromExchange)) {
        bytes.push_back(last);
    }
    return bytes;
}

void ModuleSimulator::Schedule(const std::vector<uint8_t> &bytes, Clock::duration busy,
                               std::vector<uint8_t> &sent)
{
    TimePoint due = std::max(m_inputDone, m_outputDone);
    if (m_timing.realtime) {
        due += busy;
    }
    if (m_faults.lateReplyMs > 0 &&
        (!m_faults.lateReplyAtExchange || *m_faults.lateReplyAtExchange == m_exchanges)) {
        due += std::chrono::milliseconds(m_faults.lateReplyMs);
    }
    for (uint8_t b : bytes) {
        if (!LineCarriesAnotherByte()) {
            break;
        }
        if (m_timing.realtime) {
            due += ByteTime();
        }
        m_output.push_back({b, due});
        sent.push_back(b);
    }
    m_outputDone = due;
}

void ModuleSimulator::AddTranscriptLine(const std::vector<uint8_t> &sent)
{
    std::string line = HexBytes(m_hostBytes) + " ->";
    if (!sent.empty()) {
        line += ' ' + HexBytes(sent);
    }
    if (m_keepTranscript) {
        m_transcript.push_back(line);
    }
    if (m_transcriptSink) {
        m_transcriptSink(line);
    }
}

std::optional<uint8_t> ModuleSimulator::HostRead()
{
    if (m_output.empty() || m_output.front().due > m_now()) {
        return std::nullopt;
    }
    const uint8_t value = m_output.front().value;
    m_output.pop_front();
    return value;
}

std::optional<uint8_t> ModuleSimulator::HostReadWait(std::chrono::milliseconds limit)
{
    if (m_output.empty()) {
        return std::nullopt;
    }
    const TimePoint now = m_now();
    const TimePoint due = m_output.front().due;
    if (due > now + limit) {
        m_sleep(limit);
        return std::nullopt;
    }
    if (due > now) {
        m_sleep(due - now);
    }
    const uint8_t value = m_output.front().value;
    m_output.pop_front();
    return value;
}

std::vector<uint8_t> ModuleSimulator::TakeOutput()
{
    std::vector<uint8_t> bytes;
    for (const OutputByte &b : m_output) {
        bytes.push_back(b.value);
    }
    m_output.clear();
    return bytes;
}

std::optional<ModuleSimulator::TimePoint> ModuleSimulator::NextOutputDue() const
{
    if (m_output.empty()) {
        return std::nullopt;
    }
    return m_output.front().due;
}

std::string ModuleSimulator::ProtocolFaultsText() const
{
    std::string text;
    for (const ProtocolFault &f : m_log.Faults()) {
        char head[40];
        std::snprintf(head, sizeof head, "exchange %d (command %02X): ", f.exchange, f.command);
        text += head + f.text + '\n';
    }
    return text;
}

std::string ModuleSimulator::TranscriptText() const
{
    std::string text;
    for (const std::string &line : m_transcript) {
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    return text;
}

} // namespace tolm::sim
