#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "device/catalogue/CatalogueInUse.h"
#include "device/catalogue/PartWriter.h"

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

// What a line says beyond the sizes: a part not yet written and verified on a real chip
// through the module, and a user's file that replaces a shipped part.
QString Marks(const DeviceRecord &d)
{
    QStringList marks;
    if (d.Part && !d.Part->confirmedOnHardware)
        marks << QStringLiteral("unconfirmed");
    if (d.Part && d.Part->overridesShipped)
        marks << QStringLiteral("override");
    return marks.join(QLatin1Char(' '));
}

// --check FILE...: the files read as a user's own on top of the shipped parts. Every problem
// a line, as compilers write them; exit 2 on any.
int CheckFiles(CliContext &ctx, const QStringList &paths)
{
    if (paths.isEmpty())
        return ctx.UsageError(QStringLiteral("devices --check takes one FILE or more"));
    const std::vector<CatalogueProblem> problems = CheckPartFiles(paths);
    for (const CatalogueProblem &problem : problems)
        ctx.out << problem.Text() << '\n';
    if (problems.empty())
        ctx.out << paths.size() << (paths.size() == 1 ? " file" : " files") << " checked, no "
                << "problems" << '\n';
    return problems.empty() ? CliExit::kOk : CliExit::kUsage;
}

// --show NAME: the part's definition in the file format, to start a user's own part from.
int ShowPart(CliContext &ctx, const QString &name)
{
    const PartDefinition *part = CatalogueInUse().Find(name);
    if (!part)
        return ctx.UsageError(
            QStringLiteral("unknown device '%1'; devices: %2").arg(name, ValidDeviceNamesText()));
    ctx.out << PartDefinitionText(*part);
    return CliExit::kOk;
}

} // namespace

// One line a device: name, family, highest program address, highest data address or "-",
// programming methods, then "unconfirmed" and "override" where they apply.
int RunDevicesCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists the devices in the selector's order: name, family, highest program address, "
        "highest data address (or -), methods, and 'unconfirmed' for a part not yet confirmed "
        "on a real chip, 'override' for a user's part file that replaces a shipped part. "
        "The 16f87 and 16f88 are not offered: every erase and write of theirs must be ended by "
        "End Programming (PIC command 17), which the programmer module cannot send."));
    CliContext::AddGlobalOptions(parser); // accepted, and checked, like everywhere else
    parser.addOption({"check", "Check part files (FILE... as arguments): every problem a line "
                               "as file:line:column; exit 2 on any, 0 when clean."});
    parser.addOption({"show", "Print the part NAME's definition in the part file format.", "NAME"});
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (parser.isSet("check"))
        return CheckFiles(ctx, parser.positionalArguments());
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("devices takes no arguments"));
    if (parser.isSet("show"))
        return ShowPart(ctx, parser.value("show"));

    for (const QString &name : SelectorDeviceNames()) {
        const DeviceRecord d = *FindDevice(name);
        const QString data = d.HasDataMemory ? d.DataMaxText : QStringLiteral("-");
        const QString marks = Marks(d);
        ctx.out << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(d.DeviceName, -8)
                       .arg(FamilyName(d.DeviceFamily), -13)
                       .arg(d.ProgMaxText)
                       .arg(data, -2)
                       .arg(Methods(d))
                << (marks.isEmpty() ? QString() : QLatin1Char(' ') + marks) << '\n';
    }
    ctx.err << "tolm-cli: the 16f87 and 16f88 are not offered: every erase and write of theirs "
               "must be ended by End Programming (PIC command 17), which the programmer "
               "module cannot send"
            << Qt::endl;
    return CliExit::kOk;
}
