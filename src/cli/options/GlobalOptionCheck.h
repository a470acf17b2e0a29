#pragma once

#include <QString>
#include <optional>

class CliContext;

// Checks the values of the global options that every command accepts, whether or not the
// command uses them: -m, --on-write-error, --prog-range and --data-range. A value that names
// nothing, a reversed range, or a range beyond the selected device's memory is reported as
// a usage error naming what is valid; false then.
bool CheckGlobalOptionValues(CliContext &ctx);
