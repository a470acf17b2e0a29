// Program memory of the parts that program aligned blocks of eight words (16F87XA). Begin
// Erase/Programming ignores the counter's low three bits: it erases the block the counter is in
// and writes it from the eight write latches, which keep their contents afterwards. So every
// block is loaded whole before its one programming cycle: the words of the range, and for a
// block the range covers only in part, the image's words beside it (3FFF where the image holds
// no number). The counter never goes back, so the block is read back at its last word.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "link/ProgrammerModule.h"

struct PicEngine::BlockWriteState
{
    std::uint16_t start = 0;
    std::uint16_t end = 0;
    bool skipping = false;          // the block in progress is blank and left out
    std::uint16_t pendingSteps = 0; // locations of left-out blocks not yet stepped over
};

bool PicEngine::LoadProgramWord(std::uint16_t word)
{
    return m_module.ModuleSerialPicCommand(PicCode::kLoadProgramData) &&
           m_module.ModuleSerialLoadData(word);
}

std::uint16_t PicEngine::ImageWordOrBlank(std::uint16_t address, std::uint16_t start,
                                          std::uint16_t end) const
{
    const auto value = ParseHexText(m_image.GetProgramWordText(address));
    const bool inRange = address >= start && address <= end;
    // Inside the range a cell that is no number ends the write before it is loaded.
    if (!value || (!inRange && *value > kChipWordBits)) {
        return BlankWord(m_device);
    }
    return static_cast<std::uint16_t>(*value);
}

bool PicEngine::BlockIsBlank(std::uint16_t first, std::uint16_t start, std::uint16_t end) const
{
    for (int i = 0; i < BlockWords(m_device); ++i) {
        const auto address = static_cast<std::uint16_t>(first + i);
        const bool inRange = address >= start && address <= end;
        const auto value = ParseHexText(m_image.GetProgramWordText(address));
        if (inRange && value != BlankWord(m_device)) {
            return false;
        }
        if (!inRange && ImageWordOrBlank(address, start, end) != BlankWord(m_device)) {
            return false;
        }
    }
    return true;
}

PicEngine::WordStep PicEngine::BlockWriteStep(WriteScope scope,
                                              std::shared_ptr<BlockWriteState> state)
{
    const auto increment = [this] {
        return m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
    };
    return [this, scope, state, increment](std::uint16_t address, EngineResult &result) {
        const auto size = static_cast<std::uint16_t>(BlockWords(m_device));
        const auto first = static_cast<std::uint16_t>(address - address % size);
        const auto last = static_cast<std::uint16_t>(first + size - 1);
        if (address == first || address == state->start) {
            // A new block: the counter stands at its first word (positioned there, or one
            // step on from the block before).
            state->skipping =
                scope == WriteScope::SkipBlank && BlockIsBlank(first, state->start, state->end);
            if (state->skipping) {
                state->pendingSteps += address - first;
            } else {
                if (state->pendingSteps != 0 && !StepBy(state->pendingSteps)) {
                    return StepOutcome::Failed;
                }
                state->pendingSteps = 0;
                for (std::uint16_t a = first; a < address; ++a) {
                    if (!LoadProgramWord(ImageWordOrBlank(a, state->start, state->end)) ||
                        !increment()) {
                        return StepOutcome::Failed;
                    }
                }
            }
        }
        if (state->skipping) {
            ++state->pendingSteps;
            return StepOutcome::Next;
        }
        const QString text = m_image.GetProgramWordText(address);
        const auto value = ParseHexText(text);
        if (!value) {
            result.expectedText = text;
            return StepOutcome::BadText;
        }
        if (!LoadProgramWord(static_cast<std::uint16_t>(*value))) {
            return StepOutcome::Failed;
        }
        if (address != last && address != state->end) {
            return increment() ? StepOutcome::Next : StepOutcome::Failed;
        }
        // The rest of a block the range ends inside, then the one cycle for the whole block.
        auto expected = static_cast<std::uint16_t>(*value);
        for (auto a = static_cast<std::uint16_t>(address + 1); a <= last && a > address; ++a) {
            expected = ImageWordOrBlank(a, state->start, state->end);
            if (!increment() || !LoadProgramWord(expected)) {
                return StepOutcome::Failed;
            }
        }
        const StepOutcome outcome =
            RepeatUntilWritten(last, expected, WriteErrorButtons::AbortRetryIgnore, [&] {
                // The latches still hold the block: a retry programs it again.
                std::uint16_t readBack = 0;
                if (!m_module.ModuleSerialPicCommand(PicCode::kBeginProgramming) ||
                    !SerialReadWord(PicCode::kReadProgramData, readBack)) {
                    return StepOutcome::Failed;
                }
                m_wordReadBack = readBack;
                return readBack == expected ? StepOutcome::Next : StepOutcome::Difference;
            });
        if (outcome != StepOutcome::Next) {
            return outcome;
        }
        return increment() ? StepOutcome::Next : StepOutcome::Failed;
    };
}

EngineResult PicEngine::WriteProgramBlocks(WriteScope scope)
{
    const std::uint8_t family = m_device.DeviceFamily;
    auto state = std::make_shared<BlockWriteState>();
    WordLoop loop{ChipOperation::Write, false, [this, family] { return ProgWritePreamble(family); },
                  BlockWriteStep(scope, state)};
    // Whole aligned blocks, from the first word of the block the range starts in.
    loop.position = [this, state](std::uint16_t start, std::uint16_t end) {
        state->start = start;
        state->end = end;
        return static_cast<std::uint16_t>(start - start % BlockWords(m_device));
    };
    return RunWordLoop(loop);
}
