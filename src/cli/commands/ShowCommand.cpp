#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/options/ConfigControlOptions.h"
#include "cli/options/HexInputOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <algorithm>

namespace {

constexpr uint32_t kCellsPerLine = 8;

// "prog 0000: 0001 0002 ..." or "data 00: 3F FF ...": the cells first..last that lie in the
// image, eight a line, each as its text stands.
template <typename CellText>
void PrintCells(QTextStream &out, const char *label, int addressDigits, uint32_t first,
                uint32_t last, uint32_t imageLast, CellText cellText)
{
    const uint64_t end = uint64_t{std::min(last, imageLast)} + 1;
    for (uint64_t line = first; line < end; line += kCellsPerLine) {
        out << label << ' ' << FormatHex(static_cast<uint32_t>(line), addressDigits) << ':';
        for (uint64_t a = line; a < std::min<uint64_t>(line + kCellsPerLine, end); ++a)
            out << ' ' << cellText(static_cast<int>(a));
        out << '\n';
    }
}

} // namespace

// Load From File into a fresh image and print what the memory windows would show.
int RunShowCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Loads IN into a fresh image for the targets and prints it: program words over the "
        "program range (prog ADDR: eight words a line), data bytes over the data range "
        "(data ADDR: eight bytes a line), then 'config WORD' and 'id CODE' when the file "
        "holds them ('config2 WORD' too on a part with a second configuration word), in "
        "upper-case digits, then checksum=XXXX: the sum of every program word "
        "of the device and the configuration word as Write would program it. The load "
        "report (what is missing, where reading stopped and why, what was left out) goes to "
        "stderr as warnings."));
    CliContext::AddGlobalOptions(parser);
    parser.addPositionalArgument("IN", "Intel HEX file to load.");
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return ctx.UsageError(QStringLiteral("show takes one IN file"));
    MemoryImage image;
    const auto input = CliLoadInput(ctx, files[0], image, exitCode);
    if (!input)
        return exitCode;
    const HexTargets &targets = input->Targets;

    const HexAddressRanges ranges = *ParseAddressRanges(input->Addresses);
    if (targets.Program)
        PrintCells(ctx.out, "prog", 4, ranges.ProgStart, ranges.ProgEnd,
                   MemoryImage::kProgramWords - 1,
                   [&image](int a) { return image.GetProgramWordText(a); });
    if (targets.Data)
        PrintCells(ctx.out, "data", 2, ranges.DataStart, ranges.DataEnd,
                   MemoryImage::kDataBytes - 1,
                   [&image](int a) { return image.GetDataByteText(a); });
    if (input->Loaded.ConfigFound)
        ctx.out << "config " << input->Loaded.ConfigEditText << '\n';
    if (input->Loaded.SecondConfigFound)
        ctx.out << "config2 " << FormatHex(image.SecondConfigWord, 4) << '\n';
    if (input->Loaded.IDCodeFound)
        ctx.out << "id " << image.IDCodeText << '\n';
    // The sum the desktop shows for the same file: the configuration word as the option
    // controls build it for Write, which is also what an assembler's checksum counts.
    image.ConfigWord =
        ConfigWordThroughControls(input->Device, image.ConfigWord, input->Loaded.ConfigFound);
    ctx.out << "checksum=" << FormatHex(ImageChecksum(image, input->Device), 4) << '\n';
    ctx.out.flush();
    return CliExit::kOk;
}
