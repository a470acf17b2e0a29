#pragma once

#include "cli/session/WriteErrorResponder.h"

#include <QString>
#include <optional>

class CliContext;
struct DeviceRecord;

// The global options only the chip commands use, each parsed in one small function.

// "abort", "ignore" or "retry=N" (any case, N from 1 to kMaxRetries); nothing otherwise.
constexpr int kMaxRetries = 1000;
std::optional<WriteErrorPolicy> ParseWriteErrorPolicy(const QString &text);

// "parallel" or "serial" (any case): true for Parallel. Nothing when the text names neither
// or the device lacks that method; `error` then says which.
std::optional<bool> ParseParallelMethod(const QString &text, const DeviceRecord &device,
                                        QString &error);

// --on-write-error as given, else abort; a bad value is a usage error, reported here.
std::optional<WriteErrorPolicy> CliWriteErrorPolicy(CliContext &ctx);

// -m as given, else the method the device preselects (Parallel when it has it); a bad value
// is a usage error, reported here.
std::optional<bool> CliParallelMethod(CliContext &ctx, const DeviceRecord &device);
