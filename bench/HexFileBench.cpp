// How long a whole-chip hex file takes to build and to load: the largest devices hold 8192
// program words, and users load and save such images many times a session.
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "hexfile/HexReader.h"
#include "hexfile/HexWriter.h"

#include <benchmark/benchmark.h>

namespace {

const HexTargets kAllTargets{.Program = true, .Data = true, .Config = true, .IDCode = true};

// Every cell different, so nothing about the file is uniform.
const MemoryImage &FilledImage()
{
    static MemoryImage image;
    static const bool filled = [] {
        for (int a = 0; a < MemoryImage::kProgramWords; ++a)
            image.SetProgramWordText(a, FormatHex(static_cast<uint32_t>(a) & 0x3FFF, 4));
        for (int a = 0; a < MemoryImage::kDataBytes; ++a)
            image.SetDataByteText(a, FormatHex(static_cast<uint32_t>(a), 2));
        image.ConfigWord = 0x3FF1;
        image.IDCodeText = QStringLiteral("1234");
        return true;
    }();
    (void)filled;
    return image;
}

QByteArray WholeChipFile(const DeviceRecord &device)
{
    QByteArray text;
    BuildHexFileText(FilledImage(), device, kAllTargets,
                     HexAddressTexts{"0000", device.ProgMaxText, "00", device.DataMaxText}, text);
    return text;
}

void BuildWholeChip16f877(benchmark::State &state)
{
    const DeviceRecord device = *FindDevice(QStringLiteral("16f877"));
    const MemoryImage &image = FilledImage();
    const HexAddressTexts addresses{"0000", "1FFF", "00", "FF"};
    for (auto _ : state) {
        QByteArray text;
        BuildHexFileText(image, device, kAllTargets, addresses, text);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BuildWholeChip16f877)->Unit(benchmark::kMillisecond);

void LoadWholeChip16f877(benchmark::State &state)
{
    const DeviceRecord device = *FindDevice(QStringLiteral("16f877"));
    const QByteArray file = WholeChipFile(device);
    MemoryImage image;
    for (auto _ : state) {
        const HexLoadResult result = LoadHexBytes(file, image, device, kAllTargets);
        benchmark::DoNotOptimize(&result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * file.size());
}
BENCHMARK(LoadWholeChip16f877)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
