#include "DeviceTable.h"

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

void SetBehaviour(DeviceRecord &r)
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

DeviceRecord MakeRecord(const Row &row, int index)
{
    DeviceRecord r;
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

const std::array<DeviceRecord, kDeviceTableRows> &DeviceTable()
{
    static const std::array<DeviceRecord, kDeviceTableRows> table = [] {
        std::array<DeviceRecord, kDeviceTableRows> rows;
        for (int i = 0; i < kDeviceTableRows; ++i)
            rows[i] = MakeRecord(kRows[i], i);
        return rows;
    }();
    return table;
}

std::optional<DeviceRecord> FindDevice(const QString &name)
{
    for (const DeviceRecord &record : DeviceTable()) {
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
