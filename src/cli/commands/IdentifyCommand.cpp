#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/commands/ModuleOnlyCommand.h"
#include "device/HexText.h"

#include <cstdint>

// The module's identification byte, as the module check before a chip operation asks for it.
int RunIdentifyCommand(CliContext &ctx, const QStringList &args)
{
    return RunModuleCommand(
        ctx, args, QStringLiteral("identify"),
        QStringLiteral("Prints the programmer module's identification byte as two hexadecimal "
                       "digits; a module for memory-parity devices answers AA. Sends no power "
                       "command."),
        [](CliModulePort &port, PortIo &io) {
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
