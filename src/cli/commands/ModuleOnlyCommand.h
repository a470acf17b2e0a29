#pragma once

#include "cli/bench/PortRun.h"
#include "cli/session/ModulePort.h"

#include <QString>
#include <QStringList>
#include <functional>

class CliContext;

// A command that takes no arguments and talks only to the module (probe, identify): parses the
// options, then runs `work` on every port of -p with the port's trace started. Opening the port
// is left to `work`, since the commands treat a port that will not open differently.
using ModuleWork = std::function<int(CliModulePort &port, PortIo &io)>;
int RunModuleCommand(CliContext &ctx, const QStringList &args, const QString &name,
                     const QString &description, const ModuleWork &work);
