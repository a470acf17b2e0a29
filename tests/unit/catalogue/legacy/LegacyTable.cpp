// The built-in table and the code that read it, moved here unchanged from the program.
#include "LegacyTable.h"

#include <array>
#include <optional>
#include <vector>

namespace legacy {

namespace {

// Compact source rows. Flags, in order: HasSerial, HasParallel, HasDataMemory,
// HasPartialProtect, HasWdt, HasPwrt, PwrtActiveHigh, HasBrownout, HasMclre, HasLvp,
// HasDebug, HasWrt, HasCpd, HasMemoryParity, HasCalibration.
struct Row
{
    const char *name;
    const char *progMax;
    const char *dataMax;
    uint16_t idAddress;
    uint16_t configAddress;
    uint8_t powerOnMode;
    uint8_t family;
    const char *flags;
    uint16_t protMask, protNone, protUp34, protUp12, protAll;
};

// clang-format off
constexpr Row kRows[kDeviceTableRows] = {
    {"16c54",   "01FF", "00", 0x0200, 0x0FFF, 0, 1, "010010000000000", 0x0008, 0x0FF8, 0x0000, 0x0000, 0x0000},
    {"16c55",   "01FF", "00", 0x0200, 0x0FFF, 0, 1, "010010000000000", 0x0008, 0x0FF8, 0x0000, 0x0000, 0x0000},
    {"16c56",   "03FF", "00", 0x0400, 0x0FFF, 0, 1, "010010000000000", 0x0008, 0x0FF8, 0x0000, 0x0000, 0x0000},
    {"16c57",   "07FF", "00", 0x0800, 0x0FFF, 0, 1, "010010000000000", 0x0008, 0x0FF8, 0x0000, 0x0000, 0x0000},
    {"16c58",   "07FF", "00", 0x0800, 0x0FFF, 0, 1, "010010000000000", 0x0008, 0x0FF8, 0x0000, 0x0000, 0x0000},
    {"16c61",   "03FF", "00", 0x2000, 0x2007, 1, 2, "110010100000000", 0x0010, 0x3FF0, 0x0000, 0x0000, 0x3FE0},
    {"16c62",   "07FF", "00", 0x2000, 0x2007, 1, 2, "100011100000000", 0x0070, 0x3FB0, 0x3F90, 0x3FA0, 0x3F80},
    {"16c63",   "0FFF", "00", 0x2000, 0x2007, 1, 2, "100111010000000", 0x3F30, 0x3FB0, 0x1590, 0x2AA0, 0x0080},
    {"16c64",   "07FF", "00", 0x2000, 0x2007, 1, 2, "110111100000000", 0x0070, 0x3FB0, 0x3F90, 0x3FA0, 0x3F80},
    {"16c65",   "0FFF", "00", 0x2000, 0x2007, 1, 2, "110111100000000", 0x0070, 0x3FB0, 0x3F90, 0x3FA0, 0x3F80},
    {"16c71",   "03FF", "00", 0x0000, 0x2007, 1, 2, "110011100000000", 0x0010, 0x3FF0, 0x0000, 0x0000, 0x3FE0},
    {"16c73",   "0FFF", "00", 0x2000, 0x2007, 1, 2, "100111100000000", 0x0070, 0x3FB0, 0x3F90, 0x3FA0, 0x3F80},
    {"16c74",   "0FFF", "00", 0x2000, 0x2007, 1, 2, "110111100000000", 0x0070, 0x3FB0, 0x3F90, 0x3FA0, 0x3F80},
    {"16c84",   "03FF", "3F", 0x2000, 0x2007, 1, 3, "111011100000000", 0x0010, 0x3FF0, 0x0000, 0x0000, 0x0060},
    {"16f83",   "01FF", "3F", 0x2000, 0x2007, 1, 3, "111011000000000", 0x3FF0, 0x3FF0, 0x0000, 0x0000, 0x0000},
    {"16f84",   "03FF", "3F", 0x2000, 0x2007, 1, 3, "111011000000000", 0x3FF0, 0x3FF0, 0x0000, 0x0000, 0x0000},
    {"16c710",  "01FF", "00", 0x2000, 0x2007, 1, 2, "110011010000000", 0x3FB0, 0x3FB0, 0x0000, 0x0000, 0x0000},
    {"16c711",  "03FF", "00", 0x2000, 0x2007, 1, 2, "110011010000000", 0x3FB0, 0x3FB0, 0x0000, 0x0000, 0x0000},
    {"12c508",  "01FF", "00", 0x0200, 0x0FFF, 1, 4, "100010001000001", 0x0008, 0x0FE8, 0x0000, 0x0000, 0x0000},
    {"12c509",  "03FF", "00", 0x0400, 0x0FFF, 1, 4, "100010001000001", 0x0008, 0x0FE8, 0x0000, 0x0000, 0x0000},
    {"16c65A",  "0FFF", "00", 0x2000, 0x2007, 1, 2, "110111010000000", 0x3FB0, 0x3FB0, 0x1590, 0x2AA0, 0x0080},
    {"16c554",  "01FF", "00", 0x2000, 0x2007, 1, 2, "110011000000000", 0x3F30, 0x3FB0, 0x0000, 0x0000, 0x0080},
    {"16c558",  "07FF", "00", 0x2000, 0x2007, 1, 2, "110111000000000", 0x3F30, 0x3FB0, 0x15D0, 0x2AE0, 0x0080},
    {"16c62A",  "07FF", "00", 0x2000, 0x2007, 1, 2, "100011010000000", 0x3FB0, 0x3FB0, 0x1590, 0x2AA0, 0x0080},
    {"16f877",  "1FFF", "FF", 0x2000, 0x2007, 1, 3, "111111010111100", 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
    {"16f876",  "1FFF", "FF", 0x2000, 0x2007, 1, 3, "111111010111100", 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
    {"12ce674", "07FF", "00", 0x2000, 0x2007, 1, 2, "100111001000001", 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
    {"16f628",  "07FF", "7F", 0x2000, 0x2007, 1, 3, "111111011100100", 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
    {"16c715",  "07FF", "00", 0x0000, 0x2007, 1, 2, "100111010000010", 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
    {"16f628a", "07FF", "7F", 0x2000, 0x2007, 1, 3, "101011011100100", 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
    {"",        "0000", "00", 0x0000, 0x0000, 0, 0, "000010000000000", 0x0000, 0x0000, 0x0000, 0x0000, 0x0000},
};
// clang-format on

// What the parts with a configuration layout or an oscillator list of their own do; every
// other part with a name takes the generic layout, the LP/XT/HS/RC list and builds All Code
// Protect from the option controls.
struct OwnBehaviour
{
    const char *name;
    ConfigLayout layout;
    OscillatorSet oscillators;
    ProtectAllRule protectAll;
    bool configSerialOnly;
    bool eraseByBulkCommands;
};

using L = ConfigLayout;
using O = OscillatorSet;
using P = ProtectAllRule;
// clang-format off
constexpr OwnBehaviour kOwnBehaviour[] = {
    {"12c508",  L::Generic, O::InternalRc12, P::FromControls,        false, false},
    {"12c509",  L::Generic, O::InternalRc12, P::FromControls,        false, false},
    {"16f877",  L::F87x,    O::LpXtHsRc,     P::ClearProtectionBits, false, false},
    {"16f876",  L::F87x,    O::LpXtHsRc,     P::ClearProtectionBits, false, false},
    {"12ce674", L::Ce674,   O::Ce674,        P::ClearProtectionBits, false, false},
    {"16f628",  L::F628,    O::F628,         P::ClearProtectionBits, true,  false},
    {"16c715",  L::C715,    O::LpXtHsRc,     P::Unchanged,           false, false},
    {"16f628a", L::F628a,   O::F628a,        P::ClearProtectionBits, false, true},
    {"",        L::None,    O::None,         P::FromControls,        false, false},
};
// clang-format on

void SetBehaviour(LegacyRecord &r)
{
    r.Layout = ConfigLayout::Generic;
    r.Oscillators = OscillatorSet::LpXtHsRc;
    r.ProtectAll = ProtectAllRule::FromControls;
    for (const OwnBehaviour &own : kOwnBehaviour) {
        if (r.DeviceName == QLatin1String(own.name)) {
            r.Layout = own.layout;
            r.Oscillators = own.oscillators;
            r.ProtectAll = own.protectAll;
            r.ConfigSerialOnly = own.configSerialOnly ? 1 : 0;
            r.EraseByBulkCommands = own.eraseByBulkCommands ? 1 : 0;
        }
    }
}

uint8_t Flag(const char *flags, int index)
{
    return flags[index] == '1' ? 1 : 0;
}

LegacyRecord MakeRecord(const Row &row, int index)
{
    LegacyRecord r;
    r.DeviceName = QString::fromLatin1(row.name);
    r.DeviceType = static_cast<uint16_t>(index);
    r.NoConfigWord = 0;
    r.ProgMaxText = QString::fromLatin1(row.progMax);
    r.DataMaxText = QString::fromLatin1(row.dataMax);
    const char *f = row.flags;
    r.HasSerial = Flag(f, 0);
    r.HasParallel = Flag(f, 1);
    r.HasDataMemory = Flag(f, 2);
    r.HasPartialProtect = Flag(f, 3);
    r.HasWdt = Flag(f, 4);
    r.HasPwrt = Flag(f, 5);
    r.PwrtActiveHigh = Flag(f, 6);
    r.HasBrownout = Flag(f, 7);
    r.HasMclre = Flag(f, 8);
    r.HasLvp = Flag(f, 9);
    r.HasDebug = Flag(f, 10);
    r.HasWrt = Flag(f, 11);
    r.HasCpd = Flag(f, 12);
    r.HasMemoryParity = Flag(f, 13);
    r.HasCalibration = Flag(f, 14);
    r.ProtMask = row.protMask;
    r.ProtNoneWord = row.protNone;
    r.ProtUp34Word = row.protUp34;
    r.ProtUp12Word = row.protUp12;
    r.ProtAllWord = row.protAll;
    r.IdAddress = row.idAddress;
    r.ConfigAddress = row.configAddress;
    r.PowerOnMode = row.powerOnMode;
    r.DeviceFamily = row.family;
    SetBehaviour(r);
    return r;
}

} // namespace

const std::array<LegacyRecord, kDeviceTableRows> &DeviceTable()
{
    static const std::array<LegacyRecord, kDeviceTableRows> table = [] {
        std::array<LegacyRecord, kDeviceTableRows> rows;
        for (int i = 0; i < kDeviceTableRows; ++i)
            rows[i] = MakeRecord(kRows[i], i);
        return rows;
    }();
    return table;
}

std::optional<LegacyRecord> FindDevice(const QString &name)
{
    for (const LegacyRecord &record : DeviceTable()) {
        if (record.DeviceName == name)
            return record;
    }
    return std::nullopt;
}

const QStringList &SelectorDeviceNames()
{
    static const QStringList names = {"12c508",  "12c509", "12ce674", "16c54",  "16c55",  "16c56",
                                      "16c57",   "16c58",  "16c554",  "16c558", "16c61",  "16c62",
                                      "16c62A",  "16c63",  "16c64",   "16c65",  "16c65A", "16c71",
                                      "16c710",  "16c711", "16c715",  "16c73",  "16c74",  "16f628",
                                      "16f628a", "16c84",  "16f83",   "16f84",  "16f877", "16f876"};
    return names;
}

QString ValidDeviceNamesText()
{
    return SelectorDeviceNames().join(QStringLiteral(", "));
}

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

const FixedLayout *FixedLayoutFor(const LegacyRecord &device)
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

bool IsGenericLayout(const LegacyRecord &device)
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
std::vector<BitControl> GenericBits(const LegacyRecord &d)
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

ConfigControls GenericToControls(uint16_t word, const LegacyRecord &d, ConfigControls c)
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

uint16_t GenericToConfig(const ConfigControls &c, const LegacyRecord &d, uint16_t word)
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

uint16_t ConfigBitsUsed(const LegacyRecord &device)
{
    if (IsGenericLayout(device))
        return static_cast<uint16_t>(device.ProtMask | BitsOf(GenericBits(device)) |
                                     OscillatorBits(OscField::Bits1to0));
    if (const FixedLayout *layout = FixedLayoutFor(device))
        return static_cast<uint16_t>(layout->mask | BitsOf(layout->bits) |
                                     OscillatorBits(layout->osc));
    return 0;
}

uint16_t ProtectionBits(const LegacyRecord &device)
{
    if (IsGenericLayout(device))
        return device.ProtMask;
    if (const FixedLayout *layout = FixedLayoutFor(device))
        return layout->mask;
    return 0;
}

ConfigControls ConfigToControls(uint16_t word, const LegacyRecord &device,
                                const ConfigControls &current)
{
    if (IsGenericLayout(device))
        return GenericToControls(word, device, current);
    if (const FixedLayout *layout = FixedLayoutFor(device))
        return FixedToControls(word, *layout, current);
    return current;
}

uint16_t ControlsToConfig(const ConfigControls &controls, const LegacyRecord &device,
                          uint16_t currentWord)
{
    if (IsGenericLayout(device))
        return GenericToConfig(controls, device, currentWord);
    if (const FixedLayout *layout = FixedLayoutFor(device))
        return FixedToConfig(controls, *layout, currentWord);
    return currentWord;
}

QStringList OscillatorList(const LegacyRecord &device)
{
    switch (device.Oscillators) {
    case OscillatorSet::LpXtHsRc:
        return {"LP", "XT", "HS", "RC"};
    case OscillatorSet::InternalRc12:
        return {"LP", "XT", "Internal RC", "External RC"};
    case OscillatorSet::Ce674:
        return {"LP",       "XT",
                "HS",       "Invalid !",
                "IntRC IO", "IntRC Clockout",
                "ExtRC IO", "ExtRC Clockout"};
    case OscillatorSet::F628:
        return {"LP", "XT", "HS", "EC", "IntRC IO", "IntRC Clockout", "ER IO", "ER Clockout"};
    case OscillatorSet::F628a:
        return {"LP",        "XT",
                "HS",        "ExtClk",
                "IntOsc IO", "IntOsc Clockout",
                "RCOsc IO",  "RCOsc Clockout"};
    case OscillatorSet::None:
        break;
    }
    return {};
}

bool HasOscillatorList(const LegacyRecord &device)
{
    return device.Oscillators != OscillatorSet::None;
}

ConfigControlsEnabled EnabledControls(const LegacyRecord &d)
{
    ConfigControlsEnabled e{};
    e.WdtCbx = d.HasWdt;
    e.PutCbx = d.HasPwrt;
    e.LvpCbx = d.HasLvp;
    e.BOutCbx = d.HasBrownout;
    e.MClrCbx = d.HasMclre;
    e.DebugCbx = d.HasDebug;
    e.CpdCbx = d.HasCpd;
    e.WrtCbx = d.HasWrt;
    e.MpeenCbx = d.HasMemoryParity;
    e.ProtUp12Btn = d.HasPartialProtect;
    e.ProtUp34Btn = d.HasPartialProtect;
    return e;
}

ConfigControls ControlsAfterDeviceSelection(const LegacyRecord &device,
                                            const ConfigControls &previous)
{
    ConfigControls c = previous;
    if (HasOscillatorList(device))
        c.OscBox = static_cast<int>(OscillatorList(device).size()) - 1;
    const ConfigControlsEnabled e = EnabledControls(device);
    c.WdtCbx = c.WdtCbx && e.WdtCbx;
    c.PutCbx = c.PutCbx && e.PutCbx;
    c.LvpCbx = c.LvpCbx && e.LvpCbx;
    c.BOutCbx = c.BOutCbx && e.BOutCbx;
    c.MClrCbx = c.MClrCbx && e.MClrCbx;
    c.DebugCbx = c.DebugCbx && e.DebugCbx;
    c.CpdCbx = c.CpdCbx && e.CpdCbx;
    c.WrtCbx = c.WrtCbx && e.WrtCbx;
    c.MpeenCbx = c.MpeenCbx && e.MpeenCbx;
    c.ProtNoneBtn = true;
    c.ProtUp12Btn = false;
    c.ProtUp34Btn = false;
    c.ProtAllBtn = false;
    return c;
}

namespace {

// Configuration bits the generic layout adds to the protection word.
constexpr std::uint16_t kWdtBit = 0x0004;
constexpr std::uint16_t kPwrtBit = 0x0008;
constexpr std::uint16_t kMclreBit = 0x0010;
constexpr std::uint16_t kBrownoutBit = 0x0040;

// The generic layout builds the word as the controls would, with All (or the partial choice
// the chip already had) in place of the protection the controls show.
std::uint16_t GenericProtectWord(const LegacyRecord &d, const ConfigControls &c)
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

std::uint16_t AllCodeProtectWord(const LegacyRecord &device, std::uint16_t chipWord,
                                 const ConfigControls &controls)
{
    switch (device.ProtectAll) {
    case ProtectAllRule::FromControls:
        return GenericProtectWord(device, controls);
    case ProtectAllRule::ClearProtectionBits:
        // A cleared protection bit protects: the word read, without them.
        return static_cast<std::uint16_t>(chipWord & 0x3FFF & ~ProtectionBits(device));
    case ProtectAllRule::Unchanged:
        break;
    }
    return chipWord;
}

namespace {
struct KnownId
{
    const char *part;
    std::uint16_t id; // revision bits zero
};
constexpr std::array<KnownId, 4> kKnownIds = {{
    {"16f628", 0x07C0},
    {"16f628a", 0x1060},
    {"16f876", 0x09E0},
    {"16f877", 0x09A0},
}};
} // namespace

bool HasDeviceId(const LegacyRecord &device)
{
    for (const KnownId &known : kKnownIds) {
        if (device.DeviceName == QLatin1String(known.part))
            return true;
    }
    return false;
}

std::optional<QString> PartOfDeviceId(uint16_t word)
{
    for (const KnownId &known : kKnownIds) {
        if ((word & 0x3FE0) == known.id)
            return QString::fromLatin1(known.part);
    }
    return std::nullopt;
}

} // namespace legacy
