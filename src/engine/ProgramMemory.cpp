// Program memory: reading, verifying, blank-checking and writing the words of the program
// address range, by programming family and method.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "link/ProgrammerModule.h"

bool PicEngine::ProgReadPreamble(std::uint8_t family)
{
    // The 12-bit parts' counter starts at the configuration word: one step reaches the start
    // address.
    switch (family) {
    case DeviceFamily::k16C5x:
        return m_module.ModuleIncrement12Bit();
    case DeviceFamily::k12C508:
        return m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
    default:
        return true;
    }
}

bool PicEngine::ProgWritePreamble(std::uint8_t family)
{
    switch (family) {
    case DeviceFamily::k16C5x:
        return m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord,
                                             PulseTiming::kTwelveBitCount) &&
               ProgReadPreamble(family);
    case DeviceFamily::kEprom14Bit:
        return m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kEpromCount);
    case DeviceFamily::kFlash14Bit:
        return m_module.ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount);
    case DeviceFamily::k12C508:
        return m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kEpromCount) &&
               ProgReadPreamble(family);
    default:
        return true;
    }
}

bool PicEngine::ProgReadWord(std::uint8_t family, bool parallel, std::uint16_t &word)
{
    if (family == DeviceFamily::k16C5x) {
        return m_module.ModuleRead12BitWord(word);
    }
    if (family != DeviceFamily::k12C508 && parallel) {
        return m_module.ModuleReadProgWord(word);
    }
    return SerialReadWord(PicCode::kReadProgramData, word);
}

bool PicEngine::ProgAdvance(std::uint8_t family, bool parallel)
{
    if (family == DeviceFamily::k16C5x) {
        return true; // the module's 12-bit read and write leave the chip at the next word
    }
    if (family != DeviceFamily::k12C508 && parallel) {
        return m_module.ModuleIncrementAddress();
    }
    return m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
}

PicEngine::WordStep PicEngine::ProgReadingStep(
    std::function<StepOutcome(std::uint16_t, std::uint16_t, EngineResult &)> judge)
{
    const std::uint8_t family = m_device.DeviceFamily;
    const bool parallel = m_host.ParallelSelected();
    return [this, family, parallel, judge](std::uint16_t address, EngineResult &result) {
        std::uint16_t word = 0;
        if (!ProgReadWord(family, parallel, word)) {
            return StepOutcome::Failed;
        }
        const StepOutcome outcome = judge(address, word, result);
        if (outcome != StepOutcome::Next) {
            return outcome;
        }
        return ProgAdvance(family, parallel) ? StepOutcome::Next : StepOutcome::Failed;
    };
}

EngineResult PicEngine::PicReadProgMem()
{
    const std::uint8_t family = m_device.DeviceFamily;
    return RunWordLoop(
        {ChipOperation::Read, false, [this, family] { return ProgReadPreamble(family); },
         ProgReadingStep([this](std::uint16_t address, std::uint16_t word, EngineResult &) {
             // Stored as delivered, unmasked: the user sees what the chip sent.
             m_image.SetProgramWordText(address, FormatHex(word, 4));
             return StepOutcome::Next;
         })});
}

EngineResult PicEngine::PicVerifyProgMem()
{
    const std::uint8_t family = m_device.DeviceFamily;
    const std::uint16_t mask = WordMask(m_device);
    return RunWordLoop({ChipOperation::Verify, false,
                        [this, family] { return ProgReadPreamble(family); },
                        ProgReadingStep([this, mask](std::uint16_t address, std::uint16_t word,
                                                     EngineResult &result) {
                            // Compared as text, exactly: the image holds what the user loaded or
                            // typed.
                            const QString chipText = FormatHex(word & mask, 4);
                            const QString imageText = m_image.GetProgramWordText(address);
                            if (imageText == chipText) {
                                return StepOutcome::Next;
                            }
                            result.expectedText = imageText;
                            result.readText = chipText;
                            return StepOutcome::Difference;
                        })});
}

EngineResult PicEngine::PicBlankCheckProgMem()
{
    const std::uint8_t family = m_device.DeviceFamily;
    const std::uint16_t blank = BlankWord(m_device);
    return RunWordLoop(
        {ChipOperation::BlankCheck, false, [this, family] { return ProgReadPreamble(family); },
         ProgReadingStep([blank](std::uint16_t, std::uint16_t word, EngineResult &result) {
             if (word == blank) {
                 return StepOutcome::Next;
             }
             result.expectedText = FormatHex(blank, 4);
             result.readText = FormatHex(word, 4);
             return StepOutcome::NotBlank;
         })});
}

EngineResult PicEngine::PicWriteProgMem(WriteScope scope)
{
    const std::uint8_t family = m_device.DeviceFamily;
    const bool parallel = m_host.ParallelSelected();
    if (BlockWords(m_device) > 1) {
        return WriteProgramBlocks(scope);
    }
    WordStep write = [this, family, parallel](std::uint16_t address, EngineResult &result) {
        const QString text = m_image.GetProgramWordText(address);
        const auto value = ParseHexText(text);
        if (!value) {
            result.expectedText = text;
            return StepOutcome::BadText;
        }
        return ProgWriteWord(family, parallel, address, static_cast<std::uint16_t>(*value));
    };
    if (scope == WriteScope::SkipBlank) {
        write = SkippingBlank(std::move(write), WordMask(m_device), false,
                              [this](std::uint16_t count) { return StepBy(count); });
    }
    return RunWordLoop(
        {ChipOperation::Write, false, [this, family] { return ProgWritePreamble(family); }, write});
}
