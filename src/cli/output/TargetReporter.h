#pragma once

#include "engine/TargetSequence.h"
#include "hexfile/HexTargets.h"

#include <QString>

class ChipSession;

// The terminal's side of the target sequence: which targets run, and what the user is told
// about each. Results go to stdout (the first difference of a target: "prog 01A0 expected
// 1234 read 3FFF"), the driver's texts to stderr, and the exit code is the worst target's.
class TargetReporter
{
public:
    TargetReporter(ChipSession &session, ChipOperation operation);

    // Whether the target runs: it is one of the chosen targets and no Ctrl-C or SIGTERM has
    // come. A signal ends the sequence after the target it arrived in, whatever it was.
    bool Runs(const HexTargets &targets, ChipTarget target);

    // One target finished. `printFirstDifference` is false where the caller has listed the
    // differences itself (verify --all).
    void Report(const TargetReport &report, bool printFirstDifference = true);

    // A line on stdout for a word that is not what was expected.
    void PrintDifference(ChipTarget target, const QString &address, const QString &expected,
                         const QString &read);

    // The worst outcome so far; after a signal, its exit code (the stop is reported here
    // when no target reported it).
    int ExitCode();

private:
    void ReportFailure(const TargetReport &report, bool printFirstDifference);
    void ReportStop(const QString &what);

    ChipSession &m_session;
    ChipOperation m_operation;
    int m_exitCode = 0;
    QString m_lastFinished; // the last target that ran to its end, for the stop message
    bool m_stopReported = false;
};

// The target as -t names it: prog, data, id, config.
QString TargetOptionName(ChipTarget target);

// Where in the target a word lies, as the terminal lines write it: four digits for program
// memory, two for data memory, "-" for the ID code and the configuration word (one value each).
QString TargetAddressText(ChipTarget target, int address);

// Whether -t (or the device's default) names the target.
bool TargetTicked(const HexTargets &targets, ChipTarget target);
