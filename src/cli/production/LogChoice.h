#pragma once

#include "production/LogPlace.h"

#include <optional>

class CliContext;

// The production log a command works with: --no-log, --log (a file or a postgresql:// URI),
// else TOLM_LOG, else [Production] Log in the settings file, else the default file.
struct CliLogChoice
{
    bool none = false; // --no-log
    LogPlace place;
};

// Nothing after a usage error it has reported: --log with --no-log, an empty --log, a URI that
// cannot be used (one with a password is refused, and shown masked).
std::optional<CliLogChoice> CliProductionLog(CliContext &ctx);
