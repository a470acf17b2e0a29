#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/options/ConfigControlOptions.h"
#include "cli/options/HexInputOptions.h"
#include "device/MemoryImage.h"

namespace {

int SaveExitCode(const HexSaveResult &result)
{
    switch (result.Status) {
    case HexSaveStatus::Ok:
        return CliExit::kOk;
    case HexSaveStatus::AddressError:
        return CliExit::kUsage;
    case HexSaveStatus::ConversionError:
        return CliExit::kFailed;
    case HexSaveStatus::FileError:
        return CliExit::kFileError;
    }
    return CliExit::kFailed;
}

} // namespace

// Load From File into a fresh image, then Save To File: the configuration word goes through
// the option controls on its way, exactly as it does in the window.
int RunConvertCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Loads IN into a fresh image for the targets, then saves OUT over the ranges. "
        "Missing records, and records that lie outside the device (left out of OUT), are "
        "warnings; the load report goes to stderr. A file with a damaged line, or with no "
        "record for any target, is refused (exit 3) and OUT is not touched."));
    CliContext::AddGlobalOptions(parser);
    parser.addPositionalArgument("IN", "Intel HEX file to load.");
    parser.addPositionalArgument("OUT", "Intel HEX file to write (replaced as a whole).");
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return ctx.UsageError(QStringLiteral("convert takes IN and OUT"));
    MemoryImage image;
    const auto input = CliLoadInput(ctx, files[0], image, exitCode);
    if (!input)
        return exitCode;
    const DeviceRecord &device = input->Device;
    // OUT is a file, not a chip: records the device has no place for stay out of it, and
    // the warnings above say which.
    if (const int refused =
            CliRefuseIncompleteFile(ctx, files[0], input->Loaded, device, CliLeftOut::Warn))
        return refused;

    if (input->Targets.Config)
        image.ConfigWord =
            ConfigWordThroughControls(device, image.ConfigWord, input->Loaded.ConfigFound);

    const HexSaveResult saved =
        SaveHexFile(files[1], image, device, input->Targets, input->Addresses);
    if (!saved.Ok()) {
        ctx.err << "tolm-cli: cannot save " << files[1] << ": "
                << (saved.Location.isEmpty() ? QString() : saved.Location + QStringLiteral(": "))
                << saved.Message << Qt::endl;
    }
    return SaveExitCode(saved);
}
