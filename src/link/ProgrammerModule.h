#pragma once

#include "link/ByteChannel.h"
#include "link/ExchangeFailure.h"
#include "link/ModuleCommand.h"
#include "link/TranscriptChannel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The host side of the programmer module's command set. Every command is one exchange:
//   1. the command byte,
//   2. its argument characters, if any,
//   3. its reply characters, if any, decoded and stored in the caller's output,
//   4. the acknowledge byte 0x20.
// Each returns true only when the whole exchange completed, and stops at the first step that
// fails: no retry, no resynchronisation, no flush; the caller decides what a failure means.
// A reply value is stored before the acknowledge is read, so it is set even when the
// acknowledge then fails. A reply character that is not a hexadecimal digit leaves the output
// unchanged and fails the command; its acknowledge is still read so that the next exchange
// starts in step with the module.
class ProgrammerModule
{
public:
    explicit ProgrammerModule(ByteChannel &channel);

    // Every exchange, both ways, as one line of hex (see TranscriptChannel); empty to stop.
    void SetTranscript(TranscriptSink sink);

    // Whether 16-bit transfer words travel in the parity form. The module keeps the same state:
    // 0x17 switches it on and 0x07 off, so the host follows each as soon as the command byte
    // has gone out.
    bool ParityModeActive() const { return m_parityMode; }

    // The first exchange that failed since ClearFailure, so that the cause of a failed
    // operation survives the power-off that follows it.
    const std::optional<ExchangeFailure> &FirstFailure() const { return m_firstFailure; }
    void ClearFailure() { m_firstFailure.reset(); }

    bool ModuleParallelPicCommand(std::uint8_t code);
    bool ModuleSerialPicCommand(std::uint8_t code);
    bool ModuleSerialReadData(std::uint16_t &word);
    bool ModuleSerialLoadData(std::uint16_t word);
    bool ModuleProgramPulse();
    bool ModuleSetPulseTiming(std::uint16_t timing, std::uint8_t count);
    bool ModuleIdentify(std::uint8_t &id);
    bool ModulePowerOff();
    bool ModulePowerOn16C5x();
    bool ModulePowerOnSerialMode();
    bool ModuleRead12BitWord(std::uint16_t &word);
    bool ModuleReadProgWord(std::uint16_t &word);
    bool ModuleReadDataWord(std::uint16_t &word);
    bool ModuleWrite12BitWord(std::uint16_t word);
    bool ModuleWrite12BitConfig(std::uint16_t word);
    bool ModuleWriteWordEprom(std::uint16_t word);
    bool ModuleWriteWordFlash(std::uint16_t word);
    bool ModuleWriteDataByte(std::uint16_t value);
    bool ModuleIncrement12Bit();
    // The two Advance commands move the address by count + 1 locations in one exchange.
    bool ModuleAdvance12Bit(std::uint16_t count);
    bool ModuleIncrementAddress();
    bool ModuleAdvanceAddress(std::uint16_t count);
    bool ModuleLoadConfig(std::uint16_t word);
    bool ModuleParityMode();

private:
    // Takes the reply characters; false when they carry no value.
    using ReplyHandler = std::function<bool(std::string_view reply)>;

    bool Exchange(ModuleCommand command, std::string_view argument = {},
                  std::size_t replyLength = 0, const ReplyHandler &takeReply = {});
    bool ExchangeSteps(ModuleCommand command, std::string_view argument, std::size_t replyLength,
                       const ReplyHandler &takeReply);
    void FollowParityMode(ModuleCommand command);
    bool Fail(ModuleCommand command, ExchangeFailure::Kind kind, int replyByte,
              std::uint8_t received = 0);

    TranscriptChannel m_link;
    bool m_parityMode = false;
    std::optional<ExchangeFailure> m_firstFailure;
};
