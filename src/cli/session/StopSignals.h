#pragma once

// Ctrl-C and SIGTERM during a chip command act like Close in the progress window: the word
// in progress is finished, the chip is powered off, and only then does tolm-cli end. The
// handlers therefore only note the signal; the word loops look at the note between words.
//
// The note is one lock-free atomic, the only kind of state a signal handler may touch
// safely, and it is readable from any thread, so commands running on several ports at once
// all see it.
class CliStopSignals
{
public:
    // Installs the handlers for SIGINT and SIGTERM; the destructor puts the earlier ones back.
    CliStopSignals();
    ~CliStopSignals();
    CliStopSignals(const CliStopSignals &) = delete;
    CliStopSignals &operator=(const CliStopSignals &) = delete;
};

// The signal that asked tolm-cli to stop (SIGINT or SIGTERM), or 0.
int StopSignalReceived();
bool StopRequested();
// Forgets a received signal (for tests that run several commands in one process).
void ClearStopSignal();
// Raises the note as the handler would (for tests).
void NoteStopSignal(int signal);

// The exit code of a run that a signal ended: 130 for SIGINT, 143 for SIGTERM, as shells
// report a program killed by that signal.
int StopExitCode(int signal);
