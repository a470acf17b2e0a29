#include "cli/options/HexInputOptions.h"

#include "cli/CliContext.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"

#include <QCommandLineParser>

namespace {

struct TargetName
{
    const char *name;
    bool HexTargets::*target;
};
const TargetName kTargetNames[] = {
    {"prog", &HexTargets::Program},
    {"data", &HexTargets::Data},
    {"config", &HexTargets::Config},
    {"id", &HexTargets::IDCode},
};

HexTargets DeviceTargets(const DeviceRecord &device)
{
    return {true, device.HasDataMemory != 0, device.NoConfigWord == 0, true};
}

// "SSSS-EEEE" into its two texts; the texts themselves are checked later, all together.
bool SplitRange(const QString &range, QString &start, QString &end)
{
    const QStringList parts = range.split(QLatin1Char('-'));
    if (parts.size() != 2)
        return false;
    start = parts[0];
    end = parts[1];
    return true;
}

} // namespace

std::optional<HexTargets> CliTargets(CliContext &ctx, const DeviceRecord &device)
{
    const HexTargets offered = DeviceTargets(device);
    const auto list = ctx.Value(QStringLiteral("targets"));
    if (!list)
        return offered;
    HexTargets targets;
    for (const QString &item : list->split(QLatin1Char(','))) {
        const TargetName *found = nullptr;
        for (const TargetName &t : kTargetNames) {
            if (item.trimmed().compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
                found = &t;
        }
        if (!found) {
            ctx.UsageError(
                QStringLiteral("unknown target '%1'; use prog, data, config, id").arg(item));
            return std::nullopt;
        }
        if (!(offered.*(found->target))) {
            ctx.UsageError(QStringLiteral("%1 has no target '%2'").arg(device.DeviceName, item));
            return std::nullopt;
        }
        targets.*(found->target) = true;
    }
    return targets;
}

std::optional<HexAddressTexts> CliAddressTexts(CliContext &ctx, const DeviceRecord &device)
{
    HexAddressTexts texts{QStringLiteral("0000"), device.ProgMaxText, QStringLiteral("00"),
                          device.DataMaxText};
    const auto progRange = ctx.Value(QStringLiteral("prog-range"));
    if (progRange && !SplitRange(*progRange, texts.ProgStart, texts.ProgEnd)) {
        ctx.UsageError(QStringLiteral("--prog-range takes SSSS-EEEE, not '%1'").arg(*progRange));
        return std::nullopt;
    }
    const auto dataRange = ctx.Value(QStringLiteral("data-range"));
    if (dataRange && !SplitRange(*dataRange, texts.DataStart, texts.DataEnd)) {
        ctx.UsageError(QStringLiteral("--data-range takes SS-EE, not '%1'").arg(*dataRange));
        return std::nullopt;
    }
    if (!ParseAddressRanges(texts)) {
        ctx.UsageError(QString::fromLatin1(kAddressErrorText));
        return std::nullopt;
    }
    return texts;
}

void ResetImage(MemoryImage &image, const DeviceRecord &device)
{
    image.FillProgramImage(BlankWordText(device));
    image.FillDataImage(QStringLiteral("FF"));
    image.ConfigWord = 0;
    image.IDCodeText = QStringLiteral("FFFF");
}

std::optional<HexLoadResult> CliLoadHexFile(CliContext &ctx, const QString &path,
                                            MemoryImage &image, const DeviceRecord &device,
                                            const HexTargets &targets, int &exitCode)
{
    const HexLoadResult result = LoadHexFile(path, image, device, targets);
    if (!result.FileError.isEmpty()) {
        ctx.err << "tolm-cli: " << result.FileError << Qt::endl;
        exitCode = CliExit::kFileError;
        return std::nullopt;
    }
    // The report as the window shows it, one warning a line: missing records, and where a
    // damaged line stopped the reading.
    for (const QString &line : result.Report.split(QLatin1Char('\n')))
        ctx.err << (result.IsWarning() ? "warning: " : "") << line << Qt::endl;
    return result;
}

void AddSkipOutsideOption(QCommandLineParser &parser)
{
    parser.addOption({kSkipOutsideOption,
                      "Go on without the records that lie outside the device (a file from which "
                      "anything was left out is otherwise refused, exit 3). A damaged file is "
                      "refused all the same."});
}

void AddAllowConflictsOption(QCommandLineParser &parser)
{
    parser.addOption({kAllowConflictsOption,
                      "Use a file whose records give one address two different values, the "
                      "later record winning (such a file is otherwise refused, exit 3)."});
}

int CliRefuseIncompleteFile(CliContext &ctx, const QString &path, const HexLoadResult &loaded,
                            const DeviceRecord &device, CliLeftOut leftOut, bool refuseConflicts)
{
    QString reason;
    if (loaded.StoppedAtLine > 0)
        reason = QStringLiteral("line %1: %2; the file was read only in part, refusing to use it")
                     .arg(loaded.StoppedAtLine)
                     .arg(loaded.StopReason);
    else if (!loaded.FoundAny())
        reason = QStringLiteral("it holds no record for any of the targets; refusing to use it");
    else if (loaded.AnyLeftOut() && leftOut == CliLeftOut::Refuse)
        reason = QStringLiteral("records that lie outside the %1 were left out (see the warnings "
                                "above); refusing to use it unless --%2 is given")
                     .arg(device.DeviceName, QLatin1String(kSkipOutsideOption));
    else if (loaded.AnyConflict() && refuseConflicts)
        reason = QStringLiteral("records give one address two different values (see the "
                                "warnings above); refusing to use it unless --%1 is given")
                     .arg(QLatin1String(kAllowConflictsOption));
    else
        return CliExit::kOk;
    ctx.err << "tolm-cli: " << path << ": " << reason << Qt::endl;
    return CliExit::kFileError;
}

std::optional<CliLoadedInput> CliLoadInput(CliContext &ctx, const QString &path, MemoryImage &image,
                                           int &exitCode)
{
    exitCode = CliExit::kUsage;
    const auto device = ctx.Device();
    if (!device)
        return std::nullopt;
    const auto targets = CliTargets(ctx, *device);
    const auto addresses = CliAddressTexts(ctx, *device);
    if (!targets || !addresses)
        return std::nullopt;
    ResetImage(image, *device);
    const auto loaded = CliLoadHexFile(ctx, path, image, *device, *targets, exitCode);
    if (!loaded)
        return std::nullopt;
    return CliLoadedInput{*device, *targets, *addresses, *loaded};
}
