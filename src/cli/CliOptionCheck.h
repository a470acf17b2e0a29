#pragma once

#include <QString>
#include <optional>

class CliContext;

// The answer given with --on-write-error to a word that will not program.
struct CliWriteErrorAnswer
{
    enum class Kind { Abort, Ignore, Retry };
    Kind kind = Kind::Abort;
    int retries = 0; // with Retry: how often the word is tried again before aborting
};

// "abort", "ignore" or "retry=N" (any case, N from 1 to kMaxRetries); nothing otherwise.
std::optional<CliWriteErrorAnswer> ParseWriteErrorAnswer(const QString &text);
constexpr int kMaxRetries = 1000;

// Checks the values of the global options that every command accepts, whether or not the
// command uses them: -m, --on-write-error, --prog-range and --data-range. A value that names
// nothing, a reversed range, or a range beyond the selected device's memory is reported as
// a usage error naming what is valid; false then.
bool CheckGlobalOptionValues(CliContext &ctx);
