#include "cli/session/ChipSession.h"
#include "texts/FailureTexts.h"

#include "cli/CliContext.h"
#include "cli/options/HexInputOptions.h"
#include "cli/options/MethodAndWriteErrorOptions.h"
#include "cli/options/PortListOption.h"
#include "device/MemoryImage.h"
#include "link/ModuleCheck.h"

void AddForceOption(QCommandLineParser &parser)
{
    parser.addOption({kForceOption, "Skip the device ID check of the 16f628, 16f628a, 16f876 and "
                                    "16f877 (a chip whose ID cannot be trusted)."});
}

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
    const auto ports = CliPortList(ctx);
    if (!ports)
        return std::nullopt;
    return ChipSetup{*device,   *targets, *addresses,
                     *parallel, *policy,  ctx.IsSet(QStringLiteral("quiet")),
                     *ports};
}

ChipSession::ChipSession(PortIo &io, const ChipSetup &setup, MemoryImage &image)
    : out(io.out), err(io.err), m_io(io), m_setup(setup), m_port(io.port, io.tracePath, io.err),
      m_progress(io.err, ProgressWanted(setup.quiet), io.progressSink),
      m_host(setup.parallel, setup.addresses, setup.policy, m_progress, io.err),
      m_engine(m_port.Module(), m_host, image, m_setup.device)
{}

int ChipSession::Open()
{
    if (!m_port.OpenPort()) {
        NoteFailure(
            {.step = QStringLiteral("COM Port Error"), .systemReason = m_port.OpenErrorText()});
        return CliExit::kPortError;
    }
    if (!m_port.StartTrace()) {
        NoteFailure({.step = QStringLiteral("cannot write the trace file"),
                     .systemReason = m_port.TraceOpenErrorText()});
        return CliExit::kFileError;
    }
    if (m_setup.checkModule) {
        const ModuleSuitability suitability =
            CheckModuleForDevice(m_setup.device.HasMemoryParity != 0, m_port.Module());
        if (suitability != ModuleSuitability::Suitable) {
            err << "tolm-cli: " << ModuleSuitabilityMessage(suitability) << Qt::endl;
            NoteFailure({.step = ModuleSuitabilityMessage(suitability)});
            return CliExit::kPortError;
        }
    }
    return CliExit::kOk;
}

int ChipSession::FinishTrace(int exitCode)
{
    const QString lost = m_port.TraceWriteErrorText();
    const int code = m_port.FinishTrace(exitCode);
    if (!lost.isEmpty())
        NoteFailure(
            {.step = QStringLiteral("the trace file could not be written"), .systemReason = lost});
    return code;
}

bool ChipSession::ModuleAnsweredOnce() const
{
    return m_port.ModuleAnswered();
}

int ChipSession::FailureExitCode() const
{
    return m_port.ModuleAnswered() ? CliExit::kFailed : CliExit::kPortError;
}

int ReportChipFailure(ChipSession &session, const QString &text, const ChipFailure &failure)
{
    session.NoteFailure({.step = text, .cause = failure});
    session.Progress().Interrupt();
    const auto *exchange = std::get_if<ExchangeFailure>(&failure);
    const bool silent = ModuleSilent(failure);
    const int exitCode = silent ? CliExit::kPortError : session.FailureExitCode();
    session.err << "tolm-cli: " << text;
    if (exitCode == CliExit::kPortError && !session.ModuleAnsweredOnce())
        session.err << ": the programmer module does not answer";
    else if (silent)
        session.err << ": the module stopped answering";
    if (exchange)
        session.err << (exitCode == CliExit::kPortError ? " (" : ": ")
                    << ExchangeFailureText(*exchange)
                    << (exitCode == CliExit::kPortError ? ")" : "");
    else
        session.err << ": " << FailureReason(failure);
    session.err << Qt::endl;
    return exitCode;
}
