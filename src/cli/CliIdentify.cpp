#include "CliCommands.h"
#include "CliContext.h"
#include "CliModulePort.h"
#include "CliPortList.h"
#include "CliPortRun.h"
#include "device/HexText.h"

#include <cstdint>

// The module's identification byte, as the module check before a chip operation asks for it.
int RunIdentifyCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the programmer module's identification byte as two hexadecimal digits; a "
        "module for memory-parity devices answers AA. Sends no power command."));
    CliContext::AddGlobalOptions(parser);
    int exitCode = CliExit::kOk;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("identify takes no arguments"));

    const auto ports = CliPortList(ctx);
    if (!ports)
        return CliExit::kUsage;
    return RunOnPorts(ctx, *ports, [](PortIo &io) {
        CliModulePort port(io.port, io.tracePath, io.err);
        if (!port.StartTrace())
            return CliExit::kFileError;
        if (!port.OpenPort())
            return CliExit::kPortError;
        std::uint8_t id = 0;
        if (!port.Module().ModuleIdentify(id)) {
            io.err << "tolm-cli: the programmer module did not answer the identification"
                   << Qt::endl;
            return CliExit::kPortError;
        }
        io.out << FormatHex(id, 2) << Qt::endl;
        return CliExit::kOk;
    });
}
