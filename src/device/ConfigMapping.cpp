#include "ConfigControls.h"
#include "DeviceRecord.h"

#include <array>
#include <optional>
#include <vector>

namespace {

// A check box's bit and sense. Active-high: checked exactly when the bit is 1. Active-low:
// checked exactly when the bit is 0, and an unchecked box writes the 1.
struct BitControl
{
    bool ConfigControls::*box;
    uint16_t bit;
    bool activeHigh;
};

enum class OscField { Bits1to0, Bits2to0, Bit4AndBits1to0 };

// Protection in a fixed layout: the pattern (word AND mask) that selects a choice when
// reading, and the word that building starts from when the choice is checked.
struct ProtectionChoice
{
    bool ConfigControls::*button;
    uint16_t read;
    uint16_t base;
};

struct FixedLayout
{
    OscField osc;
    std::vector<BitControl> bits;
    uint16_t mask;
    std::vector<ProtectionChoice> protection; // None, Upper 3/4, Upper 1/2, All as offered
    bool onlyNoneAndAll;                      // the 16f628a has no partial protection
};

using C = ConfigControls;

// clang-format off
const FixedLayout kLayoutA{ // 16f877, 16f876
    OscField::Bits1to0,
    {{&C::WdtCbx, 0x0004, true}, {&C::PutCbx, 0x0008, false}, {&C::BOutCbx, 0x0040, true},
     {&C::LvpCbx, 0x0080, true}, {&C::CpdCbx, 0x0100, false}, {&C::WrtCbx, 0x0200, true},
     {&C::DebugCbx, 0x0800, false}},
    0x3030,
    {{&C::ProtNoneBtn, 0x3030, 0x3430}, {&C::ProtUp34Btn, 0x2020, 0x2420},
     {&C::ProtUp12Btn, 0x1010, 0x1410}, {&C::ProtAllBtn, 0x0000, 0x0400}},
    false};

const FixedLayout kLayoutB{ // 12ce674
    OscField::Bits2to0,
    {{&C::WdtCbx, 0x0008, true}, {&C::PutCbx, 0x0010, false}, {&C::MClrCbx, 0x0080, true}},
    0x3F60,
    {{&C::ProtNoneBtn, 0x3F60, 0x3F60}, {&C::ProtUp34Btn, 0x1520, 0x1520},
     {&C::ProtUp12Btn, 0x2A40, 0x2A40}, {&C::ProtAllBtn, 0x0000, 0x0000}},
    false};

const std::vector<BitControl> kBits628{
    {&C::WdtCbx, 0x0004, true}, {&C::PutCbx, 0x0008, false}, {&C::MClrCbx, 0x0020, true},
    {&C::BOutCbx, 0x0040, true}, {&C::LvpCbx, 0x0080, true}, {&C::CpdCbx, 0x0100, false}};

const FixedLayout kLayoutC{ // 16f628
    OscField::Bit4AndBits1to0, kBits628, 0x3C00,
    {{&C::ProtNoneBtn, 0x3C00, 0x3E00}, {&C::ProtUp34Btn, 0x1400, 0x1600},
     {&C::ProtUp12Btn, 0x2800, 0x2A00}, {&C::ProtAllBtn, 0x0000, 0x0200}},
    false};

const FixedLayout kLayoutD{ // 16c715
    OscField::Bits1to0,
    {{&C::WdtCbx, 0x0004, true}, {&C::PutCbx, 0x0008, false}, {&C::BOutCbx, 0x0040, true},
     {&C::MpeenCbx, 0x0080, true}},
    0x3F30,
    {{&C::ProtNoneBtn, 0x3F30, 0x3F30}, {&C::ProtUp34Btn, 0x1510, 0x1510},
     {&C::ProtUp12Btn, 0x2A20, 0x2A20}, {&C::ProtAllBtn, 0x0000, 0x0000}},
    false};

const FixedLayout kLayoutE{ // 16f628a
    OscField::Bit4AndBits1to0, kBits628, 0x2000,
    {{&C::ProtNoneBtn, 0x2000, 0x3E00}, {&C::ProtAllBtn, 0x0000, 0x1E00}},
    true};
// clang-format on

const FixedLayout *FixedLayoutFor(const DeviceRecord &device)
{
    switch (device.Layout) {
    case ConfigLayout::F87x:
        return &kLayoutA;
    case ConfigLayout::Ce674:
        return &kLayoutB;
    case ConfigLayout::F628:
        return &kLayoutC;
    case ConfigLayout::C715:
        return &kLayoutD;
    case ConfigLayout::F628a:
        return &kLayoutE;
    case ConfigLayout::Generic:
    case ConfigLayout::None:
        break;
    }
    return nullptr;
}

bool IsGenericLayout(const DeviceRecord &device)
{
    return device.Layout == ConfigLayout::Generic;
}

int ReadOscillator(OscField field, uint16_t word)
{
    switch (field) {
    case OscField::Bits2to0:
        return word & 0x7;
    case OscField::Bit4AndBits1to0:
        return ((word >> 4) & 1) * 4 + (word & 0x3);
    case OscField::Bits1to0:
        break;
    }
    return word & 0x3;
}

uint16_t BuildOscillator(OscField field, int index)
{
    const auto i = static_cast<uint16_t>(index < 0 ? 0 : index);
    switch (field) {
    case OscField::Bits2to0:
        return i & 0x7;
    case OscField::Bit4AndBits1to0:
        return static_cast<uint16_t>((i & 0x3) | ((i & 0x4) ? 0x0010 : 0));
    case OscField::Bits1to0:
        break;
    }
    return i & 0x3;
}

bool CheckedFromBit(uint16_t word, const BitControl &bc)
{
    const bool bitSet = (word & bc.bit) != 0;
    return bc.activeHigh ? bitSet : !bitSet;
}

bool WritesOne(const ConfigControls &c, const BitControl &bc)
{
    return bc.activeHigh ? c.*(bc.box) : !(c.*(bc.box));
}

void CheckOnly(ConfigControls &c, bool ConfigControls::*button)
{
    c.ProtNoneBtn = c.ProtUp12Btn = c.ProtUp34Btn = c.ProtAllBtn = false;
    c.*button = true;
}

ConfigControls FixedToControls(uint16_t word, const FixedLayout &layout, ConfigControls c)
{
    c.OscBox = ReadOscillator(layout.osc, word);
    for (const BitControl &bc : layout.bits)
        c.*(bc.box) = CheckedFromBit(word, bc);
    const uint16_t pattern = word & layout.mask;
    for (const ProtectionChoice &choice : layout.protection) {
        if (pattern == choice.read) {
            CheckOnly(c, choice.button);
            break;
        }
    }
    if (layout.onlyNoneAndAll)
        c.ProtUp34Btn = c.ProtUp12Btn = false;
    return c;
}

uint16_t FixedToConfig(const ConfigControls &c, const FixedLayout &layout, uint16_t word)
{
    for (const ProtectionChoice &choice : layout.protection) {
        if (c.*(choice.button))
            word = choice.base;
    }
    for (const BitControl &bc : layout.bits) {
        if (WritesOne(c, bc))
            word |= bc.bit;
    }
    return word | BuildOscillator(layout.osc, c.OscBox);
}

// The generic layout's boxes, each used only when the device has the bit.
std::vector<BitControl> GenericBits(const DeviceRecord &d)
{
    std::vector<BitControl> bits;
    if (d.HasWdt)
        bits.push_back({&C::WdtCbx, 0x0004, true});
    if (d.HasPwrt)
        bits.push_back({&C::PutCbx, 0x0008, d.PwrtActiveHigh != 0});
    if (d.HasBrownout)
        bits.push_back({&C::BOutCbx, 0x0040, true});
    if (d.HasMclre)
        bits.push_back({&C::MClrCbx, 0x0010, true});
    return bits;
}

ConfigControls GenericToControls(uint16_t word, const DeviceRecord &d, ConfigControls c)
{
    c.OscBox = word & 0x3;
    for (const BitControl &bc : GenericBits(d))
        c.*(bc.box) = CheckedFromBit(word, bc);
    // Each button follows its own comparison, so an unknown pattern shows no choice.
    const uint16_t p = word & d.ProtMask;
    c.ProtNoneBtn = p == (d.ProtNoneWord & d.ProtMask);
    c.ProtAllBtn = p == (d.ProtAllWord & d.ProtMask);
    c.ProtUp34Btn = d.HasPartialProtect && p == (d.ProtUp34Word & d.ProtMask);
    c.ProtUp12Btn = d.HasPartialProtect && p == (d.ProtUp12Word & d.ProtMask);
    return c;
}

uint16_t GenericToConfig(const ConfigControls &c, const DeviceRecord &d, uint16_t word)
{
    if (c.ProtNoneBtn)
        word = d.ProtNoneWord;
    if (c.ProtAllBtn)
        word = d.ProtAllWord;
    if (d.HasPartialProtect && c.ProtUp34Btn)
        word = d.ProtUp34Word;
    if (d.HasPartialProtect && c.ProtUp12Btn)
        word = d.ProtUp12Word;
    for (const BitControl &bc : GenericBits(d)) {
        if (WritesOne(c, bc))
            word |= bc.bit;
    }
    return word | static_cast<uint16_t>(c.OscBox < 0 ? 0 : c.OscBox);
}

uint16_t OscillatorBits(OscField field)
{
    switch (field) {
    case OscField::Bits2to0:
        return 0x0007;
    case OscField::Bit4AndBits1to0:
        return 0x0013;
    case OscField::Bits1to0:
        break;
    }
    return 0x0003;
}

uint16_t BitsOf(const std::vector<BitControl> &bits)
{
    uint16_t used = 0;
    for (const BitControl &bc : bits)
        used |= bc.bit;
    return used;
}

} // namespace

uint16_t ConfigBitsUsed(const DeviceRecord &device)
{
    if (IsGenericLayout(device))
        return static_cast<uint16_t>(device.ProtMask | BitsOf(GenericBits(device)) |
                                     OscillatorBits(OscField::Bits1to0));
    if (const FixedLayout *layout = FixedLayoutFor(device))
        return static_cast<uint16_t>(layout->mask | BitsOf(layout->bits) |
                                     OscillatorBits(layout->osc));
    return 0;
}

uint16_t ProtectionBits(const DeviceRecord &device)
{
    if (IsGenericLayout(device))
        return device.ProtMask;
    if (const FixedLayout *layout = FixedLayoutFor(device))
        return layout->mask;
    return 0;
}

ConfigControls ConfigToControls(uint16_t word, const DeviceRecord &device,
                                const ConfigControls &current)
{
    if (IsGenericLayout(device))
        return GenericToControls(word, device, current);
    if (const FixedLayout *layout = FixedLayoutFor(device))
        return FixedToControls(word, *layout, current);
    return current;
}

uint16_t ControlsToConfig(const ConfigControls &controls, const DeviceRecord &device,
                          uint16_t currentWord)
{
    if (IsGenericLayout(device))
        return GenericToConfig(controls, device, currentWord);
    if (const FixedLayout *layout = FixedLayoutFor(device))
        return FixedToConfig(controls, *layout, currentWord);
    return currentWord;
}
