#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/commands/ModuleOnlyCommand.h"
#include "link/ModuleCheck.h"

// Connect's presence check: the module's power-off command must be acknowledged.
int RunProbeCommand(CliContext &ctx, const QStringList &args)
{
    return RunModuleCommand(
        ctx, args, QStringLiteral("probe"),
        QStringLiteral("Checks that a programmer module answers on the port (it also powers the "
                       "target off). Prints \"Programmer Device Connected\" or \"Programmer "
                       "Device NOT Connected\"."),
        [](CliModulePort &port, PortIo &io) {
            // As with Connect, a port that cannot be opened is reported and the check still
            // runs: it then fails at once.
            port.OpenPort();
            const bool present = ModulePresent(port.Module());
            io.out << (present ? kModuleConnectedText : kModuleNotConnectedText) << Qt::endl;
            return present ? CliExit::kOk : CliExit::kPortError;
        });
}
