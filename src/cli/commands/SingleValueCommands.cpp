// The command lines of erase, protect and the direct accesses (config, cal, id read/write).
#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/chipwork/ChipWork.h"
#include "cli/chipwork/ChipWorkRun.h"
#include "cli/session/ChipSession.h"
#include "cli/session/DeviceIdCheck.h"
#include "cli/session/PartWarnings.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "engine/ChipCommands.h"
#include "engine/DeviceId.h"
#include "texts/ChipTexts.h"

#include <functional>

namespace {

using Offered = bool (*)(const DeviceRecord &);

bool HasConfigWord(const DeviceRecord &d)
{
    return d.NoConfigWord == 0;
}
bool HasSecondConfigWord(const DeviceRecord &d)
{
    return SecondConfigAddress(d).has_value();
}
bool HasCalibrationWord(const DeviceRecord &d)
{
    return CalibrationAddress(d).has_value();
}
// The desktop offers Unprotect only on the parts with data EEPROM: the flash and EEPROM
// parts, whose code protection an erase can lift.
bool CanErase(const DeviceRecord &d)
{
    return d.HasDataMemory != 0;
}
bool Always(const DeviceRecord &)
{
    return true;
}

struct AccessCommand
{
    const char *description;
    const char *argument = nullptr; // the value the command takes ("WORD"), if any
    std::uint32_t maxValue = 0;     // the widest value it takes
    Offered offered = Always;
    const char *notOffered = nullptr; // "%1 has no ..." with the device name
    bool checksDeviceId = false;      // erase and protect: the device ID check, --force
    // Why the value does not fit the device, or empty when it does.
    QString (*valueMisfit)(const DeviceRecord &, std::uint32_t) = nullptr;
    bool checksModule = false; // protect: the desktop's module check of All Code Protect
    // Changes the chip: a part not yet confirmed on hardware is warned about first.
    bool writes = false;
    // detect: whatever -d names, the chip is read as a part with a device ID.
    bool anyDevice = false;
};

// The part detect reads the chip as when -d names one without a device ID: every part with an
// ID is reached the same way (serial mode, Load Configuration, six increments).
std::optional<DeviceRecord> DetectingDevice()
{
    for (const DeviceRecord &d : DevicesInUse()) {
        if (HasDeviceId(d) && d.HasSerial)
            return d;
    }
    return std::nullopt;
}

// A configuration word with bits beyond the chip's width cannot be programmed as given.
QString ConfigWordMisfit(const DeviceRecord &device, std::uint32_t word)
{
    if ((word & ~std::uint32_t{ConfigWordMask(device)}) == 0)
        return {};
    return ConfigTooWideText(word, device);
}

// The value argument: hexadecimal digits only, at most maxValue.
std::optional<std::uint32_t> ParseValue(CliContext &ctx, const AccessCommand &command,
                                        const QString &text)
{
    const auto value = ParseHexText(text);
    if (!value || *value > command.maxValue) {
        ctx.UsageError(
            QStringLiteral("%1: '%2' is not a hexadecimal value from 0 to %3")
                .arg(QString::fromLatin1(command.argument), text, FormatHex(command.maxValue, 1)));
        return std::nullopt;
    }
    return value;
}

// Parses the command, checks the device has what it works on, and runs `work` on a session
// of its own.
int RunAccess(CliContext &ctx, const QStringList &args, const AccessCommand &command,
              const std::function<int(ChipSession &, std::uint32_t)> &work)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(command.description));
    CliContext::AddGlobalOptions(parser);
    if (command.argument)
        parser.addPositionalArgument(command.argument, "Hexadecimal value.");
    if (command.checksDeviceId)
        AddForceOption(parser);
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    const QStringList values = parser.positionalArguments();
    const QString name = args.value(0).section(QLatin1Char(' '), 1);
    if (values.size() != (command.argument ? 1 : 0))
        return ctx.UsageError(command.argument
                                  ? QStringLiteral("%1 takes one %2").arg(name, command.argument)
                                  : QStringLiteral("%1 takes no arguments").arg(name));
    std::uint32_t value = 0;
    if (command.argument) {
        const auto parsed = ParseValue(ctx, command, values[0]);
        if (!parsed)
            return CliExit::kUsage;
        value = *parsed;
    }
    auto setup = ResolveChipSetup(ctx);
    if (!setup)
        return CliExit::kUsage;
    if (command.anyDevice && !HasDeviceId(setup->device)) {
        if (const auto detecting = DetectingDevice()) {
            setup->device = *detecting;
            setup->parallel = false;
        }
    }
    if (!command.offered(setup->device))
        return ctx.UsageError(
            QString::fromLatin1(command.notOffered).arg(setup->device.DeviceName));
    if (command.valueMisfit) {
        const QString misfit = command.valueMisfit(setup->device, value);
        if (!misfit.isEmpty())
            return ctx.UsageError(misfit);
    }
    setup->checkDeviceId = command.checksDeviceId && !parser.isSet(kForceOption);
    setup->checkModule = command.checksModule;
    if (command.writes)
        WarnIfUnconfirmed(ctx, setup->device);
    if (command.valueMisfit == ConfigWordMisfit)
        WarnIfVppBeforeVdd(ctx, setup->device, static_cast<std::uint16_t>(value));
    MemoryImage image;
    return RunChipWork(ctx, *setup, image,
                       [&](ChipSession &session, const QString &) { return work(session, value); });
}

} // namespace

int RunEraseCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Removes the code protection and erases the chip (Unprotect).", nullptr, 0,
                      CanErase, "%1 cannot be erased: only parts with data EEPROM can", true,
                      nullptr, false, true},
                     [](ChipSession &s, std::uint32_t) { return EraseChip(s); });
}

int RunProtectCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Code-protects the whole chip, keeping its other configuration options "
                      "(All Code Protect). Prints the configuration word programmed.",
                      nullptr, 0, HasConfigWord, "%1 has no configuration word", true, nullptr,
                      true, true},
                     [](ChipSession &s, std::uint32_t) { return ProtectChip(s); });
}

int RunConfigReadCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Prints the chip's configuration word (four hex digits, 14 bits).", nullptr,
                      0, HasConfigWord, "%1 has no configuration word"},
                     [](ChipSession &s, std::uint32_t) { return ReadChipConfig(s); });
}

int RunConfigWriteCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Programs WORD as the chip's configuration word and reads it back.", "WORD",
                      0xFFFF, HasConfigWord, "%1 has no configuration word", false,
                      ConfigWordMisfit, false, true},
                     [](ChipSession &s, std::uint32_t v) {
                         return WriteChipConfig(s, static_cast<std::uint16_t>(v));
                     });
}

int RunConfig2ReadCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Prints the chip's second configuration word (four hex digits; 16F88X: "
                      "2008).",
                      nullptr, 0, HasSecondConfigWord, "%1 has no second configuration word"},
                     [](ChipSession &s, std::uint32_t) { return ReadChipSecondConfig(s); });
}

int RunConfig2WriteCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Programs WORD as the chip's second configuration word and reads back its "
                      "implemented bits.",
                      "WORD", 0x3FFF, HasSecondConfigWord, "%1 has no second configuration word",
                      false, nullptr, false, true},
                     [](ChipSession &s, std::uint32_t v) {
                         return WriteChipSecondConfig(s, static_cast<std::uint16_t>(v));
                     });
}

int RunCalReadCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Prints the chip's oscillator calibration value (two hex digits).", nullptr,
                      0, HasCalibrationWord, "%1 has no calibration word"},
                     [](ChipSession &s, std::uint32_t) { return ReadChipCalibration(s); });
}

int RunCalWriteCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Programs the calibration word with value XX (MOVLW XX on the 12c508 "
                      "and 12c509, RETLW XX on the 12ce674 and the 12f629, 12f675, 16f630 and "
                      "16f676).",
                      "XX", 0xFF, HasCalibrationWord, "%1 has no calibration word", false, nullptr,
                      false, true},
                     [](ChipSession &s, std::uint32_t v) {
                         return WriteChipCalibration(s, static_cast<std::uint8_t>(v));
                     });
}

int RunIdReadCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Prints the chip's ID code (four hex digits, one per ID location)."},
                     [](ChipSession &s, std::uint32_t) { return ReadChipId(s); });
}

int RunIdWriteCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Programs the ID code XXXX, one digit per ID location, the first digit "
                      "into the first location (as an assembler's __IDLOCS writes it).",
                      "XXXX", 0xFFFF, Always, nullptr, false, nullptr, false, true},
                     [](ChipSession &s, std::uint32_t v) {
                         return WriteChipId(s, static_cast<std::uint16_t>(v));
                     });
}

int RunDetectCommand(CliContext &ctx, const QStringList &args)
{
    return RunAccess(ctx, args,
                     {"Reads the chip's device ID and prints it (id=09A0), the part it names "
                      "(part=16f877, any part of the catalogue with a device ID, whatever -d "
                      "says) and the silicon revision (revision=0), or 'unknown device ID' "
                      "(exit 1).",
                      nullptr, 0, HasDeviceId, "%1 has no device ID", false, nullptr, false, false,
                      true},
                     [](ChipSession &s, std::uint32_t) { return DetectChip(s); });
}
