// Programming one program memory word, by family and method, with the write error box for a
// word that will not take.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "link/ProgrammerModule.h"

#include <memory>

PicEngine::WordStep PicEngine::SkippingBlank(WordStep write, std::uint32_t blank, bool data,
                                             std::function<bool(std::uint16_t)> stepOver)
{
    auto pending = std::make_shared<std::uint16_t>(0);
    return [this, write = std::move(write), blank, data, stepOver = std::move(stepOver),
            pending](std::uint16_t address, EngineResult &result) {
        const QString text =
            data ? m_image.GetDataByteText(address) : m_image.GetProgramWordText(address);
        const auto value = ParseHexText(text);
        if (value && *value == blank) {
            ++*pending;
            return StepOutcome::Next;
        }
        if (*pending != 0) {
            if (!stepOver(*pending)) {
                return StepOutcome::Failed;
            }
            *pending = 0;
        }
        return write(address, result);
    };
}

PicEngine::StepOutcome PicEngine::RepeatUntilWritten(std::uint16_t address, std::uint16_t expected,
                                                     WriteErrorButtons buttons,
                                                     const std::function<StepOutcome()> &attempt,
                                                     bool dataMemory)
{
    // attempt() gives Next when the word took, Difference when it did not, and Failed when an
    // exchange broke off. The box decides what a word that did not take means.
    for (;;) {
        m_wordReadBack.reset();
        const StepOutcome outcome = attempt();
        if (outcome != StepOutcome::Difference) {
            return outcome;
        }
        const WordNotWritten word{address, expected, m_wordReadBack};
        const WriteErrorAnswer answer = m_host.AskWordNotWritten(word, dataMemory, buttons);
        const bool ends = buttons == WriteErrorButtons::OkCancel
                              ? answer == WriteErrorAnswer::Cancel
                              : answer == WriteErrorAnswer::Abort;
        if (ends) {
            m_abortedAt = word;
            return StepOutcome::Aborted;
        }
        // OK skips the word (the 16C5x module cannot be asked to try it again); so does Ignore.
        if (buttons == WriteErrorButtons::OkCancel || answer == WriteErrorAnswer::Ignore) {
            m_wordsSkipped.push_back(word);
            return StepOutcome::Next; // leave the word as it is and go on
        }
        // Anything else tries the same location again.
    }
}

PicEngine::StepOutcome PicEngine::ProgWriteWord(std::uint8_t family, bool parallel,
                                                std::uint16_t address, std::uint16_t value)
{
    // The module's write commands answer a word that did not take with another byte than the
    // acknowledge; a module that does not answer at all has stopped, which no retry mends.
    const auto moduleTook = [this](bool written) {
        if (written) {
            return StepOutcome::Next;
        }
        return ModuleRefusedWord() ? StepOutcome::Difference : StepOutcome::Failed;
    };
    const auto readBackTook = [](bool equal) {
        return equal ? StepOutcome::Next : StepOutcome::Difference;
    };
    StepOutcome outcome = StepOutcome::Next;
    if (family == DeviceFamily::k16C5x) {
        // The module pulses and verifies the word itself and only says whether it took.
        outcome = RepeatUntilWritten(address, value, WriteErrorButtons::OkCancel, [&] {
            return moduleTook(m_module.ModuleWrite12BitWord(value));
        });
        if (outcome != StepOutcome::Next) {
            return outcome;
        }
        return m_module.ModuleIncrement12Bit() ? StepOutcome::Next : StepOutcome::Failed;
    }
    if (parallel && family != DeviceFamily::k12C508) {
        outcome = RepeatUntilWritten(address, value, WriteErrorButtons::AbortRetryIgnore, [&] {
            return moduleTook(family == DeviceFamily::kEprom14Bit
                                  ? m_module.ModuleWriteWordEprom(value)
                                  : m_module.ModuleWriteWordFlash(value));
        });
    } else if (family == DeviceFamily::kFlash14Bit) {
        // One erase/program cycle, then read back: the whole 16 bits must match, so a word
        // above 3FFF never reads back equal.
        outcome = RepeatUntilWritten(address, value, WriteErrorButtons::AbortRetryIgnore, [&] {
            std::uint16_t readBack = 0;
            if (!SerialFlashCycle(value, readBack)) {
                return StepOutcome::Failed;
            }
            m_wordReadBack = readBack;
            return readBackTook(readBack == value);
        });
    } else {
        // EPROM by the Serial method, and the 12C508/509 always.
        outcome = RepeatUntilWritten(address, value, WriteErrorButtons::AbortRetryIgnore, [&] {
            switch (PulseProgramWord(value, value & kChipWordBits)) {
            case PulseOutcome::Matched:
                return StepOutcome::Next;
            case PulseOutcome::NoMatch:
                if (m_readBackDifference) {
                    m_wordReadBack = m_readBackDifference->read;
                }
                return StepOutcome::Difference;
            case PulseOutcome::Failed:
                break;
            }
            return StepOutcome::Failed;
        });
    }
    if (outcome != StepOutcome::Next) {
        return outcome;
    }
    return ProgAdvance(family, parallel) ? StepOutcome::Next : StepOutcome::Failed;
}
