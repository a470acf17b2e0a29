#include "AllCodeProtect.h"

#include "ConfigControls.h"
#include "DeviceRecord.h"
#include "DeviceRules.h"

namespace {

// Configuration bits the generic layout adds to the protection word.
constexpr std::uint16_t kWdtBit = 0x0004;
constexpr std::uint16_t kPwrtBit = 0x0008;
constexpr std::uint16_t kMclreBit = 0x0010;
constexpr std::uint16_t kBrownoutBit = 0x0040;

// The generic layout builds the word as the controls would, with All (or the partial choice
// the chip already had) in place of the protection the controls show.
std::uint16_t GenericProtectWord(const DeviceRecord &d, const ConfigControls &c)
{
    std::uint16_t p = d.ProtAllWord;
    if (d.HasPartialProtect && c.ProtUp34Btn)
        p = d.ProtUp34Word;
    else if (d.HasPartialProtect && c.ProtUp12Btn)
        p = d.ProtUp12Word;
    if (d.HasWdt && c.WdtCbx)
        p |= kWdtBit;
    // On most parts the power-up timer bit enables the timer when clear.
    if (d.HasPwrt && (d.PwrtActiveHigh ? c.PutCbx : !c.PutCbx))
        p |= kPwrtBit;
    if (d.HasBrownout && c.BOutCbx)
        p |= kBrownoutBit;
    if (d.HasMclre && c.MClrCbx)
        p |= kMclreBit;
    return p | static_cast<std::uint16_t>(c.OscBox);
}

} // namespace

std::uint16_t AllCodeProtectWord(const DeviceRecord &device, std::uint16_t chipWord,
                                 const ConfigControls &controls)
{
    switch (device.ProtectAll) {
    case ProtectAllRule::FromControls:
        return GenericProtectWord(device, controls);
    case ProtectAllRule::ClearProtectionBits:
        // A cleared protection bit protects: the word read, without them.
        return static_cast<std::uint16_t>(chipWord & kChipWordBits & ~ProtectionBits(device));
    case ProtectAllRule::Unchanged:
        break;
    }
    return chipWord;
}
