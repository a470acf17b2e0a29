#pragma once

#include "ChipDescription.h"
#include "ModuleFirmware.h"
#include "SimChip.h"
#include "SimSettings.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolm::sim {

// The programmer module with one chip in its socket, seen from the serial line.
//
// It is a byte-stream state machine: every byte the host writes goes in through HostWrite, and
// each completed command puts its reply bytes (reply characters, then the acknowledge byte
// 0x20) on an output queue that the host drains with HostRead / HostReadWait. Nothing happens
// on its own: output appears only in answer to host bytes, so a single thread drives it.
//
// Putting it behind a byte channel in a test:
//
//     tolm::sim::ModuleSimulator module(*tolm::sim::FindChip("16f84"));
//     // WriteByte(b)          -> module.HostWrite(b); return true;
//     // ReadByte(timeoutMs)   -> module.HostReadWait(std::chrono::milliseconds(timeoutMs));
//     ... run the host code ...
//     EXPECT_EQ(module.chip().ProgramWord(0x10), 0x1234);
//     EXPECT_TRUE(module.ProtocolFaults().empty()) << module.ProtocolFaultsText();
//
// What the module does:
// - Every one of the 24 commands (0x00-0x17) is answered exactly as the wire protocol fixes it;
//   an unknown command byte gets no answer (and is recorded as a protocol fault).
// - 0x0D, 0x0F and 0x10 program the location completely (pulses with read-back, at most the
//   count of the last 0x05 pair; or one erase/program cycle) and acknowledge only when the
//   location then holds the word; otherwise the last byte is kNotAcknowledged ('?'). 0x11 too.
// - A malformed argument (non-hex digit, lower-case digit, wrong "0" filler, a two-bit field
//   above 3) is recorded, the command is not carried out and it is answered with '?'.
// - A chip command while the target is unpowered is recorded; it reaches nothing, reads give
//   zeros. A command in the wrong mode, a transfer word in the wrong form or with wrong parity
//   bits, a data transfer without its Load/Read command are recorded and carried out.
// - The chip reacts as its programming guide says (ChipAlgorithm.h names the rules):
//   program-only parts AND a word into a programmed one, a 16F87XA writes 8-word blocks from
//   latches that keep their contents and stays protected against every erase codes 0-15 can
//   start, the 12F629 family loses OSCCAL and band-gap bits to a bulk erase, calibration words
//   in configuration space survive it. A 16F87XA block written before its eight latches were
//   loaded, and any PIC command code above 15, are recorded as protocol faults.
// Tests assert that a correct host causes no protocol fault.
//
// A protected 16F877A of revision 3, and what to look at afterwards:
//
//     tolm::sim::ModuleSimulator module(*tolm::sim::FindChip("16f877a"));
//     module.chip().SetRevision(3);        // device ID reads 0E23
//     module.chip().SetConfigWord(0x1FFF); // CP (bit 13) on; 0x3EFF: CPD (bit 8) on
//     ... run the host code ...
//     EXPECT_TRUE(module.chip().CodeProtected());      // nothing the module sends lifts it
//     EXPECT_EQ(module.PicCommandsAbove15(), 0);
//     EXPECT_EQ(module.PicCommandCount(9), 1);         // one Bulk Erase Program Memory
//     module.Transcript();                             // "01 39 -> 20", ...
//
// Timing is off by default: replies are due at once. With TimingSettings::realtime every byte
// takes its wire time, a pulse 100 us and a flash cycle the part's time; HostReadWait then
// waits (sleeps) until a byte is due. Not thread-safe: use it from one thread.
class ModuleSimulator
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    explicit ModuleSimulator(const ChipDescription &chip);
    // The simulator for a chip named as in the catalogue ("16f84"), or nullptr.
    static std::unique_ptr<ModuleSimulator> ForDevice(std::string_view name);

    // --- The host's end of the line ---
    void HostWrite(uint8_t byte);
    // A byte whose first bit went onto the line at lineStart (a server that paces the line
    // knows this better than the moment it hands the byte over).
    void HostWriteAt(uint8_t byte, TimePoint lineStart);
    void HostWrite(std::span<const uint8_t> bytes);
    // The next reply byte if it is due by now.
    std::optional<uint8_t> HostRead();
    // The next reply byte, waiting for it up to limit. Returns at once with nothing when no
    // byte is pending (none can arrive while the host waits); when the pending byte is due only
    // after the limit it waits the whole limit and returns nothing (the byte stays queued, as a
    // late byte stays in a serial port's input queue).
    std::optional<uint8_t> HostReadWait(std::chrono::milliseconds limit);
    // Every pending reply byte at once, regardless of when it is due.
    std::vector<uint8_t> TakeOutput();
    size_t PendingOutput() const { return m_output.size(); }
    std::optional<TimePoint> NextOutputDue() const;

    // --- The chip and the module ---
    SimChip &chip() { return m_chip; }
    const SimChip &chip() const { return m_chip; }
    ModuleState State() const { return m_firmware.State(); }
    void SetIdentifyByte(uint8_t value) { m_firmware.SetIdentifyByte(value); }
    void SetFaults(const FaultSettings &faults) { m_faults = faults; }
    const FaultSettings &Faults() const { return m_faults; }
    void SetTiming(const TimingSettings &timing) { m_timing = timing; }
    // Replaces the clock and the sleep used by HostReadWait (for tests with a fake clock).
    void SetClock(std::function<TimePoint()> now, std::function<void(Clock::duration)> sleep);

    // --- What happened ---
    const std::vector<ProtocolFault> &ProtocolFaults() const { return m_log.Faults(); }
    void ClearProtocolFaults() { m_log.Clear(); }
    std::string ProtocolFaultsText() const; // one fault a line, for test messages
    // One line per exchange: host bytes, " ->", then the module's bytes, all in hex:
    // "05 43 30 30 31 34 46 -> 20". A command the module does not know: "18 ->".
    const std::vector<std::string> &Transcript() const { return m_transcript; }
    std::string TranscriptText() const; // the lines joined with "\n"
    void ClearTranscript() { m_transcript.clear(); }
    // Whether Transcript() keeps the lines (on by default); a long-running server that only
    // streams them to a sink turns it off so memory does not grow.
    void SetKeepTranscript(bool keep) { m_keepTranscript = keep; }
    // Called with every transcript line as soon as its exchange completes.
    void SetTranscriptSink(std::function<void(const std::string &)> sink);
    int ExchangeCount() const { return m_exchanges; }
    // How many times the chip received each PIC command code (6 bits), through either method.
    // The module's argument is one hexadecimal digit, so codes above 15 (End Programming 0x17,
    // Chip Erase 0x1F) cannot reach the chip through it; PicCommandsAbove15() stays 0.
    long PicCommandCount(int code) const { return m_firmware.Session().PicCommandCount(code); }
    long PicCommandsAbove15() const { return m_firmware.Session().PicCommandsAbove15(); }
    // How long the chip was busy programming in the last exchange (pulses, erase/program
    // cycles); known when its transcript line is passed on.
    std::chrono::microseconds LastChipTime() const { return m_lastChipTime; }

private:
    struct OutputByte
    {
        uint8_t value;
        TimePoint due;
    };

    bool LineCarriesAnotherByte();
    Clock::duration ByteTime() const;
    void StartExchange(uint8_t command);
    void FinishExchange();
    std::vector<uint8_t> ApplyReplyFaults(const CommandResult &result) const;
    void Schedule(const std::vector<uint8_t> &bytes, Clock::duration busy,
                  std::vector<uint8_t> &sent);
    void AddTranscriptLine(const std::vector<uint8_t> &sent);

    SimChip m_chip;
    FaultLog m_log;
    ModuleFirmware m_firmware;
    FaultSettings m_faults;
    TimingSettings m_timing;
    std::function<TimePoint()> m_now;
    std::function<void(Clock::duration)> m_sleep;

    bool m_inExchange = false;
    uint8_t m_command = 0;
    std::vector<uint8_t> m_hostBytes;
    int m_exchanges = 0;
    std::chrono::microseconds m_lastChipTime{0};
    long m_lineBytes = 0;
    TimePoint m_inputDone{};
    TimePoint m_outputDone{};
    std::deque<OutputByte> m_output;
    std::vector<std::string> m_transcript;
    bool m_keepTranscript = true;
    std::function<void(const std::string &)> m_transcriptSink;
};

} // namespace tolm::sim
