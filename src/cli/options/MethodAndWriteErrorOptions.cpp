#include "cli/options/MethodAndWriteErrorOptions.h"

#include "cli/CliContext.h"
#include "device/DeviceRecord.h"

std::optional<WriteErrorPolicy> ParseWriteErrorPolicy(const QString &text)
{
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("abort"))
        return WriteErrorPolicy{WriteErrorPolicy::Mode::Abort, 0};
    if (value == QLatin1String("ignore"))
        return WriteErrorPolicy{WriteErrorPolicy::Mode::Ignore, 0};
    const QLatin1String retry("retry=");
    if (!value.startsWith(retry))
        return std::nullopt;
    bool isNumber = false;
    const int count = value.mid(retry.size()).toInt(&isNumber, 10);
    // retry=0 would be abort under another name: at least one more try.
    if (!isNumber || count < 1 || count > kMaxRetries)
        return std::nullopt;
    return WriteErrorPolicy{WriteErrorPolicy::Mode::Retry, count};
}

std::optional<bool> ParseParallelMethod(const QString &text, const DeviceRecord &device,
                                        QString &error)
{
    const QString value = text.trimmed().toLower();
    const bool parallel = value == QLatin1String("parallel");
    if (!parallel && value != QLatin1String("serial")) {
        error = QStringLiteral("unknown method '%1'; use parallel or serial").arg(text);
        return std::nullopt;
    }
    if (parallel ? !device.HasParallel : !device.HasSerial) {
        error = QStringLiteral("%1 cannot be programmed by the %2 method")
                    .arg(device.DeviceName, parallel ? "Parallel" : "Serial");
        return std::nullopt;
    }
    return parallel;
}

std::optional<WriteErrorPolicy> CliWriteErrorPolicy(CliContext &ctx)
{
    const auto given = ctx.Value(QStringLiteral("on-write-error"));
    if (!given)
        return WriteErrorPolicy{};
    const auto policy = ParseWriteErrorPolicy(*given);
    if (!policy)
        ctx.UsageError(QStringLiteral("--on-write-error: '%1' is not abort, ignore or retry=N "
                                      "(N from 1 to %2)")
                           .arg(*given)
                           .arg(kMaxRetries));
    return policy;
}

std::optional<bool> CliParallelMethod(CliContext &ctx, const DeviceRecord &device)
{
    const auto given = ctx.Value(QStringLiteral("method"));
    if (!given)
        return device.HasParallel != 0;
    QString error;
    const auto parallel = ParseParallelMethod(*given, device, error);
    if (!parallel)
        ctx.UsageError(error);
    return parallel;
}
