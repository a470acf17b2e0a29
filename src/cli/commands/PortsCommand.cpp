// ports: every serial port the system reports, for picking -p and for seeing why a port
// cannot be opened or is slow.
#include "cli/commands/PortsCommand.h"
#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/output/TextTable.h"

namespace {

QString OrDash(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QStringList PortRow(const SerialPortFacts &port)
{
    return {port.name,
            port.path,
            OrDash(port.description),
            OrDash(port.usbId),
            OrDash(port.usbSerial),
            OrDash(port.driver),
            port.latencyTimerMs ? QStringLiteral("%1 ms").arg(*port.latencyTimerMs)
                                : QStringLiteral("-"),
            PortAccessText(port.access, port.path)};
}

} // namespace

QString PortsListText(const std::vector<SerialPortFacts> &ports)
{
    std::vector<QStringList> rows{
        {"port", "path", "description", "usb", "serial", "driver", "latency", "may open"}};
    for (const SerialPortFacts &port : ports)
        rows.push_back(PortRow(port));
    return AlignedTable(rows);
}

int RunPortsCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists every serial port the system reports, one a line: name, path, description, USB "
        "vendor:product and serial number, kernel driver, the USB adapter's latency timer, and "
        "whether this user may open it (and how to be allowed when not)."));
    CliContext::AddGlobalOptions(parser);
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("ports takes no arguments"));
    const std::vector<SerialPortFacts> ports = ScanSerialPorts();
    if (ports.empty()) {
        ctx.err << "tolm-cli: the system reports no serial port" << Qt::endl;
        return CliExit::kOk;
    }
    ctx.out << PortsListText(ports);
    return CliExit::kOk;
}
