#include "PartChecksum.h"

#include "PartAlgorithms.h"

int LastUserWord(const PartDefinition &part)
{
    const int last = part.programWords - 1;
    for (const CalibrationDef &cal : part.calibration) {
        const bool atLastWord = cal.kind == CalibrationKind::MovlwLastWord ||
                                cal.kind == CalibrationKind::RetlwLastWord;
        if (atLastWord && cal.address == last)
            return last - 1;
    }
    return last;
}

uint16_t ComputedChecksum(const PartDefinition &part, std::optional<uint16_t> patternWord)
{
    const uint32_t blankWord = WordMaskOf(part);
    const int lastUser = LastUserWord(part);
    const uint32_t userWords = lastUser < 0 ? 0 : static_cast<uint32_t>(lastUser) + 1;
    uint32_t sum = userWords * blankWord;
    if (patternWord && userWords > 0) {
        // The first and the last user word hold the pattern in place of the blank word; on a
        // one-word part they are the same word.
        const uint32_t replaced = userWords > 1 ? 2 : 1;
        sum += replaced * (*patternWord & blankWord) - replaced * blankWord;
    }
    for (const ConfigWordDef &word : part.config)
        sum += word.blank & word.checksumMask.value_or(0);
    return static_cast<uint16_t>(sum);
}
