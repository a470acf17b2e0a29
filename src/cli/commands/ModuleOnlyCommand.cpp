#include "cli/commands/ModuleOnlyCommand.h"

#include "cli/CliContext.h"
#include "cli/options/PortListOption.h"

int RunModuleCommand(CliContext &ctx, const QStringList &args, const QString &name,
                     const QString &description, const ModuleWork &work)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    CliContext::AddGlobalOptions(parser);
    int exitCode = CliExit::kOk;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("%1 takes no arguments").arg(name));

    const auto ports = CliPortList(ctx);
    if (!ports)
        return CliExit::kUsage;
    return RunOnPorts(ctx, *ports, [&work](PortIo &io) {
        CliModulePort port(io.port, io.tracePath, io.err);
        if (!port.StartTrace())
            return CliExit::kFileError;
        return port.FinishTrace(work(port, io));
    });
}
