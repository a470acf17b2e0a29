#include "CliCommands.h"
#include "CliContext.h"
#include "CliModulePort.h"
#include "CliPortList.h"
#include "CliPortRun.h"
#include "link/ModuleCheck.h"

// Connect's presence check: the module's power-off command must be acknowledged.
int RunProbeCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks that a programmer module answers on the port (it also powers the target off). "
        "Prints \"Programmer Device Connected\" or \"Programmer Device NOT Connected\"."));
    CliContext::AddGlobalOptions(parser);
    int exitCode = CliExit::kOk;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("probe takes no arguments"));

    const auto ports = CliPortList(ctx);
    if (!ports)
        return CliExit::kUsage;
    return RunOnPorts(ctx, *ports, [](PortIo &io) {
        CliModulePort port(io.port, io.tracePath, io.err);
        if (!port.StartTrace())
            return CliExit::kFileError;
        // As with Connect, a port that cannot be opened is reported and the check still runs:
        // it then fails at once.
        port.OpenPort();
        const bool present = ModulePresent(port.Module());
        io.out << (present ? kModuleConnectedText : kModuleNotConnectedText) << Qt::endl;
        return present ? CliExit::kOk : CliExit::kPortError;
    });
}
