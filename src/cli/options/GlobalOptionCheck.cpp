#include "cli/options/GlobalOptionCheck.h"

#include "cli/options/MethodAndWriteErrorOptions.h"

#include "cli/CliContext.h"
#include "device/HexText.h"
#include "device/catalogue/CatalogueInUse.h"

#include <utility>

namespace {

bool CheckMethod(CliContext &ctx)
{
    const auto method = ctx.Value(QStringLiteral("method"));
    if (!method || method->compare(QLatin1String("parallel"), Qt::CaseInsensitive) == 0 ||
        method->compare(QLatin1String("serial"), Qt::CaseInsensitive) == 0)
        return true;
    ctx.UsageError(QStringLiteral("unknown method '%1'; use parallel or serial").arg(*method));
    return false;
}

bool CheckWriteErrorAnswer(CliContext &ctx)
{
    const auto answer = ctx.Value(QStringLiteral("on-write-error"));
    if (!answer || ParseWriteErrorPolicy(*answer))
        return true;
    ctx.UsageError(QStringLiteral("unknown --on-write-error answer '%1'; use abort, ignore or "
                                  "retry=N (N from 1 to %2)")
                       .arg(*answer)
                       .arg(kMaxRetries));
    return false;
}

// One memory's range option and the device's extent of that memory.
struct RangeOption
{
    QString option;   // "prog-range"
    QString form;     // "SSSS-EEEE"
    QString memory;   // "program memory"
    QString lastText; // the device's highest address; empty when it has no such memory
    int digits;
};

// "the 16f84's program memory is 0000-03FF", or "the 16c54 has no data memory".
QString ExtentText(const RangeOption &r, const DeviceRecord &device)
{
    if (r.lastText.isEmpty())
        return QStringLiteral("the %1 has no %2").arg(device.DeviceName, r.memory);
    return QStringLiteral("the %1's %2 is %3-%4")
        .arg(device.DeviceName, r.memory, QString(r.digits, QLatin1Char('0')), r.lastText);
}

// "SSSS-EEEE" as its two numbers.
std::optional<std::pair<uint32_t, uint32_t>> SplitRange(const QString &range)
{
    const QStringList parts = range.split(QLatin1Char('-'));
    if (parts.size() != 2)
        return std::nullopt;
    const auto first = ParseHexText(parts[0]);
    const auto last = ParseHexText(parts[1]);
    if (!first || !last)
        return std::nullopt;
    return std::pair{*first, *last};
}

bool CheckRange(CliContext &ctx, const RangeOption &r, const std::optional<DeviceRecord> &device)
{
    const auto range = ctx.Value(r.option);
    if (!range)
        return true;
    const auto bounds = SplitRange(*range);
    if (!bounds) {
        ctx.UsageError(
            QStringLiteral("--%1 takes %2 in hexadecimal, not '%3'").arg(r.option, r.form, *range));
        return false;
    }
    const auto [first, last] = *bounds;
    // Without a known device only the order can be checked; a command that needs the device
    // reports the unknown name itself.
    const QString limits = device ? QStringLiteral("; ") + ExtentText(r, *device) : QString();
    const QString given = QStringLiteral("--%1 %2").arg(r.option, *range);
    if (first > last) {
        ctx.UsageError(given + QStringLiteral(" is reversed: it starts above its end") + limits);
        return false;
    }
    if (device && (r.lastText.isEmpty() || last > ParseHexText(r.lastText).value_or(0))) {
        ctx.UsageError(given + QStringLiteral(" reaches beyond the device's memory") + limits);
        return false;
    }
    return true;
}

// The device the options select, without reporting anything: commands that need a device
// report an unknown name themselves.
std::optional<DeviceRecord> QuietDevice(const CliContext &ctx)
{
    const QString name = ctx.DeviceName();
    return SelectorDeviceNames().contains(name) ? FindDevice(name) : std::nullopt;
}

} // namespace

bool CheckGlobalOptionValues(CliContext &ctx)
{
    if (!CheckMethod(ctx) || !CheckWriteErrorAnswer(ctx))
        return false;
    const auto device = QuietDevice(ctx);
    const QString progLast = device ? device->ProgMaxText : QString();
    const QString dataLast = device && device->HasDataMemory ? device->DataMaxText : QString();
    return CheckRange(ctx, {"prog-range", "SSSS-EEEE", "program memory", progLast, 4}, device) &&
           CheckRange(ctx, {"data-range", "SS-EE", "data memory", dataLast, 2}, device);
}
