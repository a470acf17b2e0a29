// read, write, verify and blank: the four operations of the desktop over the targets.
#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/chipwork/ChipWork.h"
#include "cli/chipwork/ChipWorkRun.h"
#include "cli/chipwork/FastWrite.h"
#include "cli/options/ConfigControlOptions.h"
#include "cli/options/HexInputOptions.h"
#include "cli/options/PortListOption.h"
#include "cli/production/ProductionRun.h"
#include "cli/production/SerialOptions.h"
#include "cli/session/ChipSession.h"
#include "cli/session/PartWarnings.h"
#include "device/MemoryImage.h"

namespace {

const char kWriteCalOption[] = "write-cal";
const char kAllOption[] = "all";
const char kFastOption[] = "fast";

// Parses a chip command with `fileCount` file arguments and resolves the chip options; the
// four operations run the desktop's module check first. Nothing means: stop with `exitCode`
// (help shown, or a usage error reported).
std::optional<ChipSetup> ParseChipCommand(CliContext &ctx, QCommandLineParser &parser,
                                          const QStringList &args, int fileCount, int &exitCode)
{
    if (!ctx.Parse(parser, args, exitCode))
        return std::nullopt;
    if (parser.positionalArguments().size() != fileCount) {
        exitCode = ctx.UsageError(
            QStringLiteral("%1 takes %2")
                .arg(args.value(0).section(QLatin1Char(' '), 1),
                     fileCount ? QStringLiteral("one file") : QStringLiteral("no arguments")));
        return std::nullopt;
    }
    auto setup = ResolveChipSetup(ctx);
    if (!setup) {
        exitCode = CliExit::kUsage;
        return std::nullopt;
    }
    setup->checkModule = true;
    return setup;
}

// Loads IN (and heeds --skip-outside) for a write or verify into a fresh image; nothing
// (exit 3) when it cannot be read or is refused, before any port is opened.
std::optional<HexLoadResult> LoadInput(CliContext &ctx, const QCommandLineParser &parser,
                                       const ChipSetup &setup, MemoryImage &image, int &exitCode)
{
    const QString path = parser.positionalArguments()[0];
    const bool skipOutside = parser.isSet(kSkipOutsideOption);
    ResetImage(image, setup.device);
    auto loaded = CliLoadHexFile(ctx, path, image, setup.device, setup.targets, exitCode);
    if (!loaded)
        return std::nullopt;
    exitCode = CliRefuseIncompleteFile(ctx, path, *loaded, setup.device,
                                       skipOutside ? CliLeftOut::Warn : CliLeftOut::Refuse,
                                       !parser.isSet(kAllowConflictsOption));
    if (exitCode != CliExit::kOk)
        return std::nullopt;
    return loaded;
}

// write and verify: the input file, the image's checksum (when program memory is a target)
// and a summary line for each port.
ProductionFacts InputFacts(const QString &path, const HexTargets &targets)
{
    return {.file = [path](const QString &) { return path; },
            .checksum = targets.Program,
            .checksumOnlyOnSuccess = false,
            .serial = std::nullopt,
            .summaryLine = true};
}

void AddFastOptions(QCommandLineParser &parser)
{
    parser.addOption({kFastOption, "Flash parts: erase the chip, program only the words that "
                                   "are not blank, then verify every target."});
    AddForceOption(parser);
}

void AddWriteCalOption(QCommandLineParser &parser)
{
    parser.addOption({kWriteCalOption,
                      "Program (compare, blank-check) the calibration word at the top of "
                      "program memory on the 12c508, 12c509 and 12ce674 instead of leaving "
                      "the chip's alone."});
}

} // namespace

int RunReadCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads the targets from the chip into a fresh image and saves OUT over the ranges. "
        "When OUT cannot be written, the image goes to a file in the temporary folder. With "
        "several ports each chip goes to a file of its own: OUT with the port's name added "
        "(board.hex from ttyUSB1 becomes board-ttyUSB1.hex)."));
    CliContext::AddGlobalOptions(parser);
    parser.addPositionalArgument("OUT", "Intel HEX file to write.");
    int exitCode = 0;
    const auto setup = ParseChipCommand(ctx, parser, args, 1, exitCode);
    if (!setup)
        return exitCode;
    MemoryImage image;
    ResetImage(image, setup->device);
    const QString out = parser.positionalArguments()[0];
    const bool severalPorts = setup->ports.size() > 1;
    const auto portFile = [&](const QString &port) {
        return severalPorts ? PerPortPath(out, port) : out;
    };
    const ProductionFacts facts{.file = portFile,
                                .checksum = setup->targets.Program,
                                .checksumOnlyOnSuccess = true,
                                .serial = std::nullopt,
                                .summaryLine = true};
    return RunChipWork(
        ctx, *setup, image,
        [&](ChipSession &session, const QString &port) {
            return ReadChipToFile(session, portFile(port));
        },
        facts);
}

int RunWriteCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Loads IN and writes the targets to the chip. A calibration word the chip carries "
        "(at the top of program memory, or in configuration space) is left as it is. On a "
        "part with a device ID the chip's ID must name the device."));
    CliContext::AddGlobalOptions(parser);
    parser.addPositionalArgument("IN", "Intel HEX file to write.");
    AddWriteCalOption(parser);
    AddFastOptions(parser);
    AddSkipOutsideOption(parser);
    AddAllowConflictsOption(parser);
    AddSerialOptions(parser);
    int exitCode = 0;
    auto setup = ParseChipCommand(ctx, parser, args, 1, exitCode);
    if (!setup)
        return exitCode;
    setup->checkDeviceId = !parser.isSet(kForceOption);
    const bool fast = parser.isSet(kFastOption);
    if (fast) {
        if (const auto refusal = FastWriteRefusal(setup->device, setup->targets, setup->addresses))
            return ctx.UsageError(*refusal);
    }
    MemoryImage image;
    const auto loaded = LoadInput(ctx, parser, *setup, image, exitCode);
    if (!loaded)
        return exitCode;
    const bool writeCal = parser.isSet(kWriteCalOption);
    WarnIfUnconfirmed(ctx, setup->device);
    if (setup->targets.Config)
        WarnIfVppBeforeVdd(
            ctx, setup->device,
            ConfigWordThroughControls(setup->device, image.ConfigWord, loaded->ConfigFound));
    ProductionFacts facts = InputFacts(parser.positionalArguments()[0], setup->targets);
    if (const int code = CliSerialPlan(ctx, parser, *setup, image, facts.serial))
        return code;
    return RunChipWork(
        ctx, *setup, image,
        [&](ChipSession &session, const QString &) {
            return fast ? FastWriteChip(session, *loaded, writeCal)
                        : WriteChipFromImage(session, *loaded, writeCal);
        },
        facts);
}

int RunVerifyCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Loads IN and verifies the chip against it. The first difference of each target goes "
        "to stdout as 'TARGET ADDRESS expected VALUE read VALUE'. The calibration word of the "
        "12c508, 12c509 and 12ce674 is left out unless --write-cal is given."));
    CliContext::AddGlobalOptions(parser);
    parser.addPositionalArgument("IN", "Intel HEX file to compare with.");
    AddWriteCalOption(parser);
    parser.addOption({kAllOption, "Read each memory whole and list every difference (at most "
                                  "100 a target), then 'TARGET differences COUNT'."});
    AddSkipOutsideOption(parser);
    AddAllowConflictsOption(parser);
    AddVerifySerialAtOption(parser);
    int exitCode = 0;
    const auto setup = ParseChipCommand(ctx, parser, args, 1, exitCode);
    if (!setup)
        return exitCode;
    std::optional<SerialLocation> serialAt;
    if (const int code = CliVerifySerialLocation(ctx, parser, *setup, serialAt))
        return code;
    MemoryImage image;
    const auto loaded = LoadInput(ctx, parser, *setup, image, exitCode);
    if (!loaded)
        return exitCode;
    const bool writeCal = parser.isSet(kWriteCalOption);
    const bool all = parser.isSet(kAllOption);
    return RunChipWork(
        ctx, *setup, image,
        [&](ChipSession &session, const QString &) {
            return VerifyChipAgainstImage(session, *loaded, writeCal, all, serialAt);
        },
        InputFacts(parser.positionalArguments()[0], setup->targets));
}

int RunBlankCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Blank-checks the targets. The first word that is not blank goes to stdout as "
        "'TARGET ADDRESS expected VALUE read VALUE'. The factory calibration word of the "
        "12c508, 12c509 and 12ce674 is left out unless --write-cal is given."));
    CliContext::AddGlobalOptions(parser);
    AddWriteCalOption(parser);
    int exitCode = 0;
    const auto setup = ParseChipCommand(ctx, parser, args, 0, exitCode);
    if (!setup)
        return exitCode;
    MemoryImage image;
    const bool checkCal = parser.isSet(kWriteCalOption);
    ProductionFacts facts;
    facts.summaryLine = true;
    return RunChipWork(
        ctx, *setup, image,
        [checkCal](ChipSession &session, const QString &) {
            return BlankCheckChip(session, checkCal);
        },
        facts);
}
