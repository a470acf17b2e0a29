// libFuzzer target: the hex reader on any bytes, for several devices and target choices. On
// about one input in four the loaded image is saved over the cells the file reached, the save
// loaded into a fresh image and saved again: the two saves must be equal, or a word was lost
// or changed on its way.
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "hexfile/HexReader.h"
#include "hexfile/HexWriter.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// One device of each family and layout, and 16c71, whose catalogue row puts the ID at 0.
const char *const kDevices[] = {"16f84", "12c508",  "16c57",  "16f877",
                                "16c71", "12ce674", "16c62A", "16f628"};
constexpr std::size_t kDeviceCount = sizeof kDevices / sizeof kDevices[0];

void Reset(MemoryImage &image, const DeviceRecord &device)
{
    image.FillProgramImage(BlankWordText(device));
    image.FillDataImage(QStringLiteral("FF"));
    image.ConfigWord = 0;
    image.IDCodeText = QStringLiteral("FFFF");
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// The lowest and highest cell a load changed, so that the round trip saves what the file
// delivered and not the device's whole blank memory (which would slow the fuzzer tenfold).
class TouchedCells
{
public:
    explicit TouchedCells(MemoryImage &image)
    {
        QObject::connect(&image, &MemoryImage::programCellChanged,
                         [this](int a) { Note(m_program, a); });
        QObject::connect(&image, &MemoryImage::dataCellChanged, [this](int a) { Note(m_data, a); });
    }

    // The touched span within the device's memory, as the writer's address texts.
    HexAddressTexts Ranges(const DeviceRecord &device) const
    {
        const auto [progFirst, progLast] = Clamped(m_program, device.ProgMaxText);
        const auto [dataFirst, dataLast] = Clamped(m_data, device.DataMaxText);
        return {FormatHex(progFirst, 4), FormatHex(progLast, 4), FormatHex(dataFirst, 2),
                FormatHex(dataLast, 2)};
    }

private:
    struct Span
    {
        int first = INT_MAX;
        int last = -1;
    };

    static void Note(Span &span, int address)
    {
        span.first = std::min(span.first, address);
        span.last = std::max(span.last, address);
    }

    static std::pair<uint32_t, uint32_t> Clamped(const Span &span, const QString &maxText)
    {
        const int max = static_cast<int>(ParseHexText(maxText).value_or(0));
        if (span.last < 0 || span.first > max)
            return {0, 0};
        return {static_cast<uint32_t>(span.first), static_cast<uint32_t>(std::min(span.last, max))};
    }

    Span m_program;
    Span m_data;
};

QByteArray Save(const MemoryImage &image, const DeviceRecord &device, const HexTargets &targets,
                const HexAddressTexts &ranges)
{
    QByteArray text;
    // Every cell came from the device's blank word or from a record: all of it converts.
    Require(BuildHexFileText(image, device, targets, ranges, text).Ok());
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first byte chooses the device (bits 0-2) and the targets (bits 3-6), the second the
    // round trip (low two bits clear: one input in four); the rest is the file.
    const std::uint8_t control = data[0];
    const bool roundTrip = (data[1] & 3) == 0;
    const DeviceRecord device = *FindDevice(QString::fromLatin1(kDevices[control % kDeviceCount]));
    // Data memory can be ticked only on a part that has it, in the window and in tolm-cli.
    const HexTargets targets{.Program = (control & 0x08) != 0,
                             .Data = (control & 0x10) != 0 && device.HasDataMemory != 0,
                             .Config = (control & 0x20) != 0,
                             .IDCode = (control & 0x40) != 0};
    const QByteArray file(reinterpret_cast<const char *>(data + 2),
                          static_cast<qsizetype>(size - 2));

    MemoryImage image;
    Reset(image, device);
    const TouchedCells touched(image);
    const HexLoadResult loaded = LoadHexBytes(file, image, device, targets);
    Require(!loaded.Report.isEmpty() && loaded.StoppedAtLine >= 0);
    Require(!loaded.ConfigFound || loaded.ConfigEditText.size() == 4);
    if (!roundTrip || !targets.Any())
        return 0;

    const HexAddressTexts ranges = touched.Ranges(device);
    const QByteArray first = Save(image, device, targets, ranges);
    MemoryImage reloaded;
    Reset(reloaded, device);
    const HexLoadResult again = LoadHexBytes(first, reloaded, device, targets);
    Require(again.StoppedAtLine == 0 && !again.MissingRecords);
    Require(Save(reloaded, device, targets, ranges) == first);
    return 0;
}
