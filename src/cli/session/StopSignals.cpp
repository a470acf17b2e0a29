#include "cli/session/StopSignals.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> g_stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

// SIGINT and SIGTERM: the handlers in force before ours, put back afterwards.
struct sigaction g_previousInt;
struct sigaction g_previousTerm;

extern "C" void NoteSignal(int signal)
{
    // The first signal names the exit code; a second Ctrl-C does not change it.
    int none = 0;
    g_stopSignal.compare_exchange_strong(none, signal);
}

} // namespace

CliStopSignals::CliStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes of the serial port carry on: the word in progress must
    // finish, and the port layer retries calls that return EINTR anyway.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &g_previousInt);
    sigaction(SIGTERM, &action, &g_previousTerm);
}

CliStopSignals::~CliStopSignals()
{
    sigaction(SIGINT, &g_previousInt, nullptr);
    sigaction(SIGTERM, &g_previousTerm, nullptr);
}

int StopSignalReceived()
{
    return g_stopSignal.load();
}

bool StopRequested()
{
    return g_stopSignal.load() != 0;
}

void ClearStopSignal()
{
    g_stopSignal.store(0);
}

void NoteStopSignal(int signal)
{
    NoteSignal(signal);
}

int StopExitCode(int signal)
{
    return 128 + signal;
}
