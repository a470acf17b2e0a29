#pragma once

// The four things a user can do to a chip over the ticked targets.
enum class ChipOperation { Read, Write, Verify, BlankCheck };

// The targets, in the fixed order every operation visits them.
enum class ChipTarget { ProgramMemory, DataMemory, IdCode, ConfigWord };

// Program and data memory are walked word by word over an address range; the ID code and the
// configuration word are one value each.
constexpr bool IsMemoryTarget(ChipTarget target)
{
    return target == ChipTarget::ProgramMemory || target == ChipTarget::DataMemory;
}
