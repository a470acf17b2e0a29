#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "device/catalogue/CatalogueInUse.h"

namespace {
QString FamilyName(uint8_t family)
{
    switch (family) {
    case DeviceFamily::k16C5x:
        return QStringLiteral("16C5x");
    case DeviceFamily::kEprom14Bit:
        return QStringLiteral("14-bit-EPROM");
    case DeviceFamily::kFlash14Bit:
        return QStringLiteral("14-bit-flash");
    case DeviceFamily::k12C508:
        return QStringLiteral("12C508");
    default:
        return QStringLiteral("-");
    }
}

QString Methods(const DeviceRecord &d)
{
    QStringList methods;
    if (d.HasParallel)
        methods << QStringLiteral("parallel");
    if (d.HasSerial)
        methods << QStringLiteral("serial");
    return methods.join(QLatin1Char(','));
}
} // namespace

// One line a device: name, family, highest program address, highest data address or "-",
// programming methods.
int RunDevicesCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists the devices in the selector's order: name, family, highest program address, "
        "highest data address (or -), methods."));
    CliContext::AddGlobalOptions(parser); // accepted, and checked, like everywhere else
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("devices takes no arguments"));

    for (const QString &name : SelectorDeviceNames()) {
        const DeviceRecord d = *FindDevice(name);
        const QString data = d.HasDataMemory ? d.DataMaxText : QStringLiteral("-");
        ctx.out << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(d.DeviceName, -8)
                       .arg(FamilyName(d.DeviceFamily), -13)
                       .arg(d.ProgMaxText)
                       .arg(data, -2)
                       .arg(Methods(d))
                << '\n';
    }
    return CliExit::kOk;
}
