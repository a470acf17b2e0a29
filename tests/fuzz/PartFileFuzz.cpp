// libFuzzer target: a part file of any contents, as a user's folder may hold. Reading and checking
// must end with parts or problems, never a crash; a part that passes every check must then give
// its device record and map any configuration word both ways.
#include "device/catalogue/PartChecks.h"
#include "device/catalogue/PartConfigMapping.h"
#include "device/catalogue/PartReader.h"
#include "device/catalogue/PartRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const PartFileRead read = ReadPartFile(QStringLiteral("fuzz.toml"), text, true);
    for (const CatalogueProblem &problem : read.problems) {
        if (problem.line < 0 || problem.column < 0)
            std::abort();
    }
    for (const PartDefinition &part : read.parts) {
        if (!CheckPart(part).empty())
            continue;
        const DeviceRecord record = ToDeviceRecord(part);
        if (record.DeviceName != part.name)
            std::abort();
        for (const std::uint16_t word :
             {std::uint16_t{0}, std::uint16_t{0x3FFF}, std::uint16_t{0xFFFF}}) {
            const ConfigControls controls = PartConfigToControls(word, part, ConfigControls{});
            PartControlsToConfig(controls, part, word);
            PartAllCodeProtectWord(part, word, controls);
        }
    }
    return 0;
}
