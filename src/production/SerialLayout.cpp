#include "production/SerialLayout.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <QStringList>

namespace {

constexpr int kDefaultCount = 2;

QString Expected()
{
    return QStringLiteral("use id, data:AA[:N] or prog:AAAA[:N] (addresses hexadecimal, N from 1 "
                          "to %1)")
        .arg(kMaxSerialBytes);
}

std::optional<int> ParseCount(const QStringList &parts)
{
    if (parts.size() < 3)
        return kDefaultCount;
    bool ok = false;
    const int count = parts[2].toInt(&ok, 10);
    if (!ok || count < 1 || count > kMaxSerialBytes)
        return std::nullopt;
    return count;
}

int Digits(SerialPlace place)
{
    return place == SerialPlace::ProgramMemory ? 4 : 2;
}

QString RangeText(const SerialLocation &location)
{
    const int digits = Digits(location.place);
    return QStringLiteral("%1-%2").arg(FormatHex(location.address, digits),
                                       FormatHex(location.address + location.count - 1, digits));
}

} // namespace

std::optional<SerialLocation> ParseSerialLocation(const QString &text, QString &error)
{
    const QStringList parts = text.trimmed().toLower().split(QLatin1Char(':'));
    if (parts.size() == 1 && parts[0] == QLatin1String("id"))
        return SerialLocation{SerialPlace::IdCode, 0, 4};
    const bool data = parts[0] == QLatin1String("data");
    const bool prog = parts[0] == QLatin1String("prog");
    const std::uint32_t address = parts.size() >= 2 ? ParseHexText(parts[1]).value_or(~0u) : ~0u;
    const auto count = ParseCount(parts);
    if ((!data && !prog) || parts.size() > 3 || address > 0xFFFF || !count) {
        error = QStringLiteral("--serial-at '%1' names no location; %2").arg(text, Expected());
        return std::nullopt;
    }
    return SerialLocation{data ? SerialPlace::DataMemory : SerialPlace::ProgramMemory,
                          static_cast<std::uint16_t>(address), *count};
}

std::optional<QString> SerialLocationRefusal(const SerialLocation &location,
                                             const DeviceRecord &device)
{
    const int last = location.address + location.count - 1;
    const QString where = SerialLocationText(location);
    if (location.place == SerialPlace::DataMemory) {
        if (!device.HasDataMemory)
            return QStringLiteral("the %1 has no data memory").arg(device.DeviceName);
        if (last > DataMaxAddress(device))
            return QStringLiteral("%1 reaches beyond the %2's data memory (00-%3)")
                .arg(where, device.DeviceName, device.DataMaxText);
    }
    if (location.place == SerialPlace::ProgramMemory) {
        if (last > ProgMaxAddress(device))
            return QStringLiteral("%1 reaches beyond the %2's program memory (0000-%3)")
                .arg(where, device.DeviceName, device.ProgMaxText);
        // The factory measured that word for this very chip; a number there would lose it.
        const auto calibration = CalibrationAddress(device);
        if (calibration && *calibration >= location.address && *calibration <= last)
            return QStringLiteral("%1 would replace the %2's calibration word at %3")
                .arg(where, device.DeviceName, FormatHex(*calibration, 4));
    }
    return std::nullopt;
}

std::uint64_t SerialCapacity(const SerialLocation &location)
{
    if (location.place == SerialPlace::IdCode)
        return 0xFFFF;
    if (location.count >= kMaxSerialBytes)
        return ~std::uint64_t{0};
    return (std::uint64_t{1} << (8 * location.count)) - 1;
}

void PlaceSerial(MemoryImage &image, const SerialLocation &location, const DeviceRecord &device,
                 std::uint64_t number)
{
    if (location.place == SerialPlace::IdCode) {
        image.IDCodeText = FormatHex(static_cast<std::uint32_t>(number & 0xFFFF), 4);
        return;
    }
    for (int i = 0; i < location.count; ++i) {
        const auto byte = static_cast<std::uint32_t>((number >> (8 * i)) & 0xFF);
        const int address = location.address + i;
        if (location.place == SerialPlace::DataMemory)
            image.SetDataByteText(address, FormatHex(byte, 2));
        else
            image.SetProgramWordText(
                address, FormatHex(RetlwWord(device, static_cast<std::uint8_t>(byte)), 4));
    }
}

bool ImageHasDataAt(const MemoryImage &image, const SerialLocation &location,
                    const DeviceRecord &device)
{
    if (location.place == SerialPlace::IdCode)
        return ParseHexText(image.IDCodeText) != 0xFFFF;
    const bool data = location.place == SerialPlace::DataMemory;
    const std::uint32_t blank = data ? 0xFF : BlankWord(device);
    for (int i = 0; i < location.count; ++i) {
        const int address = location.address + i;
        const QString cell =
            data ? image.GetDataByteText(address) : image.GetProgramWordText(address);
        if (ParseHexText(cell) != blank)
            return true;
    }
    return false;
}

QString SerialLocationText(const SerialLocation &location)
{
    switch (location.place) {
    case SerialPlace::IdCode:
        return QStringLiteral("the ID code");
    case SerialPlace::DataMemory:
        return QStringLiteral("data ") + RangeText(location);
    case SerialPlace::ProgramMemory:
        return QStringLiteral("prog ") + RangeText(location);
    }
    return {};
}
