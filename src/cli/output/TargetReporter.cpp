#include "cli/output/TargetReporter.h"

#include "cli/CliContext.h"
#include "cli/session/ChipSession.h"
#include "cli/session/StopSignals.h"
#include "device/HexText.h"
#include "texts/FailureTexts.h"
#include "texts/TargetTexts.h"

#include <algorithm>

QString TargetOptionName(ChipTarget target)
{
    switch (target) {
    case ChipTarget::ProgramMemory:
        return QStringLiteral("prog");
    case ChipTarget::DataMemory:
        return QStringLiteral("data");
    case ChipTarget::IdCode:
        return QStringLiteral("id");
    case ChipTarget::ConfigWord:
        return QStringLiteral("config");
    }
    return {};
}

TargetReporter::TargetReporter(ChipSession &session, ChipOperation operation)
    : m_session(session), m_operation(operation)
{}

bool TargetReporter::Runs(const HexTargets &targets, ChipTarget target)
{
    return !StopRequested() && TargetTicked(targets, target);
}

bool TargetTicked(const HexTargets &targets, ChipTarget target)
{
    switch (target) {
    case ChipTarget::ProgramMemory:
        return targets.Program;
    case ChipTarget::DataMemory:
        return targets.Data;
    case ChipTarget::IdCode:
        return targets.IDCode;
    case ChipTarget::ConfigWord:
        return targets.Config;
    }
    return false;
}

QString TargetAddressText(ChipTarget target, int address)
{
    if (target == ChipTarget::ProgramMemory)
        return FormatHex(static_cast<std::uint16_t>(address), 4);
    if (target == ChipTarget::DataMemory)
        return FormatHex(static_cast<std::uint16_t>(address) & 0xFF, 2);
    return QStringLiteral("-"); // the ID code and the configuration word are one value each
}

void TargetReporter::PrintDifference(ChipTarget target, const QString &address,
                                     const QString &expected, const QString &read)
{
    m_session.out << TargetOptionName(target) << ' ' << address << " expected " << expected
                  << " read " << read << '\n';
    m_session.out.flush();
}

void TargetReporter::Report(const TargetReport &report, bool printFirstDifference)
{
    m_session.Progress().FinishTarget();
    m_session.CountWords(report.detail.wordsDone);
    const EngineResult &detail = report.detail;
    const QString name = TargetName(report.target);
    if (IsMemoryTarget(report.target) && detail.outcome == EngineOutcome::Closed) {
        // The word loop finished the word in progress and powered the chip off.
        m_session.NoteFailure({.target = report});
        const int lastDone = detail.address - 1;
        ReportStop(QStringLiteral("%1 stopped after %2 %3")
                       .arg(name,
                            report.target == ChipTarget::ProgramMemory ? QStringLiteral("word")
                                                                       : QStringLiteral("byte"),
                            TargetAddressText(report.target, lastDone)));
        return;
    }
    if (!report.succeeded || report.endsSequence) {
        ReportFailure(report, printFirstDifference);
        return;
    }
    const QString failureText = TargetMessage(m_operation, report.target, false);
    if (detail.outcome == EngineOutcome::Aborted) {
        // The desktop treats the user's Abort as an ending of their choosing; here the answer
        // was given in advance and the chip is left half written, so the run has failed.
        m_session.NoteFailure({.target = report});
        m_session.err << "tolm-cli: " << failureText << ": the write ended at "
                      << TargetAddressText(report.target, detail.address) << " (--on-write-error)"
                      << Qt::endl;
        m_exitCode = std::max(m_exitCode, int{CliExit::kFailed});
    } else if (const int skipped = m_session.Host().WriteErrors().TakeSkippedWords()) {
        m_session.NoteFailure({.target = report, .skippedWords = skipped});
        m_session.err << "tolm-cli: " << failureText << ": " << skipped
                      << (skipped == 1 ? " word was" : " words were")
                      << " left as the chip took them (--on-write-error ignore)" << Qt::endl;
        m_exitCode = std::max(m_exitCode, int{CliExit::kFailed});
    } else if (const QString success = TargetMessage(report); !success.isEmpty()) {
        m_session.err << success << Qt::endl; // Verify's and Blank Check's success text
    }
    m_lastFinished = name;
}

void TargetReporter::ReportFailure(const TargetReport &report, bool printFirstDifference)
{
    const EngineResult &detail = report.detail;
    const bool memory = IsMemoryTarget(report.target);
    const bool differs = memory ? (detail.outcome == EngineOutcome::VerifyDifference ||
                                   detail.outcome == EngineOutcome::NotBlank)
                                : !report.readText.isEmpty();
    const QString address = memory ? TargetAddressText(report.target, detail.address) : QString();
    m_session.NoteFailure({.target = report});
    if (differs && printFirstDifference)
        PrintDifference(report.target, memory ? address : TargetAddressText(report.target, 0),
                        report.expectedText, report.readText);

    int exitCode = differs ? int{CliExit::kFailed} : m_session.FailureExitCode();
    if (report.tooWideConfig)
        exitCode = CliExit::kUsage; // refused before anything was sent
    if (ModuleStoppedAnswering(report))
        exitCode = CliExit::kPortError;
    m_session.err << "tolm-cli: " << TargetMessage(report);
    const ExchangeFailure *exchange =
        report.failure ? std::get_if<ExchangeFailure>(&*report.failure) : nullptr;
    if (exitCode == CliExit::kPortError && !m_session.ModuleAnsweredOnce()) {
        // Not a single acknowledge on this port: there is no module to blame a step on.
        m_session.err << ": the programmer module does not answer";
        if (exchange)
            m_session.err << " (" << ExchangeFailureText(*exchange) << ')';
    } else if (const QString why = TargetFailureReason(report); !why.isEmpty()) {
        m_session.err << ": " << why;
    }
    m_session.err << Qt::endl;
    m_exitCode = std::max(m_exitCode, exitCode);
    m_lastFinished = TargetName(report.target);
}

void TargetReporter::ReportStop(const QString &what)
{
    m_session.Progress().Interrupt();
    m_session.err << "tolm-cli: " << what << "; the chip is powered off" << Qt::endl;
    m_stopReported = true;
}

int TargetReporter::ExitCode()
{
    const int signal = StopSignalReceived();
    if (signal == 0)
        return m_exitCode;
    if (!m_stopReported) {
        const QString what = m_lastFinished.isEmpty()
                                 ? QStringLiteral("stopped before the first target")
                                 : QStringLiteral("stopped after the %1").arg(m_lastFinished);
        m_session.NoteFailure({.step = what});
        ReportStop(what);
    }
    return StopExitCode(signal);
}
