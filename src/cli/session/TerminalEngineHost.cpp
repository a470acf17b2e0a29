#include "cli/session/TerminalEngineHost.h"

#include "cli/session/StopSignals.h"
#include "link/ChipWaits.h"

#include <chrono>
#include <thread>

namespace {
// A paused pass never happens in a terminal; should one come, it waits this long without
// spinning the processor.
constexpr int kPausedPassMs = 20;
} // namespace

TerminalEngineHost::TerminalEngineHost(bool parallel, const HexAddressTexts &addresses,
                                       WriteErrorPolicy policy, CliProgress &progress,
                                       QTextStream &err)
    : m_parallel(parallel), m_addresses(addresses), m_writeErrors(policy), m_progress(progress),
      m_err(err)
{}

void TerminalEngineHost::SetStatus(const QString &text)
{
    m_writeErrors.StartTarget();
    m_progress.StartTarget(text);
}

bool TerminalEngineHost::CloseRequested() const
{
    return StopRequested();
}

void TerminalEngineHost::WaitWhilePaused()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(kPausedPassMs));
}

void TerminalEngineHost::Delay(int ms)
{
    // The chip needs at least this long; a sleep to the deadline leaves the processor to
    // others and wakes when the time is up, not a timer slack later (a Serial read of a
    // 16f84 waits 1024 times).
    SleepForChip(ms);
}

WriteErrorAnswer TerminalEngineHost::AskWriteError(const QString &text, WriteErrorButtons buttons)
{
    const WriteErrorAnswer answer = m_writeErrors.Answer(text, buttons);
    m_progress.Interrupt();
    m_err << "tolm-cli: " << text << ": " << m_writeErrors.LastAnswerText() << Qt::endl;
    return answer;
}
