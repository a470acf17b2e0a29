#pragma once

#include "cli/output/ProgressLine.h"
#include "cli/session/WriteErrorResponder.h"
#include "hexfile/HexWriter.h"
#include "texts/TextEngineHost.h"

#include <QTextStream>

// The engine's host in a terminal. The user's choices (method, address ranges, the answer
// to a word that will not program) come from the command line; the progress window is the
// progress line; Close is a Ctrl-C or SIGTERM. Waits sleep: nothing else needs the thread.
class TerminalEngineHost : public TextEngineHost
{
public:
    TerminalEngineHost(bool parallel, const HexAddressTexts &addresses, WriteErrorPolicy policy,
                       CliProgress &progress, QTextStream &err);

    bool ParallelSelected() const override { return m_parallel; }
    void SetParallelSelected(bool parallel) override { m_parallel = parallel; }
    QString ProgStartText() const override { return m_addresses.ProgStart; }
    QString ProgEndText() const override { return m_addresses.ProgEnd; }
    QString DataStartText() const override { return m_addresses.DataStart; }
    QString DataEndText() const override { return m_addresses.DataEnd; }

    void SetStatus(const QString &text) override;
    void SetProgressMax(int maximum) override { m_progress.SetMaximum(maximum); }
    void StepProgress() override { m_progress.Step(); }
    void SetStartCaption(const QString &) override {} // a terminal never pauses

    bool PauseRequested() const override { return false; }
    bool CloseRequested() const override;

    void ProcessEvents() override {}
    void WaitWhilePaused() override;
    void Delay(int ms) override;

    WriteErrorAnswer AskWriteError(const QString &text, WriteErrorButtons buttons) override;
    void ShowWaiting(bool) override {}

    // The program range for the rest of the run (the verify that leaves the calibration word
    // out narrows it).
    void SetProgEndText(const QString &text) { m_addresses.ProgEnd = text; }
    const HexAddressTexts &Addresses() const { return m_addresses; }

    CliProgress &Progress() { return m_progress; }
    WriteErrorResponder &WriteErrors() { return m_writeErrors; }

private:
    bool m_parallel;
    HexAddressTexts m_addresses;
    WriteErrorResponder m_writeErrors;
    CliProgress &m_progress;
    QTextStream &m_err;
};
