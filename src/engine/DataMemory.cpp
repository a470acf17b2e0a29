// Data EEPROM: reading, verifying, blank-checking and writing the bytes of the data address
// range. The same sequences serve every device; only the method chooses between them.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "link/ProgrammerModule.h"

namespace {
constexpr std::uint8_t kBlankByte = 0xFF;
}

bool PicEngine::DataReadByte(bool parallel, std::uint16_t &word)
{
    return parallel ? m_module.ModuleReadDataWord(word)
                    : SerialReadWord(PicCode::kReadDataMemory, word);
}

bool PicEngine::DataAdvance(bool parallel)
{
    return parallel ? m_module.ModuleIncrementAddress()
                    : m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
}

PicEngine::WordStep PicEngine::DataReadingStep(
    std::function<StepOutcome(std::uint16_t, std::uint8_t, EngineResult &)> judge)
{
    const bool parallel = m_host.ParallelSelected();
    return [this, parallel, judge](std::uint16_t address, EngineResult &result) {
        std::uint16_t word = 0;
        if (!DataReadByte(parallel, word)) {
            return StepOutcome::Failed;
        }
        // The transfer carries a whole word; the EEPROM cell is its low byte.
        const StepOutcome outcome = judge(address, static_cast<std::uint8_t>(word & 0xFF), result);
        if (outcome != StepOutcome::Next) {
            return outcome;
        }
        return DataAdvance(parallel) ? StepOutcome::Next : StepOutcome::Failed;
    };
}

EngineResult PicEngine::PicReadDataMem()
{
    return RunWordLoop(
        {ChipOperation::Read,
         true,
         {},
         DataReadingStep([this](std::uint16_t address, std::uint8_t byte, EngineResult &) {
             m_image.SetDataByteText(address, FormatHex(byte, 2));
             return StepOutcome::Next;
         })});
}

EngineResult PicEngine::PicVerifyDataMem()
{
    return RunWordLoop(
        {ChipOperation::Verify,
         true,
         {},
         DataReadingStep([this](std::uint16_t address, std::uint8_t byte, EngineResult &result) {
             const QString chipText = FormatHex(byte, 2);
             const QString imageText = m_image.GetDataByteText(address);
             if (imageText == chipText) {
                 return StepOutcome::Next;
             }
             result.expectedText = imageText;
             result.readText = chipText;
             return StepOutcome::Difference;
         })});
}

EngineResult PicEngine::PicBlankCheckDataMem()
{
    return RunWordLoop({ChipOperation::BlankCheck,
                        true,
                        {},
                        DataReadingStep([](std::uint16_t, std::uint8_t byte, EngineResult &result) {
                            if (byte == kBlankByte) {
                                return StepOutcome::Next;
                            }
                            result.expectedText = FormatHex(kBlankByte, 2);
                            result.readText = FormatHex(byte, 2);
                            return StepOutcome::NotBlank;
                        })});
}

EngineResult PicEngine::PicWriteDataMem(WriteScope scope)
{
    const bool parallel = m_host.ParallelSelected();
    const auto preamble = [this] {
        return m_module.ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount);
    };
    const auto step = [this, parallel](std::uint16_t address, EngineResult &result) {
        const QString text = m_image.GetDataByteText(address);
        const auto value = ParseHexText(text);
        if (!value) {
            result.expectedText = text;
            return StepOutcome::BadText;
        }
        const StepOutcome outcome = RepeatUntilWritten(
            address, static_cast<std::uint16_t>(*value), WriteErrorButtons::AbortRetryIgnore,
            [&] {
                std::uint16_t readBack = 0;
                if (parallel) {
                    // The module's answer to the write says nothing certain about the cell;
                    // the read-back decides.
                    if (!m_module.ModuleWriteDataByte(static_cast<std::uint16_t>(*value))) {
                        ModuleRefusedWord(); // a refusal is no link failure of its own
                    }
                    if (!m_module.ModuleReadDataWord(readBack)) {
                        return StepOutcome::Failed;
                    }
                } else if (!m_module.ModuleSerialPicCommand(PicCode::kLoadDataMemory) ||
                           !m_module.ModuleSerialLoadData(static_cast<std::uint16_t>(*value)) ||
                           !m_module.ModuleSerialPicCommand(PicCode::kBeginProgramming) ||
                           !SerialReadWord(PicCode::kReadDataMemory, readBack)) {
                    return StepOutcome::Failed;
                }
                m_wordReadBack = readBack & 0xFF;
                return (readBack & 0xFF) == *value ? StepOutcome::Next : StepOutcome::Difference;
            },
            true);
        if (outcome != StepOutcome::Next) {
            return outcome;
        }
        return DataAdvance(parallel) ? StepOutcome::Next : StepOutcome::Failed;
    };
    if (scope == WriteScope::SkipBlank) {
        // Data memory is reached by single increments only.
        return RunWordLoop(
            {ChipOperation::Write, true, preamble,
             SkippingBlank(step, kBlankByte, true, [this, parallel](std::uint16_t n) {
                 for (std::uint16_t i = 0; i < n; ++i) {
                     if (!DataAdvance(parallel)) {
                         return false;
                     }
                 }
                 return true;
             })});
    }
    return RunWordLoop({ChipOperation::Write, true, preamble, step});
}
