#include "link/ProgrammerModule.h"

#include "link/ModuleEncoding.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

namespace {

// Stores a decoded reply in the caller's output; a reply without a value leaves it alone.
auto StoreDecoded(std::optional<std::uint16_t> (*decode)(std::string_view), std::uint16_t &out)
{
    return [decode, &out](std::string_view reply) {
        const std::optional<std::uint16_t> value = decode(reply);
        if (value) {
            out = *value;
        }
        return value.has_value();
    };
}

} // namespace

ProgrammerModule::ProgrammerModule(ByteChannel &channel) : m_link(channel) {}

void ProgrammerModule::SetTranscript(TranscriptSink sink)
{
    m_link.SetSink(std::move(sink));
}

bool ProgrammerModule::Exchange(ModuleCommand command, std::string_view argument,
                                std::size_t replyLength, const ReplyHandler &takeReply)
{
    const bool completed = ExchangeSteps(command, argument, replyLength, takeReply);
    m_link.EndExchange();
    return completed;
}

bool ProgrammerModule::ExchangeSteps(ModuleCommand command, std::string_view argument,
                                     std::size_t replyLength, const ReplyHandler &takeReply)
{
    using Kind = ExchangeFailure::Kind;
    if (!m_link.WriteByte(static_cast<std::uint8_t>(command))) {
        return Fail(command, Kind::PortGone, 0);
    }
    FollowParityMode(command);
    if (!argument.empty() && !m_link.SendChars(argument)) {
        return Fail(command, Kind::PortGone, 0);
    }
    bool replyHasValue = true;
    std::string reply;
    if (replyLength > 0) {
        if (!m_link.ReceiveChars(replyLength, reply)) {
            return Fail(command, Kind::NoAnswer, static_cast<int>(reply.size()));
        }
        replyHasValue = takeReply(reply);
    }
    const std::optional<std::uint8_t> ack = m_link.ReadByte();
    if (!ack) {
        return Fail(command, Kind::NoAnswer, static_cast<int>(replyLength));
    }
    if (*ack != kAckByte) {
        return Fail(command, Kind::WrongAcknowledge, static_cast<int>(replyLength), *ack);
    }
    if (!replyHasValue) {
        const auto bad = std::find_if(reply.begin(), reply.end(), [](char c) {
            return !std::isxdigit(static_cast<unsigned char>(c));
        });
        const auto at = bad == reply.end() ? reply.begin() : bad;
        return Fail(command, Kind::BadDigit, static_cast<int>(at - reply.begin()),
                    static_cast<std::uint8_t>(reply.empty() ? 0 : *at));
    }
    return true;
}

bool ProgrammerModule::Fail(ModuleCommand command, ExchangeFailure::Kind kind, int replyByte,
                            std::uint8_t received)
{
    if (!m_firstFailure) {
        m_firstFailure =
            ExchangeFailure{kind, static_cast<std::uint8_t>(command), replyByte, received};
    }
    return false;
}

void ProgrammerModule::FollowParityMode(ModuleCommand command)
{
    if (command == ModuleCommand::PowerOff) {
        m_parityMode = false;
    } else if (command == ModuleCommand::ParityMode) {
        m_parityMode = true;
    }
}

bool ProgrammerModule::ModuleParallelPicCommand(std::uint8_t code)
{
    return Exchange(ModuleCommand::ParallelPicCommand, EncodeOneDigit(code));
}

bool ProgrammerModule::ModuleSerialPicCommand(std::uint8_t code)
{
    return Exchange(ModuleCommand::SerialPicCommand, EncodeOneDigit(code));
}

bool ProgrammerModule::ModuleSerialReadData(std::uint16_t &word)
{
    // The parity form is the one in force when the reply arrives, which is the one set before
    // this command: reading changes nothing.
    const bool parity = m_parityMode;
    return Exchange(ModuleCommand::SerialReadData, {}, 4, [&word, parity](std::string_view reply) {
        const std::optional<std::uint16_t> transfer = DecodeReply16(reply);
        if (transfer) {
            word = TransferWordValue(*transfer, parity);
        }
        return transfer.has_value();
    });
}

bool ProgrammerModule::ModuleSerialLoadData(std::uint16_t word)
{
    const std::uint16_t transfer = m_parityMode ? ParityEncode(word) : NormalTransferWord(word);
    return Exchange(ModuleCommand::SerialLoadData, EncodeTransfer16(transfer));
}

bool ProgrammerModule::ModuleProgramPulse()
{
    return Exchange(ModuleCommand::ProgramPulse);
}

bool ProgrammerModule::ModuleSetPulseTiming(std::uint16_t timing, std::uint8_t count)
{
    return Exchange(ModuleCommand::SetPulseTiming, EncodeTimingPair(timing, count));
}

bool ProgrammerModule::ModuleIdentify(std::uint8_t &id)
{
    // The identification is one raw byte, not a digit: any value is a value.
    return Exchange(ModuleCommand::Identify, {}, 1, [&id](std::string_view reply) {
        id = static_cast<std::uint8_t>(reply.front());
        return true;
    });
}

bool ProgrammerModule::ModulePowerOff()
{
    return Exchange(ModuleCommand::PowerOff);
}

bool ProgrammerModule::ModulePowerOn16C5x()
{
    return Exchange(ModuleCommand::PowerOn16C5x);
}

bool ProgrammerModule::ModulePowerOnSerialMode()
{
    return Exchange(ModuleCommand::PowerOnSerialMode);
}

bool ProgrammerModule::ModuleRead12BitWord(std::uint16_t &word)
{
    return Exchange(ModuleCommand::Read12BitWord, {}, 3, StoreDecoded(Decode12BitB, word));
}

bool ProgrammerModule::ModuleReadProgWord(std::uint16_t &word)
{
    return Exchange(ModuleCommand::ReadProgWord, {}, 4, StoreDecoded(DecodeReply14, word));
}

bool ProgrammerModule::ModuleReadDataWord(std::uint16_t &word)
{
    return Exchange(ModuleCommand::ReadDataWord, {}, 4, StoreDecoded(DecodeReply14, word));
}

bool ProgrammerModule::ModuleWrite12BitWord(std::uint16_t word)
{
    return Exchange(ModuleCommand::Write12BitWord, Encode12BitA(word));
}

bool ProgrammerModule::ModuleWrite12BitConfig(std::uint16_t word)
{
    return Exchange(ModuleCommand::Write12BitConfig, Encode12BitA(word));
}

bool ProgrammerModule::ModuleWriteWordEprom(std::uint16_t word)
{
    return Exchange(ModuleCommand::WriteWordEprom, EncodeWord14(word));
}

bool ProgrammerModule::ModuleWriteWordFlash(std::uint16_t word)
{
    return Exchange(ModuleCommand::WriteWordFlash, EncodeWord14(word));
}

bool ProgrammerModule::ModuleWriteDataByte(std::uint16_t value)
{
    return Exchange(ModuleCommand::WriteDataByte, EncodeWord14(value));
}

bool ProgrammerModule::ModuleIncrement12Bit()
{
    return Exchange(ModuleCommand::Increment12Bit);
}

bool ProgrammerModule::ModuleAdvance12Bit(std::uint16_t count)
{
    return Exchange(ModuleCommand::Advance12Bit, Encode12BitB(count));
}

bool ProgrammerModule::ModuleIncrementAddress()
{
    return Exchange(ModuleCommand::IncrementAddress);
}

bool ProgrammerModule::ModuleAdvanceAddress(std::uint16_t count)
{
    return Exchange(ModuleCommand::AdvanceAddress, Encode12BitB(count));
}

bool ProgrammerModule::ModuleLoadConfig(std::uint16_t word)
{
    return Exchange(ModuleCommand::LoadConfig, EncodeWord14(word));
}

bool ProgrammerModule::ModuleParityMode()
{
    return Exchange(ModuleCommand::ParityMode);
}
