#include "CliChipSession.h"

#include "CliChipOptions.h"
#include "CliContext.h"
#include "CliHexFile.h"
#include "link/ModuleCheck.h"

std::optional<ChipSetup> ResolveChipSetup(CliContext &ctx)
{
    const auto device = ctx.Device();
    if (!device)
        return std::nullopt;
    const auto targets = CliTargets(ctx, *device);
    if (!targets)
        return std::nullopt;
    const auto addresses = CliAddressTexts(ctx, *device);
    if (!addresses)
        return std::nullopt;
    const auto parallel = CliParallelMethod(ctx, *device);
    if (!parallel)
        return std::nullopt;
    const auto policy = CliWriteErrorPolicy(ctx);
    if (!policy)
        return std::nullopt;
    return ChipSetup{*device,   *targets, *addresses,
                     *parallel, *policy,  ctx.IsSet(QStringLiteral("quiet"))};
}

ChipSession::ChipSession(CliContext &ctx, const ChipSetup &setup, MemoryImage &image)
    : out(ctx.out), err(ctx.err), m_setup(setup), m_port(ctx),
      m_progress(ctx.err, ProgressWanted(setup.quiet)),
      m_host(setup.parallel, setup.addresses, setup.policy, m_progress, ctx.err),
      m_engine(m_port.Module(), m_host, image, m_setup.device)
{}

int ChipSession::Open(bool checkModule)
{
    if (!m_port.OpenPort())
        return CliExit::kPortError;
    if (!m_port.StartTrace())
        return CliExit::kFileError;
    if (!checkModule)
        return CliExit::kOk;
    const ModuleSuitability suitability =
        CheckModuleForDevice(m_setup.device.HasMemoryParity != 0, m_port.Module());
    if (suitability == ModuleSuitability::Suitable)
        return CliExit::kOk;
    err << "tolm-cli: " << ModuleSuitabilityMessage(suitability) << Qt::endl;
    return CliExit::kPortError;
}

int ChipSession::FailureExitCode() const
{
    return m_port.ModuleAnswered() ? CliExit::kFailed : CliExit::kPortError;
}

int ChipFailure(ChipSession &session, const QString &text)
{
    session.Progress().Interrupt();
    const int exitCode = session.FailureExitCode();
    session.err << "tolm-cli: " << text;
    if (exitCode == CliExit::kPortError)
        session.err << ": the programmer module does not answer";
    session.err << Qt::endl;
    return exitCode;
}
